#pragma once
// The headless mode: `tarvel COMMAND ...` runs on the core alone, without a display.

#include <QStringList>

// Runs the command in `argomenti` (the program name excluded) and gives the exit status.
int EseguiRigaComando(const QStringList& argomenti);
