#include "core/TastiComuni.h"

#include "core/CartellaProgramma.h"
#include "core/Dialoghi.h"
#include "core/UtilitaFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

std::function<void()>& FineProgramma()
{
    static std::function<void()> fine = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    return fine;
}

// The caption Ctrl+F8 replaced, one for the whole program.
QString gTitoloSalvato;

void UscitaForzata()
{
    const QString domanda = u"FINE DI "_s + QString::fromUtf16(kNomeBaseProgramma) + u'?';
    if (MsgBox(domanda, Pulsanti::SiNo, Icona::Esclamazione, u"USCITA FORZATA"_s, Risposta::No) !=
        Risposta::Si)
        return;
    ChiudiArchiviAperti(); // ending at once skips the destructors that would write them out
    FineProgramma()();
}

// "%X" (Alt+X) presses the window's button whose access key is X, as typing it would.
void InviaTasto(QWidget* finestra, const QString& testo)
{
    if (!testo.startsWith(u'%'))
        return;
    const QKeySequence tasto(u"Alt+"_s + testo.mid(1));
    const QList<QAbstractButton*> pulsanti = finestra->findChildren<QAbstractButton*>();
    for (QAbstractButton* p : pulsanti) {
        if (p->window() == finestra && p->isVisible() && p->isEnabled() &&
            QKeySequence::mnemonic(p->text()) == tasto) {
            p->click();
            return;
        }
    }
}

void ScambiaTitolo(QWidget* finestra)
{
    if (finestra->windowFlags().testFlag(Qt::FramelessWindowHint))
        return;
    const QString titolo = finestra->windowTitle();
    if (titolo.endsWith(u'!')) {
        finestra->setWindowTitle(gTitoloSalvato);
    } else {
        gTitoloSalvato = titolo;
        finestra->setWindowTitle(finestra->objectName() + u" !"_s);
    }
}

} // namespace

void ImpostaFineProgramma(std::function<void()> fine)
{
    FineProgramma() = std::move(fine);
}

TastiComuni::TastiComuni(QWidget* finestra, const QString& testoTasto)
    : QObject(finestra), m_finestra(finestra), m_testoTasto(testoTasto)
{
    // The application sees a key before the focused control does.
    qApp->installEventFilter(this);
}

bool TastiComuni::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (evento->type() != QEvent::KeyPress || !oggetto->isWidgetType() ||
        static_cast<QWidget*>(oggetto)->window() != m_finestra)
        return false;
    return Gestisci(*static_cast<QKeyEvent*>(evento));
}

bool TastiComuni::Gestisci(const QKeyEvent& tasto)
{
    const bool ctrl = tasto.modifiers().testFlag(Qt::ControlModifier);
    switch (tasto.key()) {
    case Qt::Key_F:
        if (!ctrl)
            return false;
        // Nothing happens where no file manager can be opened.
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::rootPath()));
        return true;
    case Qt::Key_F2:
        if (ctrl)
            UscitaForzata();
        else
            InviaTasto(m_finestra, m_testoTasto);
        return true;
    case Qt::Key_F8:
        if (!ctrl)
            return false;
        ScambiaTitolo(m_finestra);
        return true;
    default:
        return false;
    }
}
