#pragma once
// A loopback HTTP server imitating the agencies' pages. Every answer closes its connection.

#include "support/ServerHttpProva.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QStringList>
#include <QUrl>

#include <atomic>

struct PaginaProva {
    int stato = 200;
    QList<QPair<QByteArray, QByteArray>> intestazioni; // "Content-Type: text/html" when none is given
    QByteArray corpo;
    int ritardoMs = 0;           // wait before answering
    int pezzoByte = 0;           // when above 0 the body goes out in pieces of this size...
    int intervalloMs = 0;        // ...one every so many milliseconds
    bool senzaLunghezza = false; // no Content-Length: the close ends the body
    qsizetype chiudiDopo = -1;   // drop the connection after this many body bytes...
    bool reimposta = false;      // ...with a reset rather than an orderly close
    bool maiRisposta = false;    // read the request, never answer
    bool chiudiSubito = false;   // read the request, close without a word
    qsizetype generati = 0;      // when above 0, the body is this many bytes of "x", chunked, made as it goes

    static PaginaProva Html(const QByteArray& corpo, const QByteArray& tipo = "text/html");
    static PaginaProva Redirezione(const QByteArray& destinazione, int stato = 302);
};

class ServerProva
{
public:
    ServerProva(); // listening on 127.0.0.1 when it returns

    quint16 Porta() const { return m_http.Porta(); }
    // "http://127.0.0.1:<port>" followed by `percorso` ("/path?query").
    QUrl Indirizzo(const QString& percorso) const;

    // `percorso` with a query matches only that exact address; without one, any query on that path.
    // Unknown addresses get a 404.
    void Imposta(const QString& percorso, const PaginaProva& pagina)
    {
        Imposta(percorso, QList<PaginaProva>{pagina});
    }
    // Each request to `percorso` takes the next of `pagine`; the last one answers every later request.
    void Imposta(const QString& percorso, const QList<PaginaProva>& pagine);
    // The request targets ("/path?query", as sent) received so far, in order.
    QStringList Richieste() const;
    // For each request received, in order: the targets of the requests being answered as it came
    // (received, their answer not yet begun), itself included.
    QList<QStringList> Contemporanee() const;
    // The bytes the system took from the server so far, headers included: what the clients could read.
    qint64 ByteInviati() const { return m_inviati; }
    // Forgets the pages and the requests.
    void Svuota();

private:
    // In the server thread: logs the request and answers it with its page.
    void Rispondi(QTcpSocket* socket, const QString& destinazione);

    mutable QMutex m_mutex;
    QHash<QString, QList<PaginaProva>> m_pagine;
    QStringList m_richieste;
    QStringList m_inRisposta;
    QList<QStringList> m_contemporanee;
    std::atomic<qint64> m_inviati = 0;
    ServerHttpProva m_http; // last: it stops first
};
