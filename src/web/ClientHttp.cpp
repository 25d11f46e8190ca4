#include "web/ClientHttp.h"

#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

ClientHttp::ClientHttp(QObject* parent) : QObject(parent), m_rete(new QNetworkAccessManager(this))
{
    m_rete->setCache(nullptr);
    m_rete->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

std::chrono::milliseconds ClientHttp::TempoMassimo(const Impostazioni& impostazioni)
{
    constexpr double kPredefinito = 30, kMassimo = 24 * 3600; // a day: beyond that QTimer overflows soon
    double secondi = impostazioni.Numero(Chiavi::TempoMax());
    if (!(secondi > 0) || !std::isfinite(secondi))
        secondi = kPredefinito;
    return std::chrono::milliseconds(std::llround(std::min(secondi, kMassimo) * 1000));
}

QString ClientHttp::Host(const QUrl& indirizzo)
{
    return indirizzo.host().toLower() + u':' +
           QString::number(indirizzo.port(indirizzo.scheme() == u"https"_s ? 443 : 80));
}

RichiestaHttp* ClientHttp::Avvia(const QUrl& indirizzo, QObject* gruppo,
                                 std::optional<std::chrono::milliseconds> limite)
{
    auto* richiesta = new RichiestaHttp(indirizzo, limite.value_or(m_tempoMassimo), gruppo);
    const QString schema = indirizzo.scheme().toLower();
    if (!indirizzo.isValid() || indirizzo.host().isEmpty() || (schema != u"http"_s && schema != u"https"_s)) {
        richiesta->FallisciPoi(u"Indirizzo non valido: %1"_s.arg(indirizzo.toString()));
        return richiesta;
    }
    connect(richiesta, &RichiestaHttp::Conclusa, this, [this, richiesta] { Libera(richiesta); });
    connect(richiesta, &QObject::destroyed, this, &ClientHttp::Libera);
    m_attesa.append(richiesta);
    m_tutte.append(richiesta);
    Avanza();
    return richiesta;
}

void ClientHttp::Avanza()
{
    for (qsizetype i = 0; i < m_attesa.size();) {
        RichiestaHttp* richiesta = m_attesa[i];
        if (!richiesta) {
            m_attesa.removeAt(i);
            continue;
        }
        const QString host = Host(richiesta->Indirizzo());
        if (m_inVoloPerHost.value(host) >= m_limitePerHost) {
            ++i;
            continue;
        }
        m_attesa.removeAt(i);
        m_inVolo.insert(richiesta, host);
        ++m_inVoloPerHost[host];
        QNetworkRequest r(richiesta->Indirizzo());
        r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        r.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        // Set here, the header also keeps Qt from unpacking answers: see ControllaIntestazioni.
        r.setRawHeader("Accept-Encoding", "identity");
        richiesta->Parti(m_rete->get(r));
    }
}

void ClientHttp::Libera(QObject* richiesta)
{
    // Also called from `destroyed`, when only the QObject is left of the request.
    const auto questa = [richiesta](const QPointer<RichiestaHttp>& r) {
        return r.isNull() || static_cast<QObject*>(r.data()) == richiesta;
    };
    m_attesa.removeIf(questa);
    m_tutte.removeIf(questa);
    const auto trovata = m_inVolo.constFind(richiesta);
    if (trovata == m_inVolo.cend())
        return;
    const QString host = *trovata;
    m_inVolo.erase(trovata);
    if (--m_inVoloPerHost[host] <= 0)
        m_inVoloPerHost.remove(host);
    Avanza();
}

EsitoHttp ClientHttp::Get(const QUrl& indirizzo, std::optional<std::chrono::milliseconds> limite)
{
    QObject gruppo;
    RichiestaHttp* richiesta = Avvia(indirizzo, &gruppo, limite);
    QEventLoop ciclo;
    connect(richiesta, &RichiestaHttp::Conclusa, &ciclo, &QEventLoop::quit);
    if (!richiesta->Finita())
        ciclo.exec();
    return richiesta->Esito();
}

void ClientHttp::Interrompi(const QObject* gruppo)
{
    // The waiting ones first: a stopped request frees its slot for the next one in line.
    QList<QPointer<RichiestaHttp>> tutte = m_attesa;
    tutte += m_tutte;
    for (const QPointer<RichiestaHttp>& richiesta : std::as_const(tutte)) {
        if (richiesta && (!gruppo || richiesta->parent() == gruppo))
            richiesta->Interrompi(u"Richiesta interrotta"_s);
    }
}

void ClientHttp::InterrompiTutto()
{
    Interrompi(nullptr);
}
