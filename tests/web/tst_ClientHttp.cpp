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
        QTest::newRow("latin-1 read as 1252") << "text/html;charset=ISO-8859-1"_ba
                                              << "\xe0\x80"_ba << u"à€"_s;
        QTest::newRow("meta http-equiv after another")
            << html << "<meta name=x><META CONTENT=\"text/html; charset=cp1252\">\x80"_ba
            << u"<meta name=x><META CONTENT=\"text/html; charset=cp1252\">€"_s;
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

    // "file:///etc/passwd" has no host: only a host with another scheme tries the scheme check.
    void indirizzoNonValido()
    {
        for (const char* indirizzo : {"", "http://", "ftp://127.0.0.1/x"}) {
            const EsitoHttp esito = m_client.Get(QUrl(QString::fromLatin1(indirizzo)), 1s);
            QVERIFY2(!esito.riuscita && esito.errore.startsWith(u"Indirizzo non valido"_s), indirizzo);
        }
    }

    // With one request per host, a second one to the same host waits for the first, its time limit
    // running only from when it is sent; another host is not held up. A stop ends its group's
    // requests, in flight or waiting, and lets another group's waiting request go out.
    void codaEInterruzioni()
    {
        ServerProva altro;
        altro.Imposta(u"/muta"_s, Muta());
        m_server.Imposta(u"/muta"_s, Muta());
        m_server.Imposta(u"/dopo"_s, PaginaProva::Html("dopo"));
        ClientHttp client;
        client.ImpostaLimitePerHost(1);
        QObject a, b;
        const QList<RichiestaHttp*> diA = {client.Avvia(Url(u"/muta"_s), &a, 20s),
                                           client.Avvia(Url(u"/muta?2"_s), &a, 20s)};
        RichiestaHttp* inAttesa = client.Avvia(Url(u"/dopo"_s), &b, 1s);
        RichiestaHttp* suAltro = client.Avvia(altro.Indirizzo(u"/muta"_s), &b, 1s);

        // Sent after the waiting one was queued, with the same limit: by its end, the waiting
        // one's limit would have run out too, had it been running.
        QTRY_VERIFY(suAltro->Finita());
        QCOMPARE(suAltro->Esito().errore, u"Tempo massimo di attesa della risposta superato"_s);
        QVERIFY(!inAttesa->Finita());
        QCOMPARE(m_server.Richieste(), QStringList{u"/muta"_s});
        client.Interrompi(&a);
        QTRY_VERIFY(diA[0]->Finita() && diA[1]->Finita());
        QCOMPARE(diA[0]->Esito().errore, kInterrotta);
        QCOMPARE(diA[1]->Esito().errore, kInterrotta);
        QTRY_VERIFY(inAttesa->Finita());
        QCOMPARE(inAttesa->Esito().testo, u"dopo"_s);
    }
};

QTEST_GUILESS_MAIN(TestClientHttp)
#include "tst_ClientHttp.moc"
