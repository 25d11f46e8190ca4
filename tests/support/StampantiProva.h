#pragma once
// A loopback print server speaking the CUPS protocol (IPP over HTTP) with printers that exist only for
// the test. Once this process's printing points at it, the system's printer list shows its printers
// and a print on one of them arrives here as a job. It runs in a thread of its own, since printing
// blocks the test thread.

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QStringList>
#include <QThread>

struct LavoroProva {
    QString stampante;
    QString titolo;       // the print job's name
    QByteArray documento; // as sent: a PDF from Qt
};

class AscoltoStampanti;

class StampantiProva
{
public:
    explicit StampantiProva(const QStringList& stampanti); // listening on 127.0.0.1 when it returns
    ~StampantiProva();

    // Points this process's printing at the server (CUPS_SERVER). The printing library reads it once:
    // call this before anything in the process asks for a printer.
    void Usa() const;

    QList<LavoroProva> Lavori() const;
    void Svuota();

private:
    friend class AscoltoStampanti;

    AscoltoStampanti* m_ascolto;
    QThread m_thread;
    quint16 m_porta = 0;
    const QStringList m_stampanti;
    mutable QMutex m_mutex;
    QList<LavoroProva> m_lavori;
};
