#pragma once
// The country window: looks up a country of the table by its code or from a list and shows its
// name, its accepted lengths and its flag; the values typed for a new code are checked field by
// field. Nothing is stored: the table changes only through the settings file.

#include "core/FinestraLavoro.h"

#include <array>

class Nazioni;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class GesNaz : public FinestraLavoro
{
    Q_OBJECT

public:
    GesNaz(Impostazioni& impostazioni, const Nazioni& nazioni, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    // Shows the country of `codice` and returns true, or returns false and leaves the fields as they
    // are; an empty code is true and shows nothing.
    bool CercaNazione(const QString& codice);
    // Leaves the index of the field in error, or 0, in m_indiceErrore.
    void ControllaCampo(int indice);
    void MostraErrore();
    void ApriElenco();
    void PulisciCampi();
    // The box before and after the one entered, going round from the code to the last length.
    int CampoPrecedente() const;
    int CampoSuccessivo() const;
    void SceltaDallElenco();

    bool EventoCasella(int indice, QEvent* evento);
    bool EventoElenco(QEvent* evento);
    bool TastoCasella(int indice, const QKeyEvent& tasto);

    const Nazioni& m_nazioni;

    std::array<QLineEdit*, 9> m_Txt{}; // 1..8: code, name, then minimum and maximum of three ranges
    QComboBox* m_cbNazioni;
    QLabel* m_PctFlag;
    std::array<QPushButton*, 2> m_Command1{}; // exit, confirm

    int m_campo = 0;        // the field last entered: 0 the list, 1 to 8 the boxes
    bool m_salta = false;   // the next exit from a box is not checked
    bool m_riempie = false; // the program is writing the fields: a full box does not move on
    int m_indiceErrore = 0; // the box in error, 0 none
};
