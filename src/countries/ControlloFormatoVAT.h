#pragma once

#include <QString>

// Checks the length of a VAT code's national part against its country's ranges in gNazioni and
// leaves the country's position in gNazCorrente (-1 when none). The code is taken as received:
// every character after the two-letter prefix counts. Empty when the code may be queried,
// otherwise the message (starting with "*** ") to show instead.
QString ControlloFormatoVAT(const QString& numero);
