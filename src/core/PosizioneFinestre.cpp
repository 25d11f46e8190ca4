#include "core/PosizioneFinestre.h"

#include "app/Globali.h"
#include "core/FileIni.h"
#include "core/ScalaTwips.h"
#include "core/Valori.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

QScreen* SchermoPrincipale()
{
    QWidget* principale = FinestraPrincipale();
    return principale ? principale->screen() : QGuiApplication::primaryScreen();
}

std::optional<RettangoliPrincipale> Principale(const ScalaTwips& scala, const QWidget* finestra)
{
    const QWidget* p = FinestraPrincipale();
    if (!p || p == finestra)
        return std::nullopt;
    const auto* mw = qobject_cast<const QMainWindow*>(p);
    const QWidget* cliente = mw && mw->centralWidget() ? mw->centralWidget() : p;
    return RettangoliPrincipale{scala.Twips(p->frameGeometry()), scala.Twips(cliente->size())};
}

} // namespace

QWidget* FinestraPrincipale()
{
    const QWidgetList finestre = QApplication::topLevelWidgets();
    for (QWidget* w : finestre) {
        if (w->objectName() == u"Startup"_s)
            return w;
    }
    return nullptr;
}

QSize CorniceFinestra(const QWidget* w)
{
    const QSize cornice = w->frameGeometry().size() - w->geometry().size();
    const QWidget* principale = FinestraPrincipale();
    if (!cornice.isNull() || !principale || w->windowFlags().testFlag(Qt::FramelessWindowHint))
        return cornice;
    return principale->frameGeometry().size() - principale->geometry().size();
}

BordoTaskbar PosizioneTaskbar()
{
    gTaskbar = {};
    if (const QScreen* s = SchermoPrincipale())
        gTaskbar = TaskbarDaSchermo(s->geometry(), s->availableGeometry(), s->logicalDotsPerInchX(),
                                    s->logicalDotsPerInchY());
    return gTaskbar.bordo;
}

bool BordoRidimensionabile(const QWidget* finestra)
{
    return finestra->minimumSize() != finestra->maximumSize() &&
           !finestra->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

void RipristinaFinestra(QWidget* finestra)
{
    const QScreen* s = SchermoPrincipale();
    if (!s)
        return;
    const ScalaTwips scala(s);
    const QString sezione = finestra->objectName();
    auto valore = [&](const QString& chiave) { return ValNum(LeggiIni(gFileIni, sezione, chiave)); };

    const QSize cornice = CorniceFinestra(finestra);
    const QSize progetto = finestra->testAttribute(Qt::WA_Resized) ? finestra->size() : finestra->sizeHint();
    const DatiFinestra dati{scala.Twips(progetto + cornice), BordoRidimensionabile(finestra),
                            valore(u"WSTATE"_s), valore(u"DIMX"_s), valore(u"DIMY"_s)};
    PosizioneTaskbar();
    const Collocazione c =
        CalcolaCollocazione(scala.Twips(s->geometry().size()), gTaskbar, Principale(scala, finestra), dati);
    if (c.massimizzata) {
        finestra->setWindowState(finestra->windowState() | Qt::WindowMaximized);
        return;
    }
    finestra->resize(scala.Pixel(c.rettangolo.size()) - cornice);
    finestra->move(scala.Pixel(c.rettangolo.topLeft()));
}

void SalvaFinestra(QWidget* finestra)
{
    const QString sezione = finestra->objectName();
    const bool normale =
        !(finestra->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    if (normale) {
        const ScalaTwips scala(finestra->screen());
        const QRect esterno = scala.Twips(finestra->frameGeometry());
        if (BordoRidimensionabile(finestra)) {
            ScriviIni(gFileIni, sezione, u"DIMX"_s, QString::number(esterno.width()));
            ScriviIni(gFileIni, sezione, u"DIMY"_s, QString::number(esterno.height()));
        }
        ScriviIni(gFileIni, sezione, u"POSX"_s, QString::number(esterno.left()));
        ScriviIni(gFileIni, sezione, u"POSY"_s, QString::number(esterno.top()));
    }
    ScriviIni(gFileIni, sezione, u"WSTATE"_s, normale ? u"0"_s : u"2"_s);
}
