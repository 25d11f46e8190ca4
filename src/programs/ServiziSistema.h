#pragma once
// What the system does for the Applicativi entries and the exports: starting a program, and opening
// a web or mail address with its default program (browser, mail program).

#include "session/ComandoProgramma.h"

#include <functional>

class QUrl;

// Starts `comando` on its own, with `argomento`, when not empty, added after its arguments as one
// argument, never split. False when it could not start (missing, not runnable).
bool AvviaProgramma(const ComandoProgramma& comando, const QString& argomento = {});

// Hands `indirizzo` to the default program; false when the system could not.
bool ApriIndirizzo(const QUrl& indirizzo);

// Puts `apri` in the place of the system's default program, so tests can record the addresses; an
// empty one puts the system's back.
void ImpostaApriIndirizzo(std::function<bool(const QUrl&)> apri);
