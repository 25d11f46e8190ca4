#pragma once
// The keys every window shares, whichever control has the focus: F2 presses the exit button,
// Ctrl+F2 offers the forced exit, Ctrl+F8 shows the window's internal name in its caption,
// Ctrl+F opens the file manager at the root folder.

#include <QObject>
#include <QString>

#include <functional>

class QKeyEvent;
class QWidget;

class TastiComuni : public QObject
{
    Q_OBJECT

public:
    // Watches the key presses of `finestra` and its controls for as long as it lives. F2 sends
    // `testoTasto` as typed: "%U" is Alt+U, the access key of the "&USCITA" buttons.
    TastiComuni(QWidget* finestra, const QString& testoTasto);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    bool Gestisci(const QKeyEvent& tasto);

    QWidget* m_finestra;
    QString m_testoTasto;
};

// How the forced exit ends the program: at once, without the main window's closing steps. Tests put
// a recorder in its place.
void ImpostaFineProgramma(std::function<void()> fine);
