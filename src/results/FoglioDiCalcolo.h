#pragma once
// Starting the spreadsheet program on an exported file.

#include <QString>

// `programma` is the spreadsheet's program with its arguments, split as a shell would; `file` is
// appended as one more argument, never split. When it cannot start, the user reads the command line
// followed by "  NON TROVATO". False then.
bool AvviaFoglioDiCalcolo(const QString& programma, const QString& file);
