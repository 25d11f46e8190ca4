#pragma once
// The colour window of the results grid: one label per validity, painted in its row colour; a click
// on a label picks a new colour, which the grid uses at once. "&CONFERMA" also keeps the colours of
// the labels shown in the settings file; "&ANNULLA" (and F2) keep them for this run only.

#include <QDialog>

#include <array>

class QLabel;
class Sessione;

class ColorTdbg : public QDialog
{
    Q_OBJECT

public:
    explicit ColorTdbg(Sessione& sessione, QWidget* parent = nullptr);

    // Set before the window is shown: its top-left corner in twips, its caption, and the label
    // texts, each followed by ",".
    void plPosY(double twips) { m_posY = twips; }
    void plPosX(double twips) { m_posX = twips; }
    void plTitolo(const QString& titolo) { setWindowTitle(titolo); }
    void plTabLb(const QString& testi) { m_testi = testi; }

    void setVisible(bool visibile) override;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void Carica();
    void Scegli(int k);
    void Conferma();

    Sessione& m_sessione;
    double m_posX = 0;
    double m_posY = 0;
    QString m_testi;
    bool m_caricata = false;
    int m_mostrate = 0;
    std::array<QLabel*, 4> m_lbColor{};
};
