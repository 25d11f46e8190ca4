#pragma once
// The Applicativi window: the name and the program or address of each of the eleven entries, with a
// browse button per entry. A program field is checked when the focus leaves it, unless the mouse is
// going to "&RIPRISTINA", "&USCITA" or a browse button; "&CONFERMA" checks them all and saves.

#include "core/FinestraLavoro.h"
#include "programs/Applicativi.h"

#include <array>

class QLineEdit;
class QPushButton;

class GesAppl : public FinestraLavoro
{
    Q_OBJECT

public:
    explicit GesAppl(Impostazioni& impostazioni, QWidget* parent = nullptr);

Q_SIGNALS:
    // The main menu's entry `indice` shows `nome`, or is hidden.
    void VoceMenu(int indice, const QString& nome, bool visibile);

protected:
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void CaricaVoci();
    bool FiltraCampo(int n, QEvent* evento);
    void ControllaInSospeso();
    void MostraErrore(const ErroreApplicativo& errore);
    ErroreApplicativo Controlla(int indice) const;
    void Sfoglia(int indice);
    void Conferma();
    bool SaltaControlli(const QObject* pulsante) const;

    std::array<QLineEdit*, 2 * kNumeroApplicativi + 1> m_Txt{}; // 1..11 names, 12..22 programs
    std::array<QPushButton*, kNumeroApplicativi + 1> m_cmdTrova{};
    std::array<QPushButton*, 3> m_Command1{};
    bool m_caricata = false;
    bool m_saltaControlli = false;
    int m_indiceErrore = 0; // the field of the last check's error, 0 when it passed
    int m_inSospeso = 0;    // the program field left, whose check runs once the focus has moved
};
