#pragma once
// `tarvel verifica [--json] [--salva CARTELLA] CODICE...`: each code queried as the single check
// does, on the program folder's settings, without showing, printing or saving any page unless
// --salva says where to save them.

#include <QStringList>

class ComandoVerifica
{
public:
    static constexpr char16_t kNome[] = u"verifica";

    // The lines of the program's help that describe the command.
    static QString Aiuto();

    // `argomenti` start with the command's name. Exit status: 0 when every code was read, 9 when
    // any could not be fetched or read, otherwise 1 when any had a format message; 2 for a usage
    // error.
    int Esegui(const QStringList& argomenti);
};
