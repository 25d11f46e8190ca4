#include "web/ClientHttp.h"

#include "app/Globali.h"
#include "core/FileIni.h"
#include "core/Valori.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QPointer<QNetworkAccessManager> gRete;

QNetworkAccessManager& Rete()
{
    if (!gRete) {
        gRete = new QNetworkAccessManager;
        gRete->setCache(nullptr);
        gRete->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        // Gone while the application still exists: Qt's TLS cleanup needs it.
        qAddPostRoutine([] { delete gRete; });
    }
    return *gRete;
}

} // namespace

std::chrono::milliseconds ClientHttp::TempoMassimo()
{
    constexpr double kPredefinito = 30, kMassimo = 24 * 3600; // a day: beyond that QTimer overflows soon
    double secondi = ValNum(LeggiIni(gFileIni, u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s));
    if (!(secondi > 0) || !std::isfinite(secondi))
        secondi = kPredefinito;
    return std::chrono::milliseconds(std::llround(std::min(secondi, kMassimo) * 1000));
}

RichiestaHttp* ClientHttp::Avvia(const QUrl& indirizzo, std::chrono::milliseconds limite, QObject* genitore)
{
    const QString schema = indirizzo.scheme().toLower();
    if (!indirizzo.isValid() || indirizzo.host().isEmpty() || (schema != u"http"_s && schema != u"https"_s))
        return new RichiestaHttp(indirizzo, u"Indirizzo non valido: %1"_s.arg(indirizzo.toString()),
                                 genitore);
    QNetworkRequest richiesta(indirizzo);
    richiesta.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    richiesta.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    return new RichiestaHttp(Rete().get(richiesta), limite, genitore);
}

EsitoHttp ClientHttp::Get(const QUrl& indirizzo, std::chrono::milliseconds limite)
{
    const std::unique_ptr<RichiestaHttp> richiesta(Avvia(indirizzo, limite));
    QEventLoop ciclo;
    QObject::connect(richiesta.get(), &RichiestaHttp::Conclusa, &ciclo, &QEventLoop::quit);
    if (!richiesta->Finita())
        ciclo.exec();
    return richiesta->Esito();
}

void ClientHttp::InterrompiTutto()
{
    for (QNetworkReply* risposta : Rete().findChildren<QNetworkReply*>())
        risposta->abort();
}
