#pragma once
// A loopback HTTP server in a thread of its own, so it keeps answering while the test thread blocks (a
// child process, a print). It reads one request a connection and hands it, in its own thread, to the
// answerer, which writes the answer on the socket.

#include <QByteArray>
#include <QThread>

#include <functional>

class QTcpSocket;

struct RichiestaProva {
    QByteArray metodo;
    QByteArray destinazione; // "/path?query", as sent
    QByteArray corpo;
};

class ServerHttpProva
{
public:
    using Risponditore = std::function<void(QTcpSocket*, const RichiestaProva&)>;

    explicit ServerHttpProva(const Risponditore& risponditore); // listening on 127.0.0.1 when it returns
    ~ServerHttpProva();

    quint16 Porta() const { return m_porta; }

private:
    QThread m_thread;
    quint16 m_porta = 0;
};
