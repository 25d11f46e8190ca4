#pragma once
// The one reading of a program text ("localc --calc", "/opt/my prog/run", "gedit \"a b.txt\""),
// shared by the launch and by the check of the Applicativi window.

#include "session/ComandoProgramma.h"

#include <optional>

// A web or mail address ("www...", "http...", "mail..."): it goes to its default program and is
// never looked up as a program.
bool IndirizzoWebOPosta(const QString& testo);

// The words of `testo` as a shell splits them: blanks separate, single quotes keep everything,
// double quotes keep everything but \" and \\, a backslash outside quotes keeps the next character.
// Nothing when a quote never closes.
std::optional<QStringList> DividiComando(const QString& testo);

// The whole text when it names an existing file (paths with spaces need no quotes); otherwise the
// first word, when it is an existing file or a name found on PATH, with the other words as its
// arguments. Nothing when neither holds, or a quote never closes.
std::optional<ComandoProgramma> RisolviProgramma(const QString& testo);
