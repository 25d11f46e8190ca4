#pragma once
// What the browser module offers the program: the browser window `FrmWeb`. The module alone links
// Qt WebEngine, so the program starts without it and loads it when the first answer page is shown.

#include "web/MostraPagine.h"

#include <QDialog>
#include <QtPlugin>

#include <memory>

class Impostazioni;

class FabbricaBrowser
{
public:
    virtual ~FabbricaBrowser() = default;

    // The browser window for `pagina`, not shown yet. PDF prints go to `dirTemp` when the use has no
    // save folder.
    virtual std::unique_ptr<QDialog> CreaFrmWeb(Impostazioni& impostazioni, const PaginaDaMostrare& pagina,
                                                const QString& dirTemp, QWidget* parent) = 0;
};

#define FabbricaBrowser_iid "it.tarvel.FabbricaBrowser/1"
Q_DECLARE_INTERFACE(FabbricaBrowser, FabbricaBrowser_iid)
