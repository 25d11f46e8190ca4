#pragma once
// The window program's display of answer pages: the browser window, and the system's programs.

#include "web/MostraPagine.h"

class Impostazioni;

class MostraPagineFinestra : public MostraPagine
{
public:
    MostraPagineFinestra(Impostazioni& impostazioni, QString dirTemp)
        : m_impostazioni(impostazioni), m_dirTemp(std::move(dirTemp))
    {}

    // Opens the browser window modally; the page's own failures are the window's business.
    bool MostraNelBrowser(const PaginaDaMostrare& pagina) override;
    // With the system's default program, without a word when there is none or the file is missing.
    void ApriDocumento(const QString& file) override;

private:
    Impostazioni& m_impostazioni;
    QString m_dirTemp;
};
