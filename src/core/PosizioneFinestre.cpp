#include "core/PosizioneFinestre.h"

#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"
#include "core/ScalaTwips.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<RettangoliPrincipale> Principale(const ScalaTwips& scala, const QWidget* finestra)
{
    const QWidget* p = FinestraPrincipale();
    if (!p || p == finestra)
        return std::nullopt;
    const auto* mw = qobject_cast<const QMainWindow*>(p);
    const QWidget* cliente = mw && mw->centralWidget() ? mw->centralWidget() : p;
    return RettangoliPrincipale{scala.Twips(p->frameGeometry()), scala.Twips(cliente->size())};
}

// Watches a window until Qt knows its frame: the window manager puts it around the window before the
// window is first painted.
class AttesaCornice : public QObject
{
public:
    AttesaCornice(QWidget* finestra, std::function<void()> azione)
        : QObject(finestra), m_azione(std::move(azione))
    {
        finestra->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override
    {
        const auto* finestra = static_cast<const QWidget*>(oggetto);
        const auto tipo = evento->type();
        if ((tipo == QEvent::Show || tipo == QEvent::Move || tipo == QEvent::Resize ||
             tipo == QEvent::Paint) &&
            finestra->isVisible() && finestra->frameGeometry() != finestra->geometry()) {
            oggetto->removeEventFilter(this);
            // After the event: the window manager's move is still being delivered.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_azione();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_azione;
};

// A window whose layout sets its size once it exists, before its frame is known, is then placed by
// its client area instead of its frame: the layout settles its size first.
void Assesta(QWidget* finestra)
{
    finestra->ensurePolished();
    if (QLayout* layout = finestra->layout())
        layout->activate();
}

bool Normale(const QWidget* finestra)
{
    return !(finestra->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
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

QScreen* SchermoPrincipale()
{
    QWidget* principale = FinestraPrincipale();
    return principale ? principale->screen() : QGuiApplication::primaryScreen();
}

QSize CorniceFinestra(const QWidget* w)
{
    const QSize cornice = w->frameGeometry().size() - w->geometry().size();
    const QWidget* principale = FinestraPrincipale();
    if (!cornice.isNull() || !principale || w->windowFlags().testFlag(Qt::FramelessWindowHint))
        return cornice;
    return principale->frameGeometry().size() - principale->geometry().size();
}

void QuandoCorniceNota(QWidget* finestra, std::function<void()> azione)
{
    new AttesaCornice(finestra, std::move(azione));
}

void ImpostaPosizioneEsterna(QWidget* finestra, QPoint angolo)
{
    Assesta(finestra);
    finestra->move(angolo); // before the window exists, Qt takes this as the frame's corner
}

void ImpostaGeometriaEsterna(QWidget* finestra, const QRect& esterno)
{
    Assesta(finestra);
    finestra->resize(esterno.size() - CorniceFinestra(finestra));
    ImpostaPosizioneEsterna(finestra, esterno.topLeft());
    QuandoCorniceNota(finestra, [finestra, dimensione = esterno.size()] {
        finestra->resize(dimensione - (finestra->frameGeometry().size() - finestra->size()));
    });
}

InfoTaskbar PosizioneTaskbar()
{
    const QScreen* s = SchermoPrincipale();
    if (!s)
        return {};
    return TaskbarDaSchermo(s->geometry(), s->availableGeometry(), s->logicalDotsPerInchX(),
                            s->logicalDotsPerInchY());
}

bool BordoRidimensionabile(const QWidget* finestra)
{
    return finestra->minimumSize() != finestra->maximumSize() &&
           !finestra->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

void RipristinaFinestra(QWidget* finestra, const Impostazioni& impostazioni)
{
    const QScreen* s = SchermoPrincipale();
    if (!s)
        return;
    const ScalaTwips scala(s);
    const QString sezione = finestra->objectName();

    const QSize cornice = CorniceFinestra(finestra);
    const QSize progetto = finestra->testAttribute(Qt::WA_Resized) ? finestra->size() : finestra->sizeHint();
    const DatiFinestra dati{scala.Twips(progetto + cornice), BordoRidimensionabile(finestra),
                            impostazioni.Numero(Chiavi::WState(sezione)),
                            impostazioni.Numero(Chiavi::DimX(sezione)),
                            impostazioni.Numero(Chiavi::DimY(sezione))};
    const Collocazione c = CalcolaCollocazione(scala.Twips(s->geometry().size()), PosizioneTaskbar(),
                                               Principale(scala, finestra), dati);
    if (c.massimizzata) {
        finestra->setWindowState(finestra->windowState() | Qt::WindowMaximized);
        return;
    }
    ImpostaGeometriaEsterna(finestra,
                            QRect(scala.Pixel(c.rettangolo.topLeft()), scala.Pixel(c.rettangolo.size())));
}

void SalvaFinestra(QWidget* finestra, Impostazioni& impostazioni)
{
    const QString sezione = finestra->objectName();
    const bool normale = Normale(finestra);
    QList<std::pair<Chiave, QString>> valori;
    if (normale) {
        const QRect esterno = ScalaTwips(finestra->screen()).Twips(finestra->frameGeometry());
        if (BordoRidimensionabile(finestra)) {
            valori.append({Chiavi::DimX(sezione), QString::number(esterno.width())});
            valori.append({Chiavi::DimY(sezione), QString::number(esterno.height())});
        }
        valori.append({Chiavi::PosX(sezione), QString::number(esterno.left())});
        valori.append({Chiavi::PosY(sezione), QString::number(esterno.top())});
    }
    valori.append({Chiavi::WState(sezione), normale ? u"0"_s : u"2"_s});
    impostazioni.Scrivi(valori);
}

void SalvaPosizioneEsterna(QWidget* finestra, Impostazioni& impostazioni)
{
    if (!Normale(finestra))
        return;
    const ScalaTwips scala(finestra->screen());
    const QRect esterno = scala.Twips(finestra->frameGeometry());
    const PosizioneDaSalvare p =
        PosizioneInChiusura(esterno.topLeft(), scala.Twips(finestra->screen()->geometry().size()));
    const QString sezione = finestra->objectName();
    QList<std::pair<Chiave, QString>> valori;
    if (p.posY)
        valori.append({Chiavi::PosY(sezione), QString::number(*p.posY)});
    if (p.posX)
        valori.append({Chiavi::PosX(sezione), QString::number(*p.posX)});
    valori.append({Chiavi::DimX(sezione), QString::number(esterno.width())});
    valori.append({Chiavi::DimY(sezione), QString::number(esterno.height())});
    impostazioni.Scrivi(valori);
}
