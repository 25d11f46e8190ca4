#pragma once
// Lists the printers as a column of option buttons and reports the one picked. It only reports a
// name: the printer in use does not change.

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QPushButton;
class QRadioButton;

class SelPrint : public QDialog
{
    Q_OBJECT

public:
    explicit SelPrint(QWidget* parent = nullptr);

    // Set before the window is shown. An empty name preselects the printer in use.
    void plPrinter(const QString& nome) { m_stampante = nome; }
    void plTopForm(std::int16_t twips) { m_top = twips; }
    void plLeftForm(std::int16_t twips) { m_left = twips; }
    // The printer picked, or "" when the user cancelled.
    QString pgPrinter() const { return m_stampante; }

    void setVisible(bool visibile) override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    void Carica();
    void Colloca();

    QString m_stampante;
    std::int16_t m_top = 0;
    std::int16_t m_left = 0;
    int m_fondoElenco = 0; // twips, inside the frame
    bool m_caricata = false;
    QGroupBox* m_frame;
    QList<QRadioButton*> m_opzioni;
    QPushButton* m_conferma;
    QPushButton* m_annulla;
};
