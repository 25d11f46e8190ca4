#pragma once
// The window program's display of answer pages: the browser window, and the system's programs.

#include "web/ModuloBrowser.h"
#include "web/MostraPagine.h"

class Impostazioni;

class MostraPagineFinestra : public MostraPagine
{
public:
    // The browser module is looked for in `cartelleModulo` when the first page is shown.
    MostraPagineFinestra(Impostazioni& impostazioni, QString dirTemp,
                         QStringList cartelleModulo = CartelleModuloBrowser())
        : m_impostazioni(impostazioni), m_dirTemp(std::move(dirTemp)),
          m_cartelleModulo(std::move(cartelleModulo))
    {}

    // Opens the browser window modally; the page's own failures are the window's business. Without
    // the browser module the page opens in the system's browser instead, and the first time the
    // user is told why.
    bool MostraNelBrowser(const PaginaDaMostrare& pagina) override;
    // With the system's default program, without a word when there is none or the file is missing.
    void ApriDocumento(const QString& file) override;

private:
    FabbricaBrowser* Browser();

    Impostazioni& m_impostazioni;
    QString m_dirTemp;
    QStringList m_cartelleModulo;
    bool m_moduloCercato = false;
    FabbricaBrowser* m_browser = nullptr;
};
