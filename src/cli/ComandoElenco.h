#pragma once
// `tarvel elenco FILE [--come file|stampa|db] [--salva CARTELLA] [--fonte pagina|vies]`: the list check of
// the window program, headless, on the program folder's settings and database: EsitiDaEle.txt in the program
// folder, the answers stored and merged. Progress goes to standard error, the result to standard
// output; no page is shown, printed or opened, and pages are saved only where --salva says.

#include <QStringList>

class ComandoElenco
{
public:
    static constexpr char16_t kNome[] = u"elenco";

    // The lines of the program's help that describe the command.
    static QString Aiuto();

    // `argomenti` start with the command's name. Exit status: 0 the end of the list was reached, 9 an
    // answer could not be had, 130 stopped by Ctrl+C, 1 no list, no output file, another run going
    // or a failed merge, 2 a usage error.
    int Esegui(const QStringList& argomenti);
};
