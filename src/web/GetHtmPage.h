#pragma once
// One query of the agencies' pages, asynchronous: the VAT side (revenue agency's VIES page) and the
// MRN side (customs export and transit pages). Fetch, read, then show or save the page as the
// policy it was given says, and report the answer. A check window makes one per query; a list run
// keeps one per code it holds at once.

#include "web/MostraPagine.h"
#include "web/ParametriWeb.h"
#include "web/RispostaQuery.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class ClientHttp;
class Impostazioni;
class Nazioni;
struct EsitoHttp;
struct IndirizziWeb;

// What every query reads and uses: the country table, the addresses, the markers in the settings
// and the HTTP client.
struct ContestoQuery {
    const Nazioni& nazioni;
    const IndirizziWeb& indirizzi;
    const Impostazioni& impostazioni;
    ClientHttp& client;
};

// What a query does with the page it has read: the web options of a use, the temporary folder for
// pages only viewed, and the display (none: never shown or opened).
struct PoliticaPagine {
    OpzioniPagina opzioni;
    QString dirTemp; // ends with a separator
    MostraPagine* mostra = nullptr;
};

// Under 18 characters a number is a VAT code (its first two letters name a member state); from 18
// on it is an MRN.
bool NumeroMrn(const QString& numero);

class GetHtmPage : public QObject
{
    Q_OBJECT

public:
    GetHtmPage(const ContestoQuery& contesto, PoliticaPagine politica, QObject* parent = nullptr);

    // Queries `numero`, upper-cased: under 18 characters a VAT code, else an MRN. Conclusa follows,
    // once; a malformed number ends at once, before Avvia returns. One query at a time: a new one
    // starts only after Conclusa.
    void Avvia(const QString& numero);

    bool Finita() const { return m_finita; }
    const RispostaQuery& Risposta() const { return m_risposta; }

    // For a run with several queries at once: what a query tells the user or writes besides its
    // answer (reading errors, saved pages) waits for EseguiEffetti, so that it comes in the run's
    // order. Pages to show or print cannot wait: a run that has them asks one page at a time.
    void DifferisciEffetti() { m_differisci = true; }
    // What waited since Avvia, in the order it came.
    void EseguiEffetti();

Q_SIGNALS:
    void Conclusa(const RispostaQuery& risposta);

private:
    void xGetPaginaVAT();
    // The VIES service; `tentativo` counts the times it said it was busy.
    void xGetVies(int tentativo);
    void xGetPaginaMRN();
    void Scarica(const QString& indirizzo, std::function<void(const EsitoHttp&)> poi);
    void Prendi(const LetturaPagina& lettura);
    // Shows, saves or opens the page; false only when the browser window could not show it.
    bool xMostraPagina(const QString& indirizzo, const QString& tipo, const QString& testo);
    // An MRN page read: its error told, its answer taken, the page shown or saved; false only when
    // the browser window could not show it.
    bool PrendiPaginaMrn(const LetturaPagina& lettura, const QString& indirizzo, const QString& tipo,
                         const QString& testo);
    void MostraErroreLettura(const ErroreLettura& errore);
    void Fallita(const QString& motivo);
    void Concludi(const QString& messaggio);
    void Effetto(std::function<void()> effetto);

    ContestoQuery m_contesto;
    PoliticaPagine m_politica;
    RispostaQuery m_risposta;
    QString m_numero; // upper-cased
    bool m_finita = false;
    bool m_differisci = false;
    std::vector<std::function<void()>> m_effetti;
};

// The query entry for the single check of the command line: one query, waited for in one local
// event loop.
RispostaQuery InterrogaNumero(const ContestoQuery& contesto, const PoliticaPagine& politica,
                              const QString& numero);
