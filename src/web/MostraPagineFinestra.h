#pragma once
// The window program's display of answer pages.

#include "web/MostraPagine.h"

class MostraPagineFinestra : public MostraPagine
{
public:
    // The program's browser window is not part of the program yet: nothing is shown.
    bool MostraNelBrowser(const QString& indirizzo, const QString& numero, const QString& tipo) override;
    void ApriDocumento(const QString& file) override;
};
