#pragma once
// The country table, section NAZIONI of the settings file.

#include <QString>

// Writes the default table when CODICI is missing or empty, then fills gNazioni in CODICI order:
// one row per comma-separated element, the one after the last comma included (never read, so
// normally an empty code that no number matches).
void CaricaNazioni();

// Position in gNazioni of the first row whose code is exactly `codice`, or -1.
int PosizioneNazione(const QString& codice);
