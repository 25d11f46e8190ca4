#pragma once
// The options both commands take about their queries: `--salva CARTELLA` saves the answer pages
// there, `--fonte pagina|vies` chooses who answers for VAT numbers.

#include "web/GetHtmPage.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

class Sessione;

class OpzioniPagine
{
public:
    // Adds the two options to `parser`, which must outlive this.
    explicit OpzioniPagine(QCommandLineParser& parser);

    // After parsing: what is wrong with the values given, "" when nothing.
    QString Errore() const;
    // Sets the chosen source in `sessione` and gives the queries' page policy: nothing of the window
    // program's page options, pages saved only where --salva says.
    PoliticaPagine Applica(Sessione& sessione) const;

private:
    const QCommandLineParser& m_parser;
    const QCommandLineOption m_salva;
    const QCommandLineOption m_fonte;
};
