#pragma once
// Starting the spreadsheet program on an exported file.

#include "session/ComandoProgramma.h"

// Starts `foglio` with `file` appended as one more argument, never split. When it cannot start, the
// user reads the command line followed by "  NON TROVATO". False then.
bool AvviaFoglioDiCalcolo(const ComandoProgramma& foglio, const QString& file);
