#include "web/RichiestaHttp.h"

#include "web/DecodificaPagina.h"

#include <QNetworkReply>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTroppoGrande = u"Risposta troppo grande (oltre 4 MiB)"_s;

// What the reply may hold unread: the cap is then counted as the body arrives, whatever its size.
constexpr qint64 kBufferLettura = 64 * 1024;

// An error Qt raises for the HTTP status alone: the page still came, and its status is reported.
bool ErroreDiStato(QNetworkReply::NetworkError errore, int stato)
{
    return stato >= 400 &&
           ((errore >= QNetworkReply::ContentAccessDenied && errore <= QNetworkReply::UnknownContentError) ||
            (errore >= QNetworkReply::InternalServerError && errore <= QNetworkReply::UnknownServerError) ||
            errore == QNetworkReply::ProtocolInvalidOperationError ||
            errore == QNetworkReply::ProxyAuthenticationRequiredError);
}

QString TestoErrore(QNetworkReply::NetworkError errore)
{
    switch (errore) {
    case QNetworkReply::ConnectionRefusedError:
        return u"Connessione rifiutata dal server"_s;
    case QNetworkReply::RemoteHostClosedError:
        return u"Connessione chiusa dal server prima della fine della risposta"_s;
    case QNetworkReply::HostNotFoundError:
        return u"Server non trovato"_s;
    case QNetworkReply::OperationCanceledError:
        return u"Richiesta interrotta"_s;
    case QNetworkReply::SslHandshakeFailedError:
        return u"Errore nella connessione sicura (TLS)"_s;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return u"Rete non disponibile"_s;
    case QNetworkReply::TooManyRedirectsError:
        return u"Troppi reindirizzamenti"_s;
    case QNetworkReply::InsecureRedirectError:
        return u"Reindirizzamento da una connessione sicura a una non sicura"_s;
    case QNetworkReply::ProtocolUnknownError: // only a redirect can lead there: see ClientHttp::Avvia
        return u"Reindirizzamento verso un indirizzo non ammesso"_s;
    case QNetworkReply::ProtocolFailure:
        return u"Risposta del server non valida"_s;
    default:
        if (errore >= QNetworkReply::ProxyConnectionRefusedError &&
            errore <= QNetworkReply::UnknownProxyError)
            return u"Errore del proxy (codice %1)"_s.arg(int(errore));
        return u"Errore di rete (codice %1)"_s.arg(int(errore));
    }
}

} // namespace

RichiestaHttp::RichiestaHttp(const QUrl& indirizzo, std::chrono::milliseconds limite, QObject* gruppo)
    : QObject(gruppo), m_indirizzo(indirizzo), m_limite(limite)
{
    m_esito.indirizzo = indirizzo;
    m_scadenza.setSingleShot(true);
    connect(&m_scadenza, &QTimer::timeout, this,
            [this] { Interrompi(u"Tempo massimo di attesa della risposta superato"_s); });
}

RichiestaHttp::~RichiestaHttp()
{
    if (m_risposta) {
        m_risposta->disconnect(this);
        m_risposta->abort();
        m_risposta->deleteLater();
    }
}

void RichiestaHttp::Parti(QNetworkReply* risposta)
{
    m_risposta = risposta;
    risposta->setReadBufferSize(kBufferLettura);
    connect(risposta, &QNetworkReply::metaDataChanged, this, &RichiestaHttp::ControllaIntestazioni);
    connect(risposta, &QIODevice::readyRead, this, &RichiestaHttp::Leggi);
    connect(risposta, &QNetworkReply::finished, this, &RichiestaHttp::Concludi);
    m_scadenza.start(m_limite);
}

void RichiestaHttp::FallisciPoi(const QString& errore)
{
    QMetaObject::invokeMethod(
        this, [this, errore] { Termina(errore); }, Qt::QueuedConnection);
}

void RichiestaHttp::Interrompi(const QString& motivo)
{
    if (m_finita)
        return;
    if (!m_risposta) {
        Termina(motivo); // still waiting for its turn
        return;
    }
    if (m_motivo.isEmpty())
        m_motivo = motivo;
    m_risposta->abort(); // finishes the reply, which ends us through Concludi
}

void RichiestaHttp::Leggi()
{
    if (!m_motivo.isEmpty())
        return;
    m_esito.corpo += m_risposta->readAll();
    if (m_esito.corpo.size() > kDimensioneMassima)
        Interrompi(kTroppoGrande);
}

void RichiestaHttp::ControllaIntestazioni()
{
    // Pages are asked for uncompressed: a packed one could unpack to far more than it weighs.
    const QByteArray codifica = m_risposta->rawHeader("Content-Encoding").trimmed();
    if (!codifica.isEmpty() && codifica.compare("identity", Qt::CaseInsensitive) != 0)
        return Interrompi(
            u"Risposta compressa non richiesta (%1)"_s.arg(QString::fromLatin1(codifica.left(20))));
    const QVariant lunghezza = m_risposta->header(QNetworkRequest::ContentLengthHeader);
    if (lunghezza.isValid() && lunghezza.toLongLong() > kDimensioneMassima)
        Interrompi(kTroppoGrande);
}

void RichiestaHttp::Concludi()
{
    if (m_finita)
        return;
    QNetworkReply* risposta = m_risposta;
    m_risposta = nullptr;
    risposta->disconnect(this);
    risposta->deleteLater();
    m_esito.indirizzo = risposta->url();
    m_esito.stato = risposta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto errore = risposta->error();
    if (m_motivo.isEmpty() && errore != QNetworkReply::NoError && !ErroreDiStato(errore, m_esito.stato))
        m_motivo = TestoErrore(errore);
    if (m_motivo.isEmpty()) {
        m_esito.corpo += risposta->readAll();
        if (m_esito.corpo.size() > kDimensioneMassima)
            m_motivo = kTroppoGrande;
    }
    if (m_motivo.isEmpty())
        m_esito.testo = DecodificaPagina(m_esito.corpo, risposta->rawHeader("Content-Type"));
    Termina(m_motivo);
}

void RichiestaHttp::Termina(const QString& errore)
{
    if (m_finita)
        return;
    m_scadenza.stop();
    m_esito.riuscita = errore.isEmpty();
    m_esito.errore = errore;
    if (!m_esito.riuscita)
        m_esito.corpo.clear();
    m_finita = true;
    Q_EMIT Conclusa();
}
