#pragma once
// A loopback print server speaking the CUPS protocol (IPP over HTTP) with printers that exist only for
// the test. Once this process's printing points at it, the system's printer list shows its printers
// and a print on one of them arrives here as a job.

#include "support/ServerHttpProva.h"

#include <QList>
#include <QMutex>
#include <QStringList>

struct LavoroProva {
    QString stampante;
    QString titolo;       // the print job's name
    QByteArray documento; // as sent: a PDF from Qt
};

class StampantiProva
{
public:
    explicit StampantiProva(const QStringList& stampanti); // listening on 127.0.0.1 when it returns

    // Points this process's printing at the server (CUPS_SERVER). The printing library reads it once:
    // call this before anything in the process asks for a printer.
    void Usa() const;

    QList<LavoroProva> Lavori() const;
    void Svuota();

private:
    // In the server thread.
    void Rispondi(QTcpSocket* socket, const RichiestaProva& richiesta);

    const QStringList m_stampanti;
    mutable QMutex m_mutex;
    QList<LavoroProva> m_lavori;
    ServerHttpProva m_http; // last: it stops first
};
