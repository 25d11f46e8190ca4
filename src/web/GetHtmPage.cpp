#include "web/GetHtmPage.h"

#include "core/Attese.h"
#include "core/CartellaProgramma.h"
#include "core/Cp1252.h"
#include "core/Dialoghi.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "countries/Nazioni.h"
#include "web/ClientHttp.h"
#include "web/IndirizziWeb.h"
#include "web/LetturaVies.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

// Upper case letter by letter, so the text keeps its length ("ß" has no one-letter capital).
QString MaiuscoloStessaLunghezza(QString testo)
{
    for (QChar& c : testo)
        c = c.toUpper();
    return testo;
}

QString Illeggibile(const EsitoHttp& esito)
{
    const QString motivo = u"Pagina non leggibile"_s;
    return esito.stato == 200 ? motivo : motivo + u" (HTTP %1)"_s.arg(esito.stato);
}

} // namespace

bool NumeroMrn(const QString& numero)
{
    return numero.size() >= 18;
}

GetHtmPage::GetHtmPage(const ContestoQuery& contesto, PoliticaPagine politica, QObject* parent)
    : QObject(parent), m_contesto(contesto), m_politica(std::move(politica))
{}

void GetHtmPage::Avvia(const QString& numero)
{
    Q_ASSERT(m_finita || m_risposta.numero.isNull());
    m_risposta = RispostaQuery{};
    m_risposta.numero = numero;
    m_finita = false;
    m_effetti.clear();
    m_numero = MaiuscoloStessaLunghezza(numero);
    if (NumeroMrn(m_numero))
        xGetPaginaMRN();
    else
        xGetPaginaVAT();
}

void GetHtmPage::Effetto(std::function<void()> effetto)
{
    if (m_differisci)
        m_effetti.push_back(std::move(effetto));
    else
        effetto();
}

void GetHtmPage::EseguiEffetti()
{
    // Taken out first: a message box lets the event loop run meanwhile.
    const std::vector<std::function<void()>> effetti = std::move(m_effetti);
    m_effetti.clear();
    for (const auto& effetto : effetti)
        effetto();
}

void GetHtmPage::Scarica(const QString& indirizzo, std::function<void(const EsitoHttp&)> poi)
{
    RichiestaHttp* richiesta = m_contesto.client.Avvia(QUrl(indirizzo), this);
    connect(richiesta, &RichiestaHttp::Conclusa, this, [richiesta, poi = std::move(poi)] {
        richiesta->deleteLater();
        poi(richiesta->Esito());
    });
}

void GetHtmPage::xGetPaginaVAT()
{
    const EsitoFormato formato = m_contesto.nazioni.ControlloFormatoVAT(m_numero);
    if (!formato.messaggio.isEmpty()) {
        Concludi(formato.messaggio);
        return;
    }
    m_risposta.fonte = m_contesto.indirizzi.fonte;
    if (m_risposta.fonte == FonteVat::Vies)
        return xGetVies(0);
    const QString indirizzo = m_contesto.indirizzi.IndirizzoVat(m_numero);
    Scarica(indirizzo, [this, indirizzo](const EsitoHttp& esito) {
        if (!esito.riuscita)
            return Fallita(esito.errore);
        const LetturaPagina lettura = xGetVat(esito.testo, true);
        if (lettura.errore)
            return Fallita(Illeggibile(esito));
        Prendi(lettura);
        if (lettura.risultato && !xMostraPagina(indirizzo, u"pi"_s, esito.testo))
            return Fallita(u"Pagina non mostrata"_s);
        Concludi({});
    });
}

void GetHtmPage::xGetVies(int tentativo)
{
    constexpr int kRiprove = 3;
    Scarica(m_contesto.indirizzi.IndirizzoVies(m_numero), [this, tentativo](const EsitoHttp& esito) {
        if (!esito.riuscita)
            return Fallita(esito.errore);
        const LetturaVies vies = LeggiRispostaVies(esito.corpo);
        if (vies.riprovare && tentativo < kRiprove) {
            // The service limits requests at once: ask again after 1, 2, then 4 pauses.
            QTimer::singleShot(Attese().viesPausaMs << tentativo, this,
                               [this, tentativo] { xGetVies(tentativo + 1); });
            return;
        }
        if (!vies.errore.isEmpty()) {
            m_risposta.motivo = vies.errore;
            return Concludi(TestoNonDisponibile(vies.errore));
        }
        Prendi(vies.lettura);
        m_risposta.consultazione = vies.consultazione;
        Concludi({});
    });
}

void GetHtmPage::xGetPaginaMRN()
{
    if (TogliSpazi(m_numero).size() < 18)
        return Concludi(u"*** Lunghezza numero MRN errata (18 caratteri)"_s);
    const QString tipo = m_numero.mid(16, 1);
    if (tipo != u"E"_s && tipo != u"T"_s)
        return Concludi(u"*** Tipo MRN errato (T=Transito, E=Export)"_s);

    // The export page, read with or without its error message; then the answer is complete.
    const auto leggiExport = [this](bool bMess) {
        const QString indirizzo = m_contesto.indirizzi.IndirizzoExport(m_numero);
        Scarica(indirizzo, [this, indirizzo, bMess](const EsitoHttp& esito) {
            if (!esito.riuscita)
                return Fallita(esito.errore);
            const LetturaPagina lettura =
                xGetEsito(esito.testo, MarcatoriExport::Leggi(m_contesto.impostazioni), bMess);
            if (!PrendiPaginaMrn(lettura, indirizzo, u"ex"_s, esito.testo))
                return Fallita(u"Pagina non mostrata"_s);
            Concludi({});
        });
    };
    if (tipo == u"E"_s)
        return leggiExport(true);

    // A transit movement also shows where its export stands, read silently.
    const QString indirizzo = m_contesto.indirizzi.IndirizzoTransiti(m_numero);
    Scarica(indirizzo, [this, indirizzo, leggiExport](const EsitoHttp& esito) {
        if (!esito.riuscita)
            return Fallita(esito.errore);
        const LetturaPagina lettura =
            xGetTransito(esito.testo, MarcatoriTransito::Leggi(m_contesto.impostazioni), m_numero);
        if (!PrendiPaginaMrn(lettura, indirizzo, u"tr"_s, esito.testo))
            return Fallita(u"Pagina non mostrata"_s);
        leggiExport(false);
    });
}

bool GetHtmPage::PrendiPaginaMrn(const LetturaPagina& lettura, const QString& indirizzo, const QString& tipo,
                                 const QString& testo)
{
    if (lettura.errore)
        MostraErroreLettura(*lettura.errore);
    Prendi(lettura);
    return !lettura.risultato || xMostraPagina(indirizzo, tipo, testo);
}

void GetHtmPage::Prendi(const LetturaPagina& lettura)
{
    // A transit answer and its export answer fill different entries.
    for (int j = 1; j < kNumeroEsiti; ++j) {
        if (!lettura.esiti[j].isNull())
            m_risposta.ElencoEsiti[j] = TogliSpazi(lettura.esiti[j]);
    }
    for (int j = 1; j < kNumeroTitoli; ++j) {
        if (!lettura.titoli[j].isNull())
            m_risposta.ElencoTitoli[j] = TogliSpazi(lettura.titoli[j]);
    }
}

bool GetHtmPage::xMostraPagina(const QString& indirizzo, const QString& tipo, const QString& testo)
{
    const OpzioniPagina& w = m_politica.opzioni;
    const QString cartella = TogliSpazi(w.DirSave);
    bool vedere = w.View > 0;
    const bool salvare = w.Save > 0 && !cartella.isEmpty();

    if ((w.Print > 0 || (vedere && w.IESkede == 1)) && m_politica.mostra) {
        Q_ASSERT(!m_differisci);
        if (!m_politica.mostra->MostraNelBrowser({indirizzo, m_numero, tipo, w}))
            return false;
    }
    if (w.IESkede == 1)
        vedere = false;
    if (!vedere && !salvare)
        return true;

    // From here on a failing step is skipped: the answer itself has been read.
    const QString file = salvare ? QString(CartellaConSeparatore(cartella) + tipo.toUpper() + u'_' +
                                           NomeFileSicuro(m_numero) + u".htm"_s)
                                 : QString(m_politica.dirTemp + u"tmp_html.htm"_s);
    Effetto([this, file, testo, vedere] {
        QFile::remove(file);
        QFile f;
        if (ApriArchivio(f, file, kModoScrittura))
            f.write(Cp1252::Codifica(testo + u"\r\n"_s));
        f.close();
        if (vedere && m_politica.mostra)
            m_politica.mostra->ApriDocumento(file);
    });
    return true;
}

void GetHtmPage::MostraErroreLettura(const ErroreLettura& errore)
{
    const QString testo = QString::number(errore.codice) + u" - "_s + errore.descrizione;
    Effetto([testo] { MsgBox(testo, Pulsanti::Ok, Icona::Critica, QString::fromUtf16(kNomeBaseProgramma)); });
}

void GetHtmPage::Fallita(const QString& motivo)
{
    m_risposta.motivo = motivo;
    Concludi(QString::fromUtf16(kConnessioneNonAttiva));
}

void GetHtmPage::Concludi(const QString& messaggio)
{
    if (!TogliSpazi(messaggio).isEmpty()) {
        m_risposta.ElencoEsiti = {};
        m_risposta.ElencoTitoli = {};
        m_risposta.ElencoTitoli[2] = messaggio;
        m_risposta.stato = messaggio.startsWith(u'#') ? 9 : 1;
    }
    m_finita = true;
    PulisciCacheMrn(m_risposta.numero);
    Q_EMIT Conclusa(m_risposta);
}

RispostaQuery InterrogaNumero(const ContestoQuery& contesto, const PoliticaPagine& politica,
                              const QString& numero)
{
    GetHtmPage query(contesto, politica);
    QEventLoop ciclo;
    QObject::connect(&query, &GetHtmPage::Conclusa, &ciclo, &QEventLoop::quit);
    query.Avvia(numero);
    if (!query.Finita())
        ciclo.exec();
    return query.Risposta();
}
