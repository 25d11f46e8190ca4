#pragma once
// A one-line label whose size does not follow its text, so a window keeps its size whatever an
// answer holds: a text too long for it is cut with "…" where it is painted, and its tooltip shows it
// whole. text() always gives the whole text.

#include <QLabel>

class EtichettaRidotta : public QLabel
{
public:
    // The label asks for the width of `progetto`, its design text, or for its minimum width when
    // that is larger.
    EtichettaRidotta(const QString& progetto, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    int LarghezzaUtile() const;

    QString m_progetto;
};
