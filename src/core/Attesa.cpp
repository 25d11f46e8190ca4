#include "core/Attesa.h"

#include "app/Globali.h"
#include "core/PosizioneFinestre.h"

#include <QApplication>
#include <QWidget>

void InizioAttesa()
{
    gFormAttesa = QApplication::activeWindow();
    if (gFormAttesa)
        gFormAttesa->setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
}

void FineAttesa()
{
    for (QWidget* w : {gFormAttesa.data(), FinestraPrincipale(), QApplication::activeWindow()}) {
        if (w)
            w->unsetCursor();
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QCoreApplication::processEvents();
}
