#pragma once
// Where answer pages go besides the file: the program's browser window and the system's default
// program for a saved page. Only the window program has one; without it pages are never shown.

#include "web/ParametriWeb.h"

#include <QString>

// One answer page to show in the program's browser window, with the options of its use.
struct PaginaDaMostrare {
    QString indirizzo;
    QString numero;
    QString tipo; // "pi" VIES, "ex" export, "tr" transit
    OpzioniPagina opzioni;
};

class MostraPagine
{
public:
    virtual ~MostraPagine() = default;

    // Shows the page in the program's browser window, modally (printing it there when asked);
    // false when it could not.
    virtual bool MostraNelBrowser(const PaginaDaMostrare& pagina) = 0;
    // Opens a saved page with the system's default program. Failures are not reported.
    virtual void ApriDocumento(const QString& file) = 0;
};
