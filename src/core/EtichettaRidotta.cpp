#include "core/EtichettaRidotta.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

EtichettaRidotta::EtichettaRidotta(const QString& progetto, QWidget* parent)
    : QLabel(progetto, parent), m_progetto(progetto)
{
    setTextFormat(Qt::PlainText);
}

int EtichettaRidotta::LarghezzaUtile() const
{
    return contentsRect().width() - 2 * margin();
}

QSize EtichettaRidotta::sizeHint() const
{
    const int bordi = 2 * (frameWidth() + margin());
    const int larghezza = fontMetrics().horizontalAdvance(m_progetto) + bordi;
    return {qMax(larghezza, minimumWidth()), fontMetrics().height() + bordi};
}

QSize EtichettaRidotta::minimumSizeHint() const
{
    return sizeHint();
}

bool EtichettaRidotta::event(QEvent* evento)
{
    if (evento->type() == QEvent::ToolTip && toolTip().isEmpty() && !text().isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(evento)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(evento);
}

void EtichettaRidotta::paintEvent(QPaintEvent* evento)
{
    if (fontMetrics().horizontalAdvance(text()) <= LarghezzaUtile()) {
        QLabel::paintEvent(evento); // whole, and selectable where the label allows it
        return;
    }
    QPainter pittore(this);
    drawFrame(&pittore);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString ridotto = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&pittore, area, int(alignment()), palette(), isEnabled(), ridotto,
                          foregroundRole());
}
