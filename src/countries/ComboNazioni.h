#pragma once

class Nazioni;
class QComboBox;

// Empties `combo` and lists every row of the table but the last as code, " - ", name; the chosen
// country's code is the first two characters of the item text.
void RiempiComboNazioni(QComboBox* combo, const Nazioni& nazioni);
