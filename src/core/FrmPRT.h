#pragma once
// The print options: the printer in use, the kind of print and the preview settings. The choices
// stay in memory for the next opening and are written to the STAMPA section on confirmation.

#include "core/FinestraLavoro.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

class FrmPRT : public FinestraLavoro
{
    Q_OBJECT

public:
    explicit FrmPRT(Impostazioni& impostazioni, QWidget* parent = nullptr);

    // Set before the window is shown: top and left in twips; both zero place it as saved.
    void plTopForm(const QString& twips);
    void plLeftForm(const QString& twips);

protected:
    void Colloca() override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void Modifica();
    void ScegliStampante();
    void Conferma();

    double m_top = 0;
    double m_left = 0;
    QComboBox* m_tipo;
    QLineEdit* m_stampante;
    QGroupBox* m_anteprima;
    QComboBox* m_zoom;
    std::array<QRadioButton*, 8> m_pagine{};
};
