#include "app/Globali.h"
#include "core/FileIni.h"
#include "support/ServerProva.h"
#include "web/ClientHttp.h"

#include <QElapsedTimer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(PaginaProva)

class TestClientHttp : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ServerProva> m_server;
    QTemporaryDir m_dir;

    static PaginaProva Pagina(const QByteArray& corpo) { return PaginaProva::Html(corpo); }

private Q_SLOTS:
    void initTestCase() { m_server = std::make_unique<ServerProva>(); }

    void init()
    {
        m_server->Svuota();
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        QFile::remove(gFileIni);
    }

    void decodifica_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QString>("atteso");

        QTest::newRow("UTF-8 by default") << "text/html"_ba
                                          << "<p>Citt\xc3\xa0 \xe2\x82\xac</p>"_ba << u"<p>Città €</p>"_s;
        QTest::newRow("header windows-1252") << "text/html; charset=windows-1252"_ba
                                             << "<p>Citt\xe0 \x80</p>"_ba << u"<p>Città €</p>"_s;
        QTest::newRow("header latin-1 read as 1252") << "text/html;charset=ISO-8859-1"_ba
                                                     << "\xe0\x80"_ba << u"à€"_s;
        QTest::newRow("header quoted") << "text/html; charset=\"UTF-8\""_ba
                                       << "\xc3\xa0"_ba << u"à"_s;
        QTest::newRow("header other charset") << "text/html; charset=iso-8859-15"_ba
                                              << "\xa4"_ba << u"€"_s;
        QTest::newRow("header unknown charset") << "text/html; charset=x-nessuno"_ba
                                                << "\xc3\xa0"_ba << u"à"_s;
        QTest::newRow("meta charset") << "text/html"_ba
                                      << "<meta charset=\"windows-1252\"><p>\xe0</p>"_ba
                                      << u"<meta charset=\"windows-1252\"><p>à</p>"_s;
        QTest::newRow("meta http-equiv")
            << "text/html"_ba
            << "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">\xe0"_ba
            << u"<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">à"_s;
        QTest::newRow("meta after another")
            << "text/html"_ba
            << "<meta name=x><meta charset=cp1252>\x80"_ba << u"<meta name=x><meta charset=cp1252>€"_s;
        QTest::newRow("header wins over meta")
            << "text/html; charset=utf-8"_ba
            << "<meta charset=windows-1252>\xc3\xa0"_ba << u"<meta charset=windows-1252>à"_s;
        QTest::newRow("unclosed meta ignored")
            << "text/html"_ba
            << "<meta charset=windows-1252 \xe0"_ba << u"<meta charset=windows-1252 \uFFFD"_s;
        QTest::newRow("invalid UTF-8") << "text/html"_ba
                                       << "\xff<p>\xc3</p>\xc3"_ba << u"\uFFFD<p>\uFFFD</p>\uFFFD"_s;
        QTest::newRow("empty body") << "text/html; charset=windows-1252"_ba << QByteArray() << QString();
    }

    void decodifica()
    {
        QFETCH(QByteArray, tipo);
        QFETCH(QByteArray, corpo);
        QFETCH(QString, atteso);
        m_server->Imposta(u"/pagina"_s, PaginaProva::Html(corpo, tipo));
        const EsitoHttp esito = ClientHttp::Get(m_server->Indirizzo(u"/pagina"_s));
        QVERIFY2(esito.riuscita, qPrintable(esito.errore));
        QCOMPARE(esito.stato, 200);
        QCOMPARE(esito.corpo, corpo);
        QCOMPARE(esito.testo, atteso);
    }

    // The status is reported, not judged: an error page is still a page.
    void stato_data()
    {
        QTest::addColumn<int>("stato");
        for (const int stato : {200, 400, 404, 500})
            QTest::addRow("%d", stato) << stato;
    }

    void stato()
    {
        QFETCH(int, stato);
        PaginaProva pagina = Pagina("<h1>Errore</h1>");
        pagina.stato = stato;
        m_server->Imposta(u"/s"_s, pagina);
        const EsitoHttp esito = ClientHttp::Get(m_server->Indirizzo(u"/s?n=1"_s));
        QVERIFY2(esito.riuscita, qPrintable(esito.errore));
        QCOMPARE(esito.stato, stato);
        QCOMPARE(esito.testo, u"<h1>Errore</h1>"_s);
    }

    void redirezione()
    {
        m_server->Imposta(u"/vecchia"_s,
                          PaginaProva::Redirezione(m_server->Indirizzo(u"/nuova?x=1"_s).toEncoded(), 301));
        m_server->Imposta(u"/nuova?x=1"_s, Pagina("nuova"));
        const EsitoHttp esito = ClientHttp::Get(m_server->Indirizzo(u"/vecchia"_s));
        QVERIFY2(esito.riuscita, qPrintable(esito.errore));
        QCOMPARE(esito.testo, u"nuova"_s);
        QCOMPARE(esito.indirizzo, m_server->Indirizzo(u"/nuova?x=1"_s));
        QCOMPARE(m_server->Richieste(), QStringList({u"/vecchia"_s, u"/nuova?x=1"_s}));
    }

    // Our server speaks plain HTTP, so any TLS handshake with it fails: enough to see that a TLS
    // failure is reported, and that a redirect from http to https is followed.
    void tls()
    {
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend");
        const QUrl sicuro = QUrl(u"https://127.0.0.1:%1/sicura"_s.arg(m_server->Porta()));
        EsitoHttp esito = ClientHttp::Get(sicuro, 5s);
        QVERIFY(!esito.riuscita);
        QCOMPARE(esito.errore, u"Errore nella connessione sicura (TLS)"_s);

        m_server->Imposta(u"/verso-https"_s, PaginaProva::Redirezione(sicuro.toEncoded()));
        esito = ClientHttp::Get(m_server->Indirizzo(u"/verso-https"_s), 5s);
        QCOMPARE(esito.errore, u"Errore nella connessione sicura (TLS)"_s);
        QCOMPARE(esito.indirizzo, sicuro);
    }

    void limiti_data()
    {
        QTest::addColumn<PaginaProva>("pagina");
        QTest::addColumn<int>("limiteMs");
        QTest::addColumn<QString>("errore"); // "" for success

        const QString tempo = u"Tempo massimo di attesa della risposta superato"_s;
        const QString grande = u"Risposta troppo grande (oltre 4 MiB)"_s;
        const QByteArray quattroMiB(RichiestaHttp::kDimensioneMassima, 'x');
        PaginaProva p;

        p = {}, p.maiRisposta = true;
        QTest::newRow("never answers") << p << 300 << tempo;
        p = Pagina("tardi"), p.ritardoMs = 3000;
        QTest::newRow("answers too late") << p << 300 << tempo;
        p = Pagina(QByteArray(60, 'x')), p.pezzoByte = 5, p.intervalloMs = 100;
        QTest::newRow("body trickles past the limit") << p << 400 << tempo;
        p = Pagina(QByteArray(50, 'x')), p.pezzoByte = 10, p.intervalloMs = 20;
        QTest::newRow("body trickles in time") << p << 5000 << QString();
        p = Pagina(QByteArray(1000, 'x')), p.chiudiDopo = 100;
        QTest::newRow("dropped mid-body")
            << p << 5000 << u"Connessione chiusa dal server prima della fine della risposta"_s;
        p = Pagina(QByteArray(1000, 'x')), p.chiudiDopo = 0;
        QTest::newRow("dropped before the body")
            << p << 5000 << u"Connessione chiusa dal server prima della fine della risposta"_s;
        p = Pagina("fino alla chiusura"), p.senzaLunghezza = true;
        QTest::newRow("no length, ends at close") << p << 5000 << QString();
        p = Pagina(quattroMiB);
        QTest::newRow("4 MiB exactly") << p << 5000 << QString();
        p.senzaLunghezza = true;
        QTest::newRow("4 MiB exactly, no length") << p << 5000 << QString();
        p = Pagina(quattroMiB + 'x');
        QTest::newRow("over 4 MiB") << p << 5000 << grande;
        p.senzaLunghezza = true;
        QTest::newRow("over 4 MiB, no length") << p << 5000 << grande;
    }

    void limiti()
    {
        QFETCH(PaginaProva, pagina);
        QFETCH(int, limiteMs);
        QFETCH(QString, errore);
        m_server->Imposta(u"/p"_s, pagina);
        const EsitoHttp esito =
            ClientHttp::Get(m_server->Indirizzo(u"/p"_s), std::chrono::milliseconds(limiteMs));
        QCOMPARE(esito.errore, errore);
        QCOMPARE(esito.riuscita, errore.isEmpty());
        QCOMPARE(esito.corpo, esito.riuscita ? pagina.corpo : QByteArray());
    }

    void indirizzoNonValido_data()
    {
        QTest::addColumn<QString>("indirizzo");
        QTest::newRow("empty") << QString();
        QTest::newRow("no host") << u"http://"_s;
        QTest::newRow("local file") << u"file:///etc/passwd"_s;
        QTest::newRow("ftp") << u"ftp://127.0.0.1/x"_s;
        QTest::newRow("not an address") << u"IT 123 & ../#"_s;
    }

    void indirizzoNonValido()
    {
        QFETCH(QString, indirizzo);
        const EsitoHttp esito = ClientHttp::Get(QUrl(indirizzo), 1s);
        QVERIFY(!esito.riuscita);
        QVERIFY2(esito.errore.startsWith(u"Indirizzo non valido"_s), qPrintable(esito.errore));
        QVERIFY(m_server->Richieste().isEmpty());
    }

    void connessioneRifiutata()
    {
        QTcpServer libero;
        QVERIFY(libero.listen(QHostAddress::LocalHost));
        const quint16 porta = libero.serverPort();
        libero.close();
        const EsitoHttp esito = ClientHttp::Get(QUrl(u"http://127.0.0.1:%1/"_s.arg(porta)), 5s);
        QVERIFY(!esito.riuscita);
        QCOMPARE(esito.errore, u"Connessione rifiutata dal server"_s);
        QCOMPARE(esito.stato, 0);
    }

    void tempoMassimo_data()
    {
        QTest::addColumn<QString>("valore"); // null: no settings file
        QTest::addColumn<int>("secondi");
        QTest::newRow("no file") << QString() << 30;
        QTest::newRow("blank") << u""_s << 30;
        QTest::newRow("zero") << u"0"_s << 30;
        QTest::newRow("negative") << u"-5"_s << 30;
        QTest::newRow("not a number") << u"presto"_s << 30;
        QTest::newRow("one") << u"1"_s << 1;
        QTest::newRow("with a comment") << u"45 | secondi"_s << 45;
    }

    void tempoMassimo()
    {
        QFETCH(QString, valore);
        QFETCH(int, secondi);
        if (!valore.isNull())
            ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s, valore);
        QCOMPARE(ClientHttp::TempoMassimo(), std::chrono::seconds(secondi));
    }

    // The settings' limit is the one a plain Get applies (30 s would hold the test far longer).
    void tempoMassimoApplicato()
    {
        ScriviIni(gFileIni, u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s, u"1"_s);
        PaginaProva muta;
        muta.maiRisposta = true;
        m_server->Imposta(u"/muta"_s, muta);
        QElapsedTimer orologio;
        orologio.start();
        const EsitoHttp esito = ClientHttp::Get(m_server->Indirizzo(u"/muta"_s));
        QCOMPARE(esito.errore, u"Tempo massimo di attesa della risposta superato"_s);
        QVERIFY(orologio.elapsed() < 15000);
    }

    void stop()
    {
        PaginaProva muta;
        muta.maiRisposta = true;
        m_server->Imposta(u"/muta"_s, muta);
        QTimer::singleShot(100, this, [] { ClientHttp::InterrompiTutto(); });
        const EsitoHttp esito = ClientHttp::Get(m_server->Indirizzo(u"/muta"_s), 20s);
        QCOMPARE(esito.errore, u"Richiesta interrotta"_s);
    }

    // Each request keeps its own answer, whatever order they end in.
    void inParallelo()
    {
        const QList<QPair<QString, int>> pagine = {{u"/a"_s, 600}, {u"/b"_s, 0}, {u"/c"_s, 300}};
        QStringList ordine;
        std::vector<std::unique_ptr<RichiestaHttp>> richieste;
        for (const auto& [percorso, ritardo] : pagine) {
            PaginaProva pagina = Pagina(percorso.toLatin1());
            pagina.ritardoMs = ritardo;
            m_server->Imposta(percorso, pagina);
            richieste.emplace_back(ClientHttp::Avvia(m_server->Indirizzo(percorso), 10s));
            RichiestaHttp* richiesta = richieste.back().get();
            connect(richiesta, &RichiestaHttp::Conclusa, this,
                    [&ordine, richiesta] { ordine << richiesta->Esito().testo; });
        }
        QTRY_COMPARE_WITH_TIMEOUT(ordine.size(), 3, 5000);
        QCOMPARE(ordine, QStringList({u"/b"_s, u"/c"_s, u"/a"_s}));
        for (const auto& richiesta : richieste)
            QCOMPARE(richiesta->Esito().testo, richiesta->Esito().indirizzo.path());
    }

    // A test blocked in a waiting call (here a blocking socket) is still answered, and the exact
    // request target is logged.
    void serveMentreIlTestAttende()
    {
        m_server->Imposta(u"/q"_s, Pagina("risposta"));
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_server->Porta());
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /q?c=IT%2012&d=../x HTTP/1.1\r\nHost: prova\r\n\r\n");
        QVERIFY(socket.waitForDisconnected(5000));
        const QByteArray letto = socket.readAll();
        QVERIFY(letto.startsWith("HTTP/1.1 200"));
        QVERIFY(letto.endsWith("\r\n\r\nrisposta"));
        QCOMPARE(m_server->Richieste(), QStringList(u"/q?c=IT%2012&d=../x"_s));
    }
};

QTEST_GUILESS_MAIN(TestClientHttp)
#include "tst_ClientHttp.moc"
