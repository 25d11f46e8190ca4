#pragma once
// `tarvel verifica [--json] CODICE...`: each code queried as the single check does.

#include <QStringList>

// `argomenti` are those after "verifica". Exit status: 0 when every code was read, 9 when any
// could not be fetched or read, otherwise 1 when any had a format message; 2 for no code.
int EseguiVerifica(const QStringList& argomenti);
