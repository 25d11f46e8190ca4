#pragma once
// The list check window: chooses the list file and the output (FILE, Stampa, D.B.), runs the list
// with its progress text and bar, and can stop it between two codes. The run itself is
// ElaboraElenco; this window only drives it and shows where it is.

#include "checks/RisultatiElenco.h"
#include "core/FinestraLavoro.h"

#include <array>

class ElaboraElenco;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Sessione;
struct EsitoElenco;

class EleVat : public FinestraLavoro
{
    Q_OBJECT

public:
    explicit EleVat(Sessione& sessione, QWidget* parent = nullptr);

    // plElenco: a list file handed over by the results browser before the window is shown. The
    // database output is chosen (Stampa with the database closed), the run starts whenever the window
    // becomes active with no run going, the window closes after a run that processed a code, and
    // PATH and COME are not saved.
    void plElenco(const QString& percorso);

    // Closing during a run stops it first: the window closes once the answers are merged.
    void done(int risultato) override;

Q_SIGNALS:
    // A "D.B." run of the window's own list processed a code and the window closed: its answers, in
    // the work table, are to be shown in the results browser.
    void MostraTabellaLavoro();

protected:
    void changeEvent(QEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void SelezionaUscita(int indice);
    int IndiceUscita() const;
    void CercaElenco();
    void ModificaElenco();
    void Analizza();
    void Annulla();
    void Iniziata(int totale);
    void Interrogo(int k, int totale, const QString& codice);
    void Conclusa(const EsitoElenco& esito);
    void Barra(int k, int totale);

    Sessione& m_sessione;
    std::array<QRadioButton*, 3> m_Option1{};
    QPushButton* m_Command2;
    QLabel* m_lbPathEle;
    QPushButton* m_cmdLastFile;
    std::array<QPushButton*, 2> m_Command1{};
    QLineEdit* m_Text1;
    QLabel* m_lbFonte;
    QFrame* m_Picture1;
    QFrame* m_Shape1;

    QString m_plElenco;
    ElaboraElenco* m_elaborazione = nullptr; // while a run goes
    UscitaElenco m_uscitaInCorso = UscitaElenco::File;
    bool m_chiudiAllaFine = false;
    bool m_avvioAutomatico =
        true; // off once a handed-over list was refused: it would be asked again and again
};
