#include "checks/ElaboraElenco.h"

#include "core/Cp1252.h"
#include "core/Dialoghi.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "session/Sessione.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

// Items read in one turn of the event loop while counting or skipping empty ones, so that a huge
// list keeps the window painting.
constexpr int kVociPerPasso = 10000;
// Rows of the work table are committed together at most this often: a commit per row would cost a
// disk flush per code. A run cut short loses only rows it would never merge.
constexpr int kConfermaMs = 500;

} // namespace

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
    m_query = new GetHtmPage(m_sessione.Contesto(), m_richiesta.politica, this);
    connect(m_query, &GetHtmPage::Conclusa, this, &ElaboraElenco::Prendi);

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
    Poi(&ElaboraElenco::Prossimo);
}

void ElaboraElenco::Prossimo()
{
    if (m_fermare)
        return Finisci(FineElenco::Fermata);
    for (int n = 0; n < kVociPerPasso; ++n) {
        const std::optional<QString> voce = m_lettore->Prossima();
        if (!voce)
            return Finisci(FineElenco::Completa);
        if (voce->isEmpty())
            continue;
        m_codice = *voce;
        ++m_k; // before the answer: a code whose page cannot be had still counts
        Q_EMIT Interrogo(m_k, m_totale, m_codice);
        m_query->Avvia(m_codice); // a malformed code answers at once
        return;
    }
    Poi(&ElaboraElenco::Prossimo);
}

void ElaboraElenco::Prendi(const RispostaQuery& risposta)
{
    if (risposta.stato == 9)
        return Finisci(FineElenco::NonRaggiungibile);
    m_uscita.write(Cp1252::Codifica(RigheEsiti(m_richiesta.come, m_k, m_codice, risposta)));
    m_uscita.flush(); // a run cut short keeps every line it wrote
    if (m_usaTabella)
        Registra(risposta);
    Q_EMIT Scritta(m_k, risposta);
    Poi(&ElaboraElenco::Prossimo);
}

void ElaboraElenco::Registra(const RispostaQuery& risposta)
{
    if (!m_righe) {
        m_righe.emplace(m_sessione.database);
        m_conferma.start();
    }
    // A row that cannot be written is skipped: the run goes on.
    RegistraRisposta(m_sessione.database.TabellaWk(), m_codice, risposta, m_richiesta.adesso());
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
    if (m_query) {
        m_query->disconnect(this);
        m_query->deleteLater(); // this may run inside its own signal
        m_query = nullptr;
    }
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
