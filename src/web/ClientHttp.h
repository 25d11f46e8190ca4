#pragma once
// The program's HTTP client: GET requests over one shared network manager, always fetched afresh,
// redirects followed (http to https included), with a time limit and a size limit. Main thread only.

#include "web/RichiestaHttp.h"

#include <QUrl>

#include <chrono>

class ClientHttp
{
public:
    // TEMPOMAX of INDIRIZZIWEB in the settings file, in seconds; 30 when missing, zero or invalid.
    static std::chrono::milliseconds TempoMassimo();

    // Starts a GET; the caller owns the request and learns of its end through Conclusa().
    // Addresses other than http and https fail without being requested.
    static RichiestaHttp* Avvia(const QUrl& indirizzo, std::chrono::milliseconds limite = TempoMassimo(),
                                QObject* genitore = nullptr);

    // Avvia, waiting for the end in a local event loop: windows keep painting and a stop button
    // can call InterrompiTutto.
    static EsitoHttp Get(const QUrl& indirizzo, std::chrono::milliseconds limite = TempoMassimo());

    // Ends every request in flight as "Richiesta interrotta".
    static void InterrompiTutto();
};
