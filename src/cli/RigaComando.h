#pragma once
// The headless mode: `tarvel COMMAND ...` runs on the core alone, without a display.

#include <QStringList>

// Exit status of a command that was called the wrong way.
inline constexpr int kUscitaUso = 2;

// Runs the command in `argomenti` (the program name excluded) and gives the exit status.
int EseguiRigaComando(const QStringList& argomenti);
