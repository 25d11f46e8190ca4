#pragma once
// Opening documents and web addresses with the system's default program, with the shell's result
// codes: 32 or more when it opened, 2 file not found, 3 folder not found, 31 no program associated.

#include <QString>

class QUrl;

inline constexpr int kAperturaRiuscita = 33;

// Hands `indirizzo` to the system's default program.
int ApriConSistema(const QUrl& indirizzo);

// Opens `file` (relative to `cartella` when that is given) and explains a failure in a message.
// The system opens documents without parameters: `parametri` only appears in the message.
int RunFile(const QString& file, const QString& parametri = {}, const QString& cartella = {});
