#pragma once

class QComboBox;

// Empties `combo` and lists every row of gNazioni but the last as code, " - ", name; the chosen
// country's code is the first two characters of the item text.
void RiempiComboNazioni(QComboBox* combo);
