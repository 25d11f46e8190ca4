#pragma once
// The program's HTTP client: GET requests over one network manager, always fetched afresh and
// uncompressed, redirects followed (http to https included), with a time limit and a size limit, at
// most so many at once per host, and a stop for every request of one run. Main thread only.

#include "web/RichiestaHttp.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <chrono>
#include <optional>

class Impostazioni;
class QNetworkAccessManager;

class ClientHttp : public QObject
{
    Q_OBJECT

public:
    explicit ClientHttp(QObject* parent = nullptr);

    // TEMPOMAX of INDIRIZZIWEB, in seconds; 30 when missing, zero or invalid.
    static std::chrono::milliseconds TempoMassimo(const Impostazioni& impostazioni);
    void ImpostaTempoMassimo(std::chrono::milliseconds limite) { m_tempoMassimo = limite; }

    // How many requests to one host (and port) may be in flight at once; the others wait their
    // turn, and their time limit starts only when they are sent.
    void ImpostaLimitePerHost(int limite) { m_limitePerHost = qMax(1, limite); }

    // Starts a GET, or queues it. The request is a child of `gruppo`, which owns it; it reports its
    // end through Conclusa(). Addresses other than http and https fail without being requested.
    RichiestaHttp* Avvia(const QUrl& indirizzo, QObject* gruppo,
                         std::optional<std::chrono::milliseconds> limite = std::nullopt);

    // Avvia, waiting for the end in one local event loop.
    EsitoHttp Get(const QUrl& indirizzo, std::optional<std::chrono::milliseconds> limite = std::nullopt);

    // Ends every request of `gruppo`, waiting or in flight, as "Richiesta interrotta".
    void Interrompi(const QObject* gruppo);
    void InterrompiTutto();

private:
    static QString Host(const QUrl& indirizzo);
    void Avanza();
    void Libera(QObject* richiesta);

    QNetworkAccessManager* m_rete;
    std::chrono::milliseconds m_tempoMassimo{30000};
    int m_limitePerHost = 6;
    QList<QPointer<RichiestaHttp>> m_attesa; // in the order they were asked
    QHash<QObject*, QString> m_inVolo;       // request -> its host
    QHash<QString, int> m_inVoloPerHost;
    QList<QPointer<RichiestaHttp>> m_tutte; // waiting or in flight, for the stops
};
