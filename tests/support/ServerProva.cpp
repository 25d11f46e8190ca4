#include "support/ServerProva.h"

#include <QMutexLocker>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

#include <sys/socket.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// After what was written has gone; a reset, with no orderly end of the stream, when asked.
void Chiudi(QTcpSocket* socket, const PaginaProva& pagina)
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
void InviaGenerati(QTcpSocket* socket, qsizetype byte)
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
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, riempi);
    riempi();
}

void Invia(QTcpSocket* socket, const PaginaProva& pagina)
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
    QObject::connect(orologio, &QTimer::timeout, socket, [=] {
        socket->write(corpo.mid(*inviati, pagina.pezzoByte));
        *inviati += pagina.pezzoByte;
        if (*inviati >= corpo.size()) {
            orologio->stop();
            Chiudi(socket, pagina);
        }
    });
    orologio->start(pagina.intervalloMs);
}

} // namespace

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

ServerProva::ServerProva()
    : m_http([this](QTcpSocket* socket, const RichiestaProva& richiesta) {
          Rispondi(socket, QString::fromLatin1(richiesta.destinazione));
      })
{}

QUrl ServerProva::Indirizzo(const QString& percorso) const
{
    return QUrl(u"http://127.0.0.1:%1%2"_s.arg(Porta()).arg(percorso));
}

void ServerProva::Imposta(const QString& percorso, const QList<PaginaProva>& pagine)
{
    Q_ASSERT(!pagine.isEmpty());
    const QMutexLocker blocco(&m_mutex);
    m_pagine.insert(percorso, pagine);
}

QStringList ServerProva::Richieste() const
{
    const QMutexLocker blocco(&m_mutex);
    return m_richieste;
}

QList<QStringList> ServerProva::Contemporanee() const
{
    const QMutexLocker blocco(&m_mutex);
    return m_contemporanee;
}

void ServerProva::Svuota()
{
    const QMutexLocker blocco(&m_mutex);
    m_pagine.clear();
    m_richieste.clear();
    m_inRisposta.clear();
    m_contemporanee.clear();
    m_inviati = 0;
}

void ServerProva::Rispondi(QTcpSocket* socket, const QString& destinazione)
{
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this](qint64 n) { m_inviati += n; });
    PaginaProva pagina = PaginaProva::Html("Pagina non trovata");
    pagina.stato = 404;
    {
        const QMutexLocker blocco(&m_mutex);
        m_richieste.append(destinazione);
        m_inRisposta.append(destinazione);
        m_contemporanee.append(m_inRisposta);
        auto trovata = m_pagine.find(destinazione);
        if (trovata == m_pagine.end())
            trovata = m_pagine.find(destinazione.section(u'?', 0, 0));
        if (trovata != m_pagine.end())
            pagina = trovata->size() > 1 ? trovata->takeFirst() : trovata->first();
    }
    // As the answer begins (or the connection ends).
    const auto risposta = [this, destinazione] {
        const QMutexLocker blocco(&m_mutex);
        m_inRisposta.removeOne(destinazione);
    };
    if (pagina.chiudiSubito) {
        risposta();
        socket->disconnectFromHost();
    } else if (pagina.maiRisposta) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, risposta);
    } else {
        QTimer::singleShot(pagina.ritardoMs, socket, [socket, pagina, risposta] {
            risposta();
            Invia(socket, pagina);
        });
    }
}
