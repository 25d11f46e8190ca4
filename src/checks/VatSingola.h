#pragma once
// The single check window: one VAT number, its answer as up to seven title/value rows or one error
// line, and a one-page printout of it. Nothing is stored.

#include "core/FinestraLavoro.h"

#include <array>

class GetHtmPage;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Sessione;
struct RispostaQuery;

class VatSingola : public FinestraLavoro
{
    Q_OBJECT

public:
    explicit VatSingola(Sessione& sessione, QWidget* parent = nullptr);

    // The window stays open while a check runs.
    void done(int risultato) override;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void PulisciRisultati();
    void AnalizzaCodice();
    void MostraRisposta(const RispostaQuery& risposta);
    void Stampa();
    void AbilitaComandi(bool abilita);

    QComboBox* m_cmbNazioni;
    QLabel* m_lbNAZ;
    QLineEdit* m_Text1;
    QPushButton* m_cmdAnalizza;
    QPushButton* m_cmdPrt;
    std::array<QLabel*, 8> m_lbDescr{}; // 1..7
    std::array<QLabel*, 8> m_lbEsito{}; // 1..7
    QLabel* m_lbError;
    QLabel* m_lbFonte;
    QAction* m_Mu_end;
    QAction* m_Mu_param;
    QAction* m_Mu_print;

    Sessione& m_sessione;
    QString m_codice;              // the code last analysed, as printed
    GetHtmPage* m_query = nullptr; // while a check runs
};
