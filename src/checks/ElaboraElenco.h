#pragma once
// The list run: every code of a list file queried in turn, each answer written to EsitiDaEle.txt (in
// the program folder) and to the work table WKPartiteIVA, and at the end the work table merged into
// PartiteIVA. The run is asynchronous: Avvia returns at once and the run goes on in the event loop,
// one page at a time, asking its pages through the HTTP client's asynchronous form. The window and
// the command line are its two callers; both follow it through its signals.
//
// Order of events: Iniziata once the list is counted and the output file created (the work table is
// emptied right after); then for each non-empty item k = 1, 2, ... Interrogo (before its query), and
// Scritta once its answer is in the file and the table, in list order; finally Conclusa, once, after
// the merge, with the files closed and the folder's lock released. A run that cannot start (no list,
// another run going, no output file) goes straight to Conclusa. Every signal comes from the event
// loop, never from inside Avvia.

#include "checks/LetturaElenco.h"
#include "checks/RisultatiElenco.h"
#include "core/BloccoFile.h"
#include "core/Database.h"
#include "web/GetHtmPage.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class Sessione;

struct RichiestaElenco {
    QString fileElenco; // trimmed before use
    UscitaElenco come = UscitaElenco::File;
    PoliticaPagine politica; // what each query does with its page
    // The request date of an answer that gives none; tests fix it.
    std::function<QDateTime()> adesso = [] { return QDateTime::currentDateTime(); };
};

// Why a run ended.
enum class FineElenco {
    Completa,         // the end of the list (a list of only empty items too)
    Fermata,          // the stop flag, seen before the next code
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
    // Raises the stop flag: the code being queried is finished and written, no other one starts, and
    // what was written is merged.
    void Ferma() { m_fermare = true; }

Q_SIGNALS:
    // `totale` counts every item of the list, empty ones included.
    void Iniziata(int totale);
    void Interrogo(int k, int totale, const QString& codice);
    void Scritta(int k, const RispostaQuery& risposta);
    void Conclusa(const EsitoElenco& esito);

private:
    void Poi(void (ElaboraElenco::*passo)());
    void Inizia();
    void Conta();
    void Prepara();
    void Prossimo();
    void Prendi(const RispostaQuery& risposta);
    void Registra(const RispostaQuery& risposta);
    void Conferma();
    void Finisci(FineElenco fine);

    Sessione& m_sessione;
    const RichiestaElenco m_richiesta;
    QString m_percorso; // of the list
    BloccoFile m_blocco;
    QFile m_elenco;
    std::optional<LettoreElenco> m_lettore;
    QFile m_uscita;
    GetHtmPage* m_query = nullptr;
    bool m_usaTabella = false;          // the work table was emptied and opened
    std::optional<Transazione> m_righe; // work table rows not yet committed
    QTimer m_conferma;
    bool m_fondere = false; // the work table was emptied: merge it at the end
    bool m_inCorso = false;
    bool m_fermare = false;
    int m_totale = 0;
    int m_k = 0;
    QString m_codice;
    EsitoElenco m_esito;
};
