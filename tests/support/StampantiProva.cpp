#include "support/StampantiProva.h"

#include <QHash>
#include <QMutexLocker>
#include <QTcpSocket>
#include <QtEndian>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The IPP tags and operations the printing library uses with a CUPS server.
enum : quint8 { kGruppoOperazione = 0x01, kGruppoLavoro, kFineAttributi, kGruppoStampante };
enum : quint8 { kIntero = 0x21, kEnum = 0x23, kNome = 0x42, kUri = 0x45, kCharset = 0x47, kLingua };
enum : quint16 { kPrintJob = 0x02, kCreateJob = 0x05, kSendDocument, kGetPrinterAttributes = 0x0B };
enum : quint16 { kCupsGetPrinters = 0x4002, kRiuscita = 0x0000, kNonTrovato = 0x0406 };

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
        i += 2 + lunghezza;
        return b.mid(i - lunghezza, lunghezza);
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

template <typename T> QByteArray BigEndian(T n)
{
    QByteArray b(sizeof n, 0);
    qToBigEndian(n, b.data());
    return b;
}

QByteArray Attributo(quint8 tag, const QByteArray& nome, const QByteArray& valore)
{
    return char(tag) + BigEndian(quint16(nome.size())) + nome + BigEndian(quint16(valore.size())) + valore;
}

// The printer's name in "ipp://host/printers/NAME".
QString StampanteDi(const QByteArray& uri)
{
    const qsizetype inizio = uri.lastIndexOf("/printers/");
    return inizio < 0 ? QString() : QString::fromUtf8(uri.mid(inizio + 10));
}

QByteArray Stampante(const QString& nome, quint16 porta)
{
    const QByteArray n = nome.toUtf8();
    return char(kGruppoStampante) + Attributo(kNome, "printer-name", n) +
           Attributo(kUri, "printer-uri-supported",
                     "ipp://127.0.0.1:" + QByteArray::number(porta) + "/printers/" + n) +
           Attributo(kEnum, "printer-type", BigEndian(quint32(0x1006)));
}

// A new job (Print-Job, Create-Job) or a document for one (Send-Document).
QByteArray Lavoro(QList<LavoroProva>& lavori, const RichiestaIpp& ipp, const QString& stampante)
{
    const QByteArray id = ipp.attributi.value("job-id");
    qsizetype numero = id.size() == 4 ? qFromBigEndian<quint32>(id.constData()) : 0;
    if (ipp.operazione != kSendDocument) {
        lavori.append({stampante, QString::fromUtf8(ipp.attributi.value("job-name")), {}});
        numero = lavori.size();
    }
    if (numero >= 1 && numero <= lavori.size())
        lavori[numero - 1].documento += ipp.documento;
    return char(kGruppoLavoro) + Attributo(kIntero, "job-id", BigEndian(quint32(numero))) +
           Attributo(kEnum, "job-state", BigEndian(quint32(9)));
}

} // namespace

StampantiProva::StampantiProva(const QStringList& stampanti)
    : m_stampanti(stampanti),
      m_http([this](QTcpSocket* socket, const RichiestaProva& richiesta) { Rispondi(socket, richiesta); })
{}

void StampantiProva::Usa() const
{
    qputenv("CUPS_SERVER", "127.0.0.1:" + QByteArray::number(m_http.Porta()));
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

// Printer descriptions (a GET of a ".ppd") get a 404: the printing library does without them.
void StampantiProva::Rispondi(QTcpSocket* socket, const RichiestaProva& richiesta)
{
    const std::optional<RichiestaIpp> ipp = LeggiIpp(richiesta.corpo);
    QByteArray corpo;
    if (ipp) {
        QString stampante = StampanteDi(ipp->attributi.value("printer-uri"));
        if (stampante.isEmpty())
            stampante = StampanteDi(richiesta.destinazione);
        quint16 esito = kRiuscita;
        if (ipp->operazione == kCupsGetPrinters) {
            for (const QString& nome : m_stampanti)
                corpo += Stampante(nome, m_http.Porta());
        } else if (ipp->operazione == kGetPrinterAttributes && m_stampanti.contains(stampante)) {
            corpo = Stampante(stampante, m_http.Porta());
        } else if (ipp->operazione == kPrintJob || ipp->operazione == kCreateJob ||
                   ipp->operazione == kSendDocument) {
            const QMutexLocker blocco(&m_mutex);
            corpo = Lavoro(m_lavori, *ipp, stampante);
        } else {
            esito = kNonTrovato; // an unknown printer; no default printer, nothing else to tell
        }
        corpo = BigEndian(quint16(0x0200)) + BigEndian(esito) + BigEndian(ipp->id) + char(kGruppoOperazione) +
                Attributo(kCharset, "attributes-charset", "utf-8") +
                Attributo(kLingua, "attributes-natural-language", "en") + corpo + char(kFineAttributi);
    }
    socket->write((ipp ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                  "Content-Type: application/ipp\r\nContent-Length: "_ba + QByteArray::number(corpo.size()) +
                  "\r\nConnection: close\r\n\r\n" + corpo);
    socket->disconnectFromHost();
}
