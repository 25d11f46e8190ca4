#include "core/Attesa.h"

#include "core/PosizioneFinestre.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

// The window whose pointer InizioAttesa turned busy.
QPointer<QWidget> gFormAttesa;

} // namespace

void InizioAttesa()
{
    gFormAttesa = QApplication::activeWindow();
    if (gFormAttesa)
        gFormAttesa->setCursor(Qt::WaitCursor);
}

void FineAttesa()
{
    for (QWidget* w : {gFormAttesa.data(), FinestraPrincipale(), QApplication::activeWindow()}) {
        if (w)
            w->unsetCursor();
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
