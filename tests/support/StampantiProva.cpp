#include "support/StampantiProva.h"

#include <QHash>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>

#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The IPP tags and operations the printing library uses with a CUPS server.
enum : quint8 {
    kGruppoOperazione = 0x01,
    kGruppoLavoro = 0x02,
    kFineAttributi = 0x03,
    kGruppoStampante = 0x04,
    kIntero = 0x21,
    kBooleano = 0x22,
    kEnum = 0x23,
    kTesto = 0x41,
    kNome = 0x42,
    kUri = 0x45,
    kCharset = 0x47,
    kLingua = 0x48,
};
enum : quint16 {
    kPrintJob = 0x0002,
    kCreateJob = 0x0005,
    kSendDocument = 0x0006,
    kGetPrinterAttributes = 0x000B,
    kCupsGetPrinters = 0x4002,
};
enum : quint16 { kRiuscita = 0x0000, kNonTrovato = 0x0406 };

// The least a printer description must hold for the printing library to accept the printer.
constexpr char kPpd[] =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"PROVA.PPD\"\n"
    "*Manufacturer: \"Prova\"\n*Product: \"(Prova)\"\n*ModelName: \"Prova\"\n"
    "*ShortNickName: \"Prova\"\n*NickName: \"Prova\"\n*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
    "*FileSystem: False\n*Throughput: \"1\"\n"
    "*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n"
    "*DefaultPageRegion: A4\n*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
    "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n";

struct RichiestaIpp {
    quint16 operazione = 0;
    quint32 id = 0;
    QHash<QByteArray, QByteArray> attributi; // the first value of each
    QByteArray documento;                    // what follows the attributes
};

std::optional<RichiestaIpp> LeggiIpp(const QByteArray& b)
{
    if (b.size() < 8)
        return std::nullopt;
    RichiestaIpp r;
    r.operazione = qFromBigEndian<quint16>(b.constData() + 2);
    r.id = qFromBigEndian<quint32>(b.constData() + 4);
    const auto pezzo = [&](qsizetype& i) {
        const qsizetype lunghezza = i + 2 <= b.size() ? qFromBigEndian<quint16>(b.constData() + i) : 0;
        i += 2;
        const QByteArray testo = b.mid(i, lunghezza);
        i += lunghezza;
        return testo;
    };
    for (qsizetype i = 8; i < b.size();) {
        const quint8 tag = quint8(b[i++]);
        if (tag == kFineAttributi) {
            r.documento = b.mid(i);
            return r;
        }
        if (tag < 0x10)
            continue; // the start of a group
        const QByteArray nome = pezzo(i);
        const QByteArray valore = pezzo(i);
        if (!nome.isEmpty() && !r.attributi.contains(nome))
            r.attributi.insert(nome, valore);
    }
    return std::nullopt;
}

QByteArray Due(quint16 n)
{
    QByteArray b(2, 0);
    qToBigEndian(n, b.data());
    return b;
}

QByteArray Quattro(quint32 n)
{
    QByteArray b(4, 0);
    qToBigEndian(n, b.data());
    return b;
}

QByteArray Attributo(quint8 tag, const QByteArray& nome, const QByteArray& valore)
{
    return char(tag) + Due(quint16(nome.size())) + nome + Due(quint16(valore.size())) + valore;
}

// The printer's name in "ipp://host/printers/NAME".
QString StampanteDi(const QByteArray& uri)
{
    const qsizetype inizio = uri.lastIndexOf("/printers/");
    return inizio < 0 ? QString() : QString::fromUtf8(uri.mid(inizio + 10));
}

struct RichiestaHttp {
    QByteArray metodo;
    QByteArray percorso;
    QByteArray corpo;
};

} // namespace

// Lives in the server thread: one request a connection, which the answer closes.
class AscoltoStampanti : public QObject
{
public:
    explicit AscoltoStampanti(StampantiProva& server) : m_server(server) {}

    quint16 Ascolta()
    {
        connect(&m_tcp, &QTcpServer::newConnection, this, &AscoltoStampanti::Accetta);
        return m_tcp.listen(QHostAddress::LocalHost) ? m_tcp.serverPort() : 0;
    }

private:
    void Accetta()
    {
        while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            auto letto = std::make_shared<QByteArray>();
            auto continua = std::make_shared<bool>(false);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, letto, continua] {
                *letto += socket->readAll();
                if (const auto richiesta = Completa(socket, *letto, *continua)) {
                    QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
                    Rispondi(socket, *richiesta);
                }
            });
        }
    }

    // The request once its body is whole. The printing library asks for a "100 Continue" before
    // it sends a body, and sends documents in chunks.
    static std::optional<RichiestaHttp> Completa(QTcpSocket* socket, const QByteArray& letto, bool& continua)
    {
        const qsizetype fineTesta = letto.indexOf("\r\n\r\n");
        if (fineTesta < 0)
            return std::nullopt;
        const QList<QByteArray> righe = letto.first(fineTesta).split('\n');
        const QList<QByteArray> prima = righe.value(0).trimmed().split(' ');
        RichiestaHttp r{prima.value(0), prima.value(1), {}};
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

    void Rispondi(QTcpSocket* socket, const RichiestaHttp& richiesta)
    {
        QByteArray tipo = "application/ipp";
        QByteArray corpo;
        int stato = 200;
        if (richiesta.metodo == "GET") {
            const bool ppd = richiesta.percorso.endsWith(".ppd");
            stato =
                ppd && m_server.m_stampanti.contains(StampanteDi(richiesta.percorso.chopped(4))) ? 200 : 404;
            tipo = "application/vnd.cups-ppd";
            corpo = stato == 200 ? QByteArray(kPpd) : QByteArray();
        } else if (const auto ipp = LeggiIpp(richiesta.corpo)) {
            corpo = RispostaIpp(*ipp, QString::fromUtf8(richiesta.percorso));
        } else {
            stato = 400;
        }
        socket->write("HTTP/1.1 " + QByteArray::number(stato) + " Stato\r\nContent-Type: " + tipo +
                      "\r\nContent-Length: " + QByteArray::number(corpo.size()) +
                      "\r\nConnection: close\r\n\r\n" + corpo);
        socket->disconnectFromHost();
    }

    QByteArray RispostaIpp(const RichiestaIpp& ipp, const QString& percorso)
    {
        QString stampante = StampanteDi(ipp.attributi.value("printer-uri"));
        if (stampante.isEmpty())
            stampante = StampanteDi(percorso.toUtf8());
        quint16 stato = kRiuscita;
        QByteArray gruppi;
        switch (ipp.operazione) {
        case kCupsGetPrinters:
            for (const QString& nome : m_server.m_stampanti)
                gruppi += Stampante(nome);
            break;
        case kGetPrinterAttributes:
            if (m_server.m_stampanti.contains(stampante))
                gruppi = Stampante(stampante);
            else
                stato = kNonTrovato;
            break;
        case kPrintJob:
        case kCreateJob:
        case kSendDocument:
            gruppi = Lavoro(ipp, stampante);
            break;
        default:
            stato = kNonTrovato; // no default printer, nothing else to tell
        }
        return Due(0x0200) + Due(stato) + Quattro(ipp.id) + char(kGruppoOperazione) +
               Attributo(kCharset, "attributes-charset", "utf-8") +
               Attributo(kLingua, "attributes-natural-language", "en") + gruppi + char(kFineAttributi);
    }

    QByteArray Stampante(const QString& nome) const
    {
        const QByteArray n = nome.toUtf8();
        const QByteArray uri = "ipp://127.0.0.1:" + QByteArray::number(m_tcp.serverPort()) + "/printers/" + n;
        return char(kGruppoStampante) + Attributo(kNome, "printer-name", n) +
               Attributo(kUri, "printer-uri-supported", uri) +
               Attributo(kUri, "device-uri", "file:///dev/null") +
               Attributo(kEnum, "printer-type", Quattro(0x1006)) +
               Attributo(kEnum, "printer-state", Quattro(3)) +
               Attributo(kBooleano, "printer-is-accepting-jobs", QByteArray(1, 1)) +
               Attributo(kTesto, "printer-info", n) + Attributo(kTesto, "printer-make-and-model", "Prova");
    }

    // A new job (Print-Job, Create-Job) or a document for one (Send-Document).
    QByteArray Lavoro(const RichiestaIpp& ipp, const QString& stampante)
    {
        const QMutexLocker blocco(&m_server.m_mutex);
        auto& lavori = m_server.m_lavori;
        const QByteArray id = ipp.attributi.value("job-id");
        qsizetype numero = id.size() == 4 ? qFromBigEndian<quint32>(id.constData()) : 0;
        if (ipp.operazione != kSendDocument) {
            lavori.append({stampante, QString::fromUtf8(ipp.attributi.value("job-name")), {}});
            numero = lavori.size();
        }
        if (numero >= 1 && numero <= lavori.size())
            lavori[numero - 1].documento += ipp.documento;
        return char(kGruppoLavoro) + Attributo(kIntero, "job-id", Quattro(quint32(numero))) +
               Attributo(kEnum, "job-state", Quattro(9));
    }

    StampantiProva& m_server;
    QTcpServer m_tcp{this};
};

StampantiProva::StampantiProva(const QStringList& stampanti)
    : m_ascolto(new AscoltoStampanti(*this)), m_stampanti(stampanti)
{
    m_ascolto->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_ascolto, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(m_ascolto, &AscoltoStampanti::Ascolta, Qt::BlockingQueuedConnection, &m_porta);
    if (m_porta == 0)
        qFatal("StampantiProva: nessuna porta libera su 127.0.0.1");
}

StampantiProva::~StampantiProva()
{
    m_thread.quit();
    m_thread.wait();
}

void StampantiProva::Usa() const
{
    qputenv("CUPS_SERVER", "127.0.0.1:" + QByteArray::number(m_porta));
}

QList<LavoroProva> StampantiProva::Lavori() const
{
    const QMutexLocker blocco(&m_mutex);
    return m_lavori;
}

void StampantiProva::Svuota()
{
    const QMutexLocker blocco(&m_mutex);
    m_lavori.clear();
}
