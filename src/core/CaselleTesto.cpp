#include "core/CaselleTesto.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

// Longer than any field that selects its text on entry.
constexpr int kLunghezzaSelezione = 110;

class FiltroCaratteri : public QObject
{
public:
    FiltroCaratteri(QWidget* controllo, char16_t (*regola)(char16_t)) : QObject(controllo), m_regola(regola)
    {}

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override
    {
        if (evento->type() != QEvent::KeyPress)
            return false;
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        switch (tasto->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false;
        default:
            break;
        }
        if (tasto->text().isEmpty())
            return false;
        const char16_t carattere = tasto->text().at(0).unicode();
        const char16_t nuovo = m_regola(carattere);
        if (nuovo == carattere)
            return false;
        if (nuovo != 0) {
            QKeyEvent sostituto(QEvent::KeyPress, tasto->key(), tasto->modifiers(), QString(QChar(nuovo)),
                                tasto->isAutoRepeat(), tasto->count());
            QCoreApplication::sendEvent(oggetto, &sostituto);
        }
        return true;
    }

private:
    char16_t (*m_regola)(char16_t);
};

} // namespace

void SelezionaTesto(QLineEdit* casella)
{
    // After the events already queued: the click that brought the focus would undo the selection.
    QTimer::singleShot(0, casella, [casella] { casella->setSelection(0, kLunghezzaSelezione); });
}

char16_t SoloCifre(char16_t carattere)
{
    switch (carattere) {
    case 8:  // Backspace
    case 3:  // copy
    case 22: // paste
    case 18:
        return carattere;
    default:
        return carattere >= u'0' && carattere <= u'9' ? carattere : 0;
    }
}

char16_t Maiuscolo(char16_t carattere)
{
    return carattere >= u'a' && carattere <= u'z' ? char16_t(carattere - u'a' + u'A') : carattere;
}

void FiltraCaratteri(QWidget* controllo, char16_t (*regola)(char16_t))
{
    controllo->installEventFilter(new FiltroCaratteri(controllo, regola));
}

void TabAutomatico(QLineEdit* casella)
{
    if (casella->maxLength() > 0 && casella->text().size() == casella->maxLength()) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(casella, &tab);
    }
}
