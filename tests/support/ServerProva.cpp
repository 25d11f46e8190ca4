#include "support/ServerProva.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cctype>
#include <memory>

#include <sys/socket.h>

using namespace Qt::Literals::StringLiterals;

// Lives in the server thread: accepts connections, reads one request from each, answers it.
class AscoltoProva : public QObject
{
public:
    explicit AscoltoProva(ServerProva& server) : m_server(server) {}

    quint16 Ascolta()
    {
        connect(&m_tcp, &QTcpServer::newConnection, this, &AscoltoProva::Accetta);
        return m_tcp.listen(QHostAddress::LocalHost) ? m_tcp.serverPort() : 0;
    }

private:
    void Accetta()
    {
        while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::bytesWritten, this, [this](qint64 n) { m_server.m_inviati += n; });
            auto letto = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, letto] { Leggi(socket, *letto); });
        }
    }

    // Collects the request and answers it once whole; anything that is not HTTP (a TLS greeting)
    // gets a 400 at once.
    void Leggi(QTcpSocket* socket, QByteArray& letto)
    {
        letto += socket->readAll();
        const bool http = !letto.isEmpty() && std::isupper(uchar(letto.front()));
        if (letto.isEmpty() || (http && !letto.contains("\r\n\r\n")))
            return;
        const QByteArray richiesta = letto; // `letto` goes with the connection
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr); // one request a connection
        if (!http) {
            socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        const QList<QByteArray> riga = richiesta.first(richiesta.indexOf("\r\n")).split(' ');
        Rispondi(socket, m_server.Registra(QString::fromLatin1(riga.value(1))));
    }

    static void Rispondi(QTcpSocket* socket, const PaginaProva& pagina)
    {
        if (pagina.chiudiSubito)
            socket->disconnectFromHost();
        else if (!pagina.maiRisposta)
            QTimer::singleShot(pagina.ritardoMs, socket, [socket, pagina] { Invia(socket, pagina); });
    }

    // After what was written has gone; a reset, with no orderly end of the stream, when asked.
    static void Chiudi(QTcpSocket* socket, const PaginaProva& pagina)
    {
        if (!pagina.reimposta)
            return socket->disconnectFromHost();
        socket->flush();
        const linger subito{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &subito, sizeof subito);
        socket->abort();
    }

    // A chunked body of `byte` bytes, made piece by piece as the client takes them: the server never
    // holds it, and how far it got shows how much the client read.
    static void InviaGenerati(QTcpSocket* socket, qsizetype byte)
    {
        auto restanti = std::make_shared<qsizetype>(byte);
        const auto riempi = [socket, restanti] {
            while (*restanti > 0 && socket->bytesToWrite() < 256 * 1024) {
                const qsizetype n = std::min<qsizetype>(*restanti, 64 * 1024);
                socket->write(QByteArray::number(n, 16) + "\r\n" + QByteArray(n, 'x') + "\r\n");
                *restanti -= n;
                if (*restanti == 0) {
                    socket->write("0\r\n\r\n");
                    socket->disconnectFromHost();
                }
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, riempi);
        riempi();
    }

    static void Invia(QTcpSocket* socket, const PaginaProva& pagina)
    {
        QByteArray testa = "HTTP/1.1 " + QByteArray::number(pagina.stato) + " Stato\r\n";
        bool conTipo = false;
        for (const auto& [nome, valore] : pagina.intestazioni) {
            testa += nome + ": " + valore + "\r\n";
            conTipo = conTipo || nome.compare("content-type", Qt::CaseInsensitive) == 0;
        }
        if (!conTipo)
            testa += "Content-Type: text/html\r\n";
        if (pagina.generati > 0)
            testa += "Transfer-Encoding: chunked\r\n";
        else if (!pagina.senzaLunghezza)
            testa += "Content-Length: " + QByteArray::number(pagina.corpo.size()) + "\r\n";
        socket->write(testa + "Connection: close\r\n\r\n");
        if (pagina.generati > 0)
            return InviaGenerati(socket, pagina.generati);

        const QByteArray corpo = pagina.chiudiDopo >= 0
                                     ? pagina.corpo.first(std::min(pagina.chiudiDopo, pagina.corpo.size()))
                                     : pagina.corpo;
        if (pagina.pezzoByte <= 0) {
            socket->write(corpo);
            Chiudi(socket, pagina);
            return;
        }
        auto* orologio = new QTimer(socket);
        auto inviati = std::make_shared<qsizetype>(0);
        connect(orologio, &QTimer::timeout, socket, [=] {
            socket->write(corpo.mid(*inviati, pagina.pezzoByte));
            *inviati += pagina.pezzoByte;
            if (*inviati >= corpo.size()) {
                orologio->stop();
                Chiudi(socket, pagina);
            }
        });
        orologio->start(pagina.intervalloMs);
    }

    ServerProva& m_server;
    QTcpServer m_tcp{this};
};

PaginaProva PaginaProva::Html(const QByteArray& corpo, const QByteArray& tipo)
{
    PaginaProva pagina;
    pagina.intestazioni = {{"Content-Type", tipo}};
    pagina.corpo = corpo;
    return pagina;
}

PaginaProva PaginaProva::Redirezione(const QByteArray& destinazione, int stato)
{
    PaginaProva pagina;
    pagina.stato = stato;
    pagina.intestazioni = {{"Location", destinazione}};
    return pagina;
}

ServerProva::ServerProva() : m_ascolto(new AscoltoProva(*this))
{
    m_ascolto->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_ascolto, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(m_ascolto, &AscoltoProva::Ascolta, Qt::BlockingQueuedConnection, &m_porta);
    if (m_porta == 0)
        qFatal("ServerProva: nessuna porta libera su 127.0.0.1");
}

ServerProva::~ServerProva()
{
    m_thread.quit();
    m_thread.wait();
}

QUrl ServerProva::Indirizzo(const QString& percorso) const
{
    return QUrl(u"http://127.0.0.1:%1%2"_s.arg(m_porta).arg(percorso));
}

void ServerProva::Imposta(const QString& percorso, const PaginaProva& pagina)
{
    const QMutexLocker blocco(&m_mutex);
    m_pagine.insert(percorso, pagina);
}

QStringList ServerProva::Richieste() const
{
    const QMutexLocker blocco(&m_mutex);
    return m_richieste;
}

void ServerProva::Svuota()
{
    const QMutexLocker blocco(&m_mutex);
    m_pagine.clear();
    m_richieste.clear();
    m_inviati = 0;
}

PaginaProva ServerProva::Registra(const QString& destinazione)
{
    const QMutexLocker blocco(&m_mutex);
    m_richieste.append(destinazione);
    if (const auto trovata = m_pagine.constFind(destinazione); trovata != m_pagine.cend())
        return *trovata;
    if (const auto trovata = m_pagine.constFind(destinazione.section(u'?', 0, 0)); trovata != m_pagine.cend())
        return *trovata;
    PaginaProva assente = PaginaProva::Html("Pagina non trovata");
    assente.stato = 404;
    return assente;
}
