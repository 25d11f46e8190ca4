#pragma once
// The list run: every code of a list file queried, each answer written to EsitiDaEle.txt (in the
// program folder) and to the work table WKPartiteIVA in list order, and at the end the work table
// merged into PartiteIVA. The run is asynchronous: Avvia returns at once and the run goes on in the
// event loop, asking its pages through the HTTP client's asynchronous form, up to `parallelo` at
// once. Answers that come early wait until every earlier code is written, so whatever the files,
// the tables and the signals show is what a run of one page at a time would show. The window and
// the command line are its two callers; both follow it through its signals.
//
// Order of events: Iniziata once the list is counted and the output file created (the work table is
// emptied right after); then for each non-empty item k = 1, 2, ... Interrogo when its turn comes (its
// page may be on its way already), and Scritta once its answer is in the file and the table; finally
// Conclusa, once, after the merge, with the files closed and the folder's lock released. A run that
// cannot start (no list, another run going, no output file) goes straight to Conclusa. Every signal
// comes from the event loop, never from inside Avvia.

#include "checks/LetturaElenco.h"
#include "checks/RisultatiElenco.h"
#include "core/BloccoFile.h"
#include "core/Database.h"
#include "web/GetHtmPage.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class Impostazioni;
class Sessione;

// Pages a list run asks at once, PARALLELO of the settings, and its bounds. Qt's network manager
// opens at most 6 connections to one host and queues the rest where their time limit already runs:
// more would turn slow answers into unreachable ones.
inline constexpr int kParalleloPredefinito = 4;
inline constexpr int kParalleloMassimo = 6;
// Queries to one member state at once: each state's VIES service has a small limit of its own.
inline constexpr int kParalleloPerStato = 2;

// PARALLELO of the settings within 1..kParalleloMassimo; kParalleloPredefinito when missing or blank.
int ParalleloDaImpostazioni(const Impostazioni& impostazioni);

struct RichiestaElenco {
    QString fileElenco; // trimmed before use
    UscitaElenco come = UscitaElenco::File;
    PoliticaPagine politica; // what each query does with its page
    // The request date of an answer that gives none; tests fix it.
    std::function<QDateTime()> adesso = [] { return QDateTime::currentDateTime(); };
    // Pages asked at once, brought within 1..kParalleloMassimo; 1 when the policy shows or prints
    // pages, which would come out of order.
    int parallelo = 1;
};

// Why a run ended.
enum class FineElenco {
    Completa,         // the end of the list (a list of only empty items too)
    Fermata,          // the stop flag, seen before the next code's turn
    NonRaggiungibile, // a page could not be fetched or read: nothing was written for that code
    SenzaElenco,      // the list is missing, empty, unreadable or holds no item: nothing was touched
    UscitaMancante,   // EsitiDaEle.txt could not be created: nothing else was touched
    Occupata,         // another list run holds the program folder: nothing was touched
};

enum class Fusione { Nessuna, Riuscita, Fallita };

struct EsitoElenco {
    int elaborati = 0; // the item number k reached: also counts a code whose page could not be had
    FineElenco fine = FineElenco::SenzaElenco;
    Fusione fusione = Fusione::Nessuna; // Nessuna: the database is closed, or the run never began
};

// EsitiDaEle.txt of the program folder `cartella`.
QString FileEsitiElenco(const QString& cartella);

// Held by a list run, in the program folder: two runs would share the work table.
QString FileBloccoElenco(const QString& cartella);

class ElaboraElenco : public QObject
{
    Q_OBJECT

public:
    ElaboraElenco(Sessione& sessione, RichiestaElenco richiesta, QObject* parent = nullptr);
    ~ElaboraElenco() override;

    // Starts the run; one run per object.
    void Avvia();
    bool InCorso() const { return m_inCorso; }
    const EsitoElenco& Esito() const { return m_esito; }

public Q_SLOTS:
    // Raises the stop flag: the code whose turn it is is finished and written, later pages are
    // dropped, and what was written is merged.
    void Ferma() { m_fermare = true; }

Q_SIGNALS:
    // `totale` counts every item of the list, empty ones included.
    void Iniziata(int totale);
    void Interrogo(int k, int totale, const QString& codice);
    void Scritta(int k, const RispostaQuery& risposta);
    void Conclusa(const EsitoElenco& esito);

private:
    // A code read from the list and not yet written.
    struct Voce {
        int k = 0;
        QString codice;
        QString stato;               // its member state; "" for an MRN, which no state limits
        GetHtmPage* query = nullptr; // none until it is sent
    };

    void Poi(void (ElaboraElenco::*passo)());
    void Inizia();
    void Conta();
    void Prepara();
    void Programma();
    void Avanza();
    // Reads the list ahead; false when a long run of empty items is left for the next step.
    bool LeggiAvanti();
    // Sends what may go: up to m_parallelo pages, kParalleloPerStato per member state, in list order.
    void Invia();
    GetHtmPage* Query();
    void Scrivi();
    void Registra(const QString& codice, const RispostaQuery& risposta);
    void Conferma();
    void Finisci(FineElenco fine);

    Sessione& m_sessione;
    const RichiestaElenco m_richiesta;
    int m_parallelo = 1;
    QString m_percorso; // of the list
    BloccoFile m_blocco;
    QFile m_elenco;
    std::optional<LettoreElenco> m_lettore;
    bool m_elencoFinito = false;
    QFile m_uscita;
    std::deque<Voce> m_voci;            // in list order; the first is the one whose turn comes next
    std::vector<GetHtmPage*> m_libere;  // queries whose answer was written, ready for another code
    bool m_usaTabella = false;          // the work table was emptied and opened
    std::optional<Transazione> m_righe; // work table rows not yet committed
    QTimer m_conferma;
    bool m_fondere = false; // the work table was emptied: merge it at the end
    bool m_inCorso = false;
    bool m_fermare = false;
    bool m_programmato = false; // Avanza waits in the event loop
    bool m_scrivendo = false;   // a message box of the answer being written runs the event loop
    bool m_turno = false;       // Interrogo went out for the first code of m_voci
    int m_totale = 0;
    int m_letti = 0; // non-empty items read so far
    int m_k = 0;     // the item whose turn came last
    EsitoElenco m_esito;
};
