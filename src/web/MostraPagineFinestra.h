#pragma once
// The window program's display of answer pages: the browser window, and the system's programs.

#include "web/MostraPagine.h"

class MostraPagineFinestra : public MostraPagine
{
public:
    // Opens the browser window modally; the page's own failures are the window's business.
    bool MostraNelBrowser(const QString& indirizzo, const QString& numero, const QString& tipo) override;
    void ApriDocumento(const QString& file) override;
};
