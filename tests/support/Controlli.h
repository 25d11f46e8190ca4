#pragma once
// Finding and driving a window's controls in widget tests.

#include <QAbstractButton>
#include <QtTest>

// The control named `nome`; a missing one ends the test run, as no later check could pass.
template <typename T> T* Controllo(const QWidget& finestra, const QString& nome)
{
    T* controllo = finestra.findChild<T*>(nome);
    if (!controllo)
        qFatal("missing control %s", qPrintable(nome));
    return controllo;
}

// A click on the mark of a check box or option button, which takes clicks there and on its caption only.
inline void CliccaSegno(QAbstractButton* pulsante)
{
    QTest::mouseClick(pulsante, Qt::LeftButton, {}, QPoint(6, pulsante->height() / 2));
}

inline bool Mostra(QWidget& finestra)
{
    finestra.show();
    return QTest::qWaitForWindowExposed(&finestra);
}
