#include "core/ChiaviIni.h"
#include "support/ServerProva.h"
#include "web/ClientHttp.h"

#include <QSslSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(PaginaProva)

namespace {

const QString kInterrotta = u"Richiesta interrotta"_s;

PaginaProva Muta()
{
    PaginaProva pagina;
    pagina.maiRisposta = true;
    return pagina;
}

} // namespace

class TestClientHttp : public QObject
{
    Q_OBJECT

    ServerProva m_server;
    ClientHttp m_client;

    QUrl Url(const QString& percorso) const { return m_server.Indirizzo(percorso); }

private Q_SLOTS:
    void init() { m_server.Svuota(); }

    void decodifica_data()
    {
        QTest::addColumn<QByteArray>("tipo");
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<QString>("atteso");
        const QByteArray html = "text/html";
        QTest::newRow("UTF-8 by default") << html << "Citt\xc3\xa0 \xe2\x82\xac"_ba << u"Città €"_s;
        QTest::newRow("header 1252") << "text/html; charset=windows-1252"_ba
                                     << "\xe0\x80"_ba << u"à€"_s;
        QTest::newRow("latin-1 read as 1252") << "text/html;charset=ISO-8859-1"_ba
                                              << "\xe0\x80"_ba << u"à€"_s;
        QTest::newRow("meta after another") << html << "<meta name=x><meta charset=cp1252>\x80"_ba
                                            << u"<meta name=x><meta charset=cp1252>€"_s;
        QTest::newRow("meta http-equiv") << html << "<META CONTENT=\"text/html; charset=iso-8859-1\">\xe0"_ba
                                         << u"<META CONTENT=\"text/html; charset=iso-8859-1\">à"_s;
        QTest::newRow("header wins") << "text/html; charset=utf-8"_ba
                                     << "<meta charset=cp1252>\xc3\xa0"_ba << u"<meta charset=cp1252>à"_s;
        QTest::newRow("invalid UTF-8") << html << "\xff<p>\xc3</p>"_ba << u"\uFFFD<p>\uFFFD</p>"_s;
    }
    void decodifica()
    {
        QFETCH(QByteArray, tipo);
        QFETCH(QByteArray, corpo);
        m_server.Imposta(u"/pagina"_s, PaginaProva::Html(corpo, tipo));
        const EsitoHttp esito = m_client.Get(Url(u"/pagina"_s));
        QCOMPARE(esito.corpo, corpo);
        QTEST(esito.testo, "atteso");
    }

    // An error page is still a page; a body without a length ends at the close; a body over 4 MiB
    // fails whether or not its length was announced. (Hostile servers: tst_Interroga::guasti.)
    void conclusione_data()
    {
        QTest::addColumn<PaginaProva>("pagina");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("errore");
        PaginaProva p = PaginaProva::Html("<h1>Errore</h1>");
        p.stato = 500;
        QTest::newRow("HTTP 500") << p << 500 << QString();
        p = PaginaProva::Html("fino alla chiusura"), p.senzaLunghezza = true;
        QTest::newRow("no length, ends at close") << p << 200 << QString();
        for (const bool senzaLunghezza : {false, true}) {
            p = PaginaProva::Html(QByteArray(RichiestaHttp::kDimensioneMassima, 'x'));
            p.senzaLunghezza = senzaLunghezza;
            QTest::addRow("4 MiB, no length %d", senzaLunghezza) << p << 200 << QString();
            p.corpo += 'x';
            QTest::addRow("over 4 MiB, no length %d", senzaLunghezza)
                << p << 0 << u"Risposta troppo grande (oltre 4 MiB)"_s;
        }
    }
    void conclusione()
    {
        QFETCH(PaginaProva, pagina);
        QFETCH(int, stato);
        QFETCH(QString, errore);
        m_server.Imposta(u"/p"_s, pagina);
        const EsitoHttp esito = m_client.Get(Url(u"/p?n=1"_s), 5s);
        QCOMPARE(esito.errore, errore);
        QCOMPARE(esito.riuscita, errore.isEmpty());
        QVERIFY(stato == 0 || esito.stato == stato);
        QCOMPARE(esito.corpo, esito.riuscita ? pagina.corpo : QByteArray());
    }

    // The server speaks plain HTTP, so a TLS handshake with it fails: enough to see that a redirect
    // is followed, also from http to https, and that the TLS failure is reported.
    void redirezioni()
    {
        m_server.Imposta(u"/vecchia"_s, PaginaProva::Redirezione(Url(u"/nuova?x=1"_s).toEncoded(), 301));
        m_server.Imposta(u"/nuova"_s, PaginaProva::Html("nuova"));
        EsitoHttp esito = m_client.Get(Url(u"/vecchia"_s));
        QCOMPARE(esito.testo, u"nuova"_s);
        QCOMPARE(esito.indirizzo, Url(u"/nuova?x=1"_s));
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend");
        const QUrl sicuro(u"https://127.0.0.1:%1/sicura"_s.arg(m_server.Porta()));
        m_server.Imposta(u"/verso-https"_s, PaginaProva::Redirezione(sicuro.toEncoded()));
        esito = m_client.Get(Url(u"/verso-https"_s), 5s);
        QCOMPARE(esito.errore, u"Errore nella connessione sicura (TLS)"_s);
        QCOMPARE(esito.indirizzo, sicuro);
    }

    void indirizzoNonValido_data()
    {
        QTest::addColumn<QString>("indirizzo");
        for (const char* indirizzo :
             {"", "http://", "file:///etc/passwd", "ftp://127.0.0.1/x", "IT 123 & ../#"})
            QTest::newRow(indirizzo) << QString::fromLatin1(indirizzo);
    }
    void indirizzoNonValido()
    {
        QFETCH(QString, indirizzo);
        const EsitoHttp esito = m_client.Get(QUrl(indirizzo), 1s);
        QVERIFY2(!esito.riuscita && esito.errore.startsWith(u"Indirizzo non valido"_s),
                 qPrintable(esito.errore));
    }

    // With one request per host, a second one to the same host waits for the first, and its time
    // limit runs only from when it is sent; another host (another port) is not held up.
    void limitePerHost()
    {
        ServerProva altro;
        altro.Imposta(u"/altro"_s, PaginaProva::Html("altro"));
        m_server.Imposta(u"/muta"_s, Muta());
        m_server.Imposta(u"/dopo"_s, PaginaProva::Html("dopo"));
        ClientHttp client;
        client.ImpostaLimitePerHost(1);
        QObject gruppo;
        RichiestaHttp* muta = client.Avvia(Url(u"/muta"_s), &gruppo, 20s);
        RichiestaHttp* dopo = client.Avvia(Url(u"/dopo"_s), &gruppo, 1s);
        RichiestaHttp* suAltro = client.Avvia(altro.Indirizzo(u"/altro"_s), &gruppo, 5s);

        QTRY_VERIFY(suAltro->Finita());
        QCOMPARE(suAltro->Esito().testo, u"altro"_s);
        QTest::qWait(1500); // past the time limit of the waiting request
        QVERIFY(!dopo->Finita());
        QCOMPARE(m_server.Richieste(), QStringList{u"/muta"_s});
        muta->Interrompi(u"fine"_s);
        QTRY_VERIFY(dopo->Finita());
        QCOMPARE(dopo->Esito().testo, u"dopo"_s);
    }

    // A stop ends its group's requests, in flight or waiting, and nothing of another group; the
    // other group's waiting request then goes out normally.
    void interrompiGruppo()
    {
        ServerProva altro;
        altro.Imposta(u"/muta"_s, Muta());
        m_server.Imposta(u"/muta"_s, Muta());
        m_server.Imposta(u"/b"_s, PaginaProva::Html("b"));
        ClientHttp client;
        client.ImpostaLimitePerHost(1);
        QObject a, b;
        const QList<RichiestaHttp*> diA = {client.Avvia(Url(u"/muta"_s), &a, 20s),
                                           client.Avvia(Url(u"/muta?2"_s), &a, 20s)};
        RichiestaHttp* inAttesa = client.Avvia(Url(u"/b"_s), &b, 20s);
        RichiestaHttp* inVolo = client.Avvia(altro.Indirizzo(u"/muta"_s), &b, 20s);
        QTRY_COMPARE(m_server.Richieste().size() + altro.Richieste().size(), 2);

        client.Interrompi(&a);
        QTRY_VERIFY(diA[0]->Finita() && diA[1]->Finita());
        QCOMPARE(diA[0]->Esito().errore, kInterrotta);
        QCOMPARE(diA[1]->Esito().errore, kInterrotta);
        QTRY_VERIFY(inAttesa->Finita());
        QCOMPARE(inAttesa->Esito().testo, u"b"_s);
        QVERIFY(!inVolo->Finita());
        client.InterrompiTutto();
        QTRY_VERIFY(inVolo->Finita());
        QCOMPARE(inVolo->Esito().errore, kInterrotta);
    }
};

QTEST_GUILESS_MAIN(TestClientHttp)
#include "tst_ClientHttp.moc"
