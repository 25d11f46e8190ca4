#include "checks/ElaboraElenco.h"

#include "core/ChiaviIni.h"
#include "core/Cp1252.h"
#include "core/Dialoghi.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "session/Sessione.h"

#include <QFileInfo>
#include <QHash>

using namespace Qt::Literals::StringLiterals;

namespace {

// Items read in one turn of the event loop while counting or skipping empty ones, so that a huge
// list keeps the window painting.
constexpr int kVociPerPasso = 10000;
// Rows of the work table are committed together at most this often: a commit per row would cost a
// disk flush per code. A run cut short loses only rows it would never merge.
constexpr int kConfermaMs = 500;
// Codes held per page asked at once: room for answers that come before an earlier one's.
constexpr int kVociPerPagina = 4;

} // namespace

int ParalleloDaImpostazioni(const Impostazioni& impostazioni)
{
    const Chiave chiave = Chiavi::ElencoParallelo();
    if (TogliSpazi(impostazioni.Leggi(chiave)).isEmpty())
        return kParalleloPredefinito;
    return qBound(1, int(InteroCorto(impostazioni.Numero(chiave))), kParalleloMassimo);
}

QString FileEsitiElenco(const QString& cartella)
{
    return CartellaConSeparatore(cartella) + u"EsitiDaEle.txt"_s;
}

QString FileBloccoElenco(const QString& cartella)
{
    return CartellaConSeparatore(cartella) + u"tarvel-elenco.lock"_s;
}

ElaboraElenco::ElaboraElenco(Sessione& sessione, RichiestaElenco richiesta, QObject* parent)
    : QObject(parent), m_sessione(sessione), m_richiesta(std::move(richiesta))
{
    const OpzioniPagina& opzioni = m_richiesta.politica.opzioni;
    m_parallelo =
        opzioni.View > 0 || opzioni.Print > 0 ? 1 : qBound(1, m_richiesta.parallelo, kParalleloMassimo);
    m_conferma.setSingleShot(true);
    m_conferma.setInterval(kConfermaMs);
    connect(&m_conferma, &QTimer::timeout, this, &ElaboraElenco::Conferma);
}

ElaboraElenco::~ElaboraElenco()
{
    Conferma();
    if (m_usaTabella)
        m_sessione.database.TabellaWk().Chiudi();
}

void ElaboraElenco::Poi(void (ElaboraElenco::*passo)())
{
    QMetaObject::invokeMethod(
        this, [this, passo] { (this->*passo)(); }, Qt::QueuedConnection);
}

void ElaboraElenco::Avvia()
{
    Q_ASSERT(!m_inCorso && m_k == 0);
    m_inCorso = true;
    Poi(&ElaboraElenco::Inizia);
}

void ElaboraElenco::Inizia()
{
    m_percorso = TogliSpazi(m_richiesta.fileElenco);
    if (!FileEsiste(m_percorso) || QFileInfo(m_percorso).size() == 0) // a quoted path loses its quotes
        return Finisci(FineElenco::SenzaElenco);
    if (!m_blocco.Prendi(FileBloccoElenco(m_sessione.cartella))) {
        MsgBox(u"Un altro controllo di elenco sta usando la cartella "_s + m_sessione.cartella +
                   u".\nAttendere che finisca, poi riprovare."_s,
               Pulsanti::Ok, Icona::Esclamazione, u"ELENCO GIA' IN CORSO"_s);
        return Finisci(FineElenco::Occupata);
    }
    if (!ApriArchivio(m_elenco, m_percorso, kModoLettura))
        return Finisci(FineElenco::SenzaElenco);
    m_lettore.emplace(m_elenco);
    Poi(&ElaboraElenco::Conta);
}

void ElaboraElenco::Conta()
{
    for (int n = 0; n < kVociPerPasso; ++n) {
        if (!m_lettore->Prossima())
            return Prepara();
        ++m_totale;
    }
    Poi(&ElaboraElenco::Conta);
}

void ElaboraElenco::Prepara()
{
    m_lettore.reset();
    if (m_totale == 0 || !ApriArchivio(m_elenco, m_percorso, kModoLettura))
        return Finisci(FineElenco::SenzaElenco);
    m_lettore.emplace(m_elenco);
    const QString uscita = FileEsitiElenco(m_sessione.cartella);
    QFile::remove(uscita);
    if (!ApriArchivio(m_uscita, uscita, kModoScrittura))
        return Finisci(FineElenco::UscitaMancante);

    Q_EMIT Iniziata(m_totale);

    // Emptied at the start, never after the merge: until the next run it holds this run's answers.
    Database& database = m_sessione.database;
    QString errore;
    const bool svuotata = database.Esegui(u"DELETE FROM WKPartiteIVA"_s, {}, &errore);
    m_usaTabella = database.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s);
    if (m_usaTabella && !svuotata) {
        // Its old rows would be merged again, over newer answers: leave the tables alone.
        MsgBox(errore, Pulsanti::Ok, Icona::Esclamazione, u"ERRORE IN AGGIORNAMENTO TABELLA WKPartiteIVA"_s);
        database.TabellaWk().Chiudi();
        m_usaTabella = false;
    }
    m_fondere = database.Aperto() && svuotata;
    Programma();
}

void ElaboraElenco::Programma()
{
    if (m_programmato)
        return;
    m_programmato = true;
    Poi(&ElaboraElenco::Avanza);
}

// One step of the run: the answer whose turn it is written, or the next turn begun, and what may be
// asked sent. Every answer that comes brings the run back here.
void ElaboraElenco::Avanza()
{
    m_programmato = false;
    if (!m_inCorso || m_scrivendo)
        return; // the write in progress goes on when its message box closes
    if (m_turno) {
        const Voce& prima = m_voci.front();
        if (prima.query && prima.query->Finita())
            return Scrivi();
        return Invia();
    }
    if (m_fermare)
        return Finisci(FineElenco::Fermata);
    if (!LeggiAvanti())
        return Programma();
    if (m_voci.empty())
        return Finisci(FineElenco::Completa);
    m_turno = true;
    m_k = m_voci.front().k; // before the answer: a code whose page cannot be had still counts
    Q_EMIT Interrogo(m_k, m_totale, m_voci.front().codice);
    Invia();
}

bool ElaboraElenco::LeggiAvanti()
{
    const std::size_t finestra = std::size_t(m_parallelo) * kVociPerPagina;
    for (int n = 0; !m_elencoFinito && m_voci.size() < finestra; ++n) {
        if (n == kVociPerPasso)
            return false;
        const std::optional<QString> voce = m_lettore->Prossima();
        if (!voce)
            m_elencoFinito = true;
        else if (!voce->isEmpty())
            m_voci.push_back({++m_letti, *voce, NumeroMrn(*voce) ? QString() : voce->left(2), nullptr});
    }
    return true;
}

void ElaboraElenco::Invia()
{
    int inVolo = 0;
    QHash<QString, int> perStato;
    for (const Voce& voce : m_voci) {
        if (voce.query && !voce.query->Finita()) {
            ++inVolo;
            ++perStato[voce.stato];
        }
    }
    // After a stop only the code whose turn it is goes on: later pages would be dropped.
    const std::size_t fino = m_fermare ? 1 : m_voci.size();
    for (std::size_t i = 0; i < fino && inVolo < m_parallelo; ++i) {
        Voce& voce = m_voci[i];
        if (!voce.query) {
            if (!voce.stato.isEmpty() && perStato.value(voce.stato) >= kParalleloPerStato)
                continue;
            voce.query = Query();
            voce.query->Avvia(voce.codice); // a malformed code answers at once
            if (!voce.query->Finita()) {
                ++inVolo;
                ++perStato[voce.stato];
            }
        }
        // The first answer is written before more is sent, as the stop flag may come with it; and
        // nothing after an answer that ends the run would be written.
        if (voce.query->Finita() && (i == 0 || voce.query->Risposta().stato == 9))
            break;
    }
    const Voce& prima = m_voci.front();
    if (prima.query && prima.query->Finita())
        Programma();
}

GetHtmPage* ElaboraElenco::Query()
{
    if (!m_libere.empty()) {
        GetHtmPage* query = m_libere.back();
        m_libere.pop_back();
        return query;
    }
    auto* query = new GetHtmPage(m_sessione.Contesto(), m_richiesta.politica, this);
    if (m_parallelo > 1)
        query->DifferisciEffetti();
    connect(query, &GetHtmPage::Conclusa, this, &ElaboraElenco::Programma);
    return query;
}

void ElaboraElenco::Scrivi()
{
    GetHtmPage* query = m_voci.front().query;
    const QString codice = m_voci.front().codice;
    m_scrivendo = true;
    query->EseguiEffetti(); // its messages and saved pages come now, in list order
    m_scrivendo = false;
    const RispostaQuery& risposta = query->Risposta();
    if (risposta.stato == 9)
        return Finisci(FineElenco::NonRaggiungibile);
    m_uscita.write(Cp1252::Codifica(RigheEsiti(m_richiesta.come, m_k, codice, risposta)));
    m_uscita.flush(); // a run cut short keeps every line it wrote
    if (m_usaTabella)
        Registra(codice, risposta);
    m_voci.pop_front();
    m_turno = false;
    Q_EMIT Scritta(m_k, risposta);
    m_libere.push_back(query);
    Programma();
}

void ElaboraElenco::Registra(const QString& codice, const RispostaQuery& risposta)
{
    if (!m_righe) {
        m_righe.emplace(m_sessione.database);
        m_conferma.start();
    }
    // A row that cannot be written is skipped: the run goes on.
    RegistraRisposta(m_sessione.database.TabellaWk(), codice, risposta, m_richiesta.adesso());
}

void ElaboraElenco::Conferma()
{
    m_conferma.stop();
    if (m_righe)
        m_righe->Conferma();
    m_righe.reset();
}

void ElaboraElenco::Finisci(FineElenco fine)
{
    // Pages still on their way are dropped with their queries.
    for (const Voce& voce : m_voci) {
        if (voce.query)
            m_libere.push_back(voce.query);
    }
    m_voci.clear();
    for (GetHtmPage* query : m_libere) {
        query->disconnect(this);
        query->deleteLater(); // this may run inside a message box of one of them
    }
    m_libere.clear();
    Conferma();
    if (m_usaTabella)
        m_sessione.database.TabellaWk().Chiudi();
    m_usaTabella = false;
    m_esito = {m_k, fine, Fusione::Nessuna};
    if (m_fondere)
        m_esito.fusione = FondiRisultati(m_sessione.database) ? Fusione::Riuscita : Fusione::Fallita;
    m_uscita.close();
    m_lettore.reset();
    m_elenco.close();
    m_blocco.Rilascia();
    m_inCorso = false;
    Q_EMIT Conclusa(m_esito);
}
