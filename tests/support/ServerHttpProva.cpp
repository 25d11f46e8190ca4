#include "support/ServerHttpProva.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <cctype>
#include <memory>
#include <optional>

namespace {

// The request once its body is whole: Content-Length bytes, or chunks. The printing library asks for a
// "100 Continue" before it sends a body.
std::optional<RichiestaProva> Completa(QTcpSocket* socket, const QByteArray& letto, bool& continua)
{
    const qsizetype fineTesta = letto.indexOf("\r\n\r\n");
    if (fineTesta < 0)
        return std::nullopt;
    const QList<QByteArray> righe = letto.first(fineTesta).split('\n');
    const QList<QByteArray> prima = righe.value(0).trimmed().split(' ');
    RichiestaProva r{prima.value(0), prima.value(1), {}};
    qsizetype lunghezza = 0;
    bool aPezzi = false;
    for (const QByteArray& riga : righe.mid(1)) {
        const qsizetype duePunti = riga.indexOf(':');
        const QByteArray nome = riga.left(duePunti).trimmed().toLower();
        const QByteArray valore = riga.mid(duePunti + 1).trimmed().toLower();
        if (nome == "content-length")
            lunghezza = valore.toLongLong();
        aPezzi = aPezzi || (nome == "transfer-encoding" && valore == "chunked");
        if (nome == "expect" && valore == "100-continue" && !continua) {
            continua = true;
            socket->write("HTTP/1.1 100 Continue\r\n\r\n");
        }
    }
    const QByteArray resto = letto.mid(fineTesta + 4);
    if (!aPezzi) {
        if (resto.size() < lunghezza)
            return std::nullopt;
        r.corpo = resto.first(lunghezza);
        return r;
    }
    for (qsizetype i = 0;;) {
        const qsizetype fineRiga = resto.indexOf("\r\n", i);
        if (fineRiga < 0)
            return std::nullopt;
        const qsizetype pezzo = resto.mid(i, fineRiga - i).toLongLong(nullptr, 16);
        if (pezzo == 0)
            return r;
        if (resto.size() < fineRiga + 2 + pezzo + 2)
            return std::nullopt;
        r.corpo += resto.mid(fineRiga + 2, pezzo);
        i = fineRiga + 2 + pezzo + 2;
    }
}

// Collects the request and answers it once whole; anything that is not HTTP (a TLS greeting) gets a
// 400 at once.
void Leggi(QTcpSocket* socket, const ServerHttpProva::Risponditore& risponditore)
{
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto letto = std::make_shared<QByteArray>();
    auto continua = std::make_shared<bool>(false);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [=] {
        *letto += socket->readAll();
        if (letto->isEmpty())
            return;
        const bool http = std::isupper(uchar(letto->front()));
        const std::optional<RichiestaProva> richiesta =
            http ? Completa(socket, *letto, *continua) : std::nullopt;
        if (http && !richiesta)
            return;
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr); // one request a connection
        if (richiesta)
            return risponditore(socket, *richiesta);
        socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
    });
}

} // namespace

ServerHttpProva::ServerHttpProva(const Risponditore& risponditore)
{
    auto* tcp = new QTcpServer;
    tcp->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, tcp, &QObject::deleteLater);
    QObject::connect(tcp, &QTcpServer::newConnection, tcp, [tcp, risponditore] {
        while (QTcpSocket* socket = tcp->nextPendingConnection())
            Leggi(socket, risponditore);
    });
    m_thread.start();
    const auto ascolta = [tcp] {
        return tcp->listen(QHostAddress::LocalHost) ? tcp->serverPort() : quint16(0);
    };
    QMetaObject::invokeMethod(tcp, ascolta, Qt::BlockingQueuedConnection, &m_porta);
    if (m_porta == 0)
        qFatal("Nessuna porta libera su 127.0.0.1");
}

ServerHttpProva::~ServerHttpProva()
{
    m_thread.quit();
    m_thread.wait();
}
