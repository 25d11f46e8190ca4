#pragma once
// The web options of the current use: show, print or save answer pages, and how pages are shown.
// Printing and saving exclude each other.

#include "core/FinestraLavoro.h"

#include <array>

struct ParametriWeb;

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

class GWebPar : public FinestraLavoro
{
    Q_OBJECT

public:
    // Edits the options of `uso` in `parametri`, which "&CONFERMA" also saves.
    GWebPar(Impostazioni& impostazioni, ParametriWeb& parametri, int uso, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void RegolaCheck(int k);
    void MostraCartella(const QString& cartella);
    void ScegliCartella();
    void ApriStampanti();
    void Conferma();

    ParametriWeb& m_parametri;
    int m_uso;
    QString m_cartella;
    std::array<QCheckBox*, 3> m_check{};
    std::array<QRadioButton*, 2> m_skede{};
    QGroupBox* m_frmIEskede;
    QGroupBox* m_frmPrint;
    QGroupBox* m_frmPath;
    QLabel* m_lbPrinter;
    QLabel* m_lbPath;
    QCheckBox* m_chiedi;
};

// The title of a query use (0, 1 or 2).
QString TitoloUso(int uso);
