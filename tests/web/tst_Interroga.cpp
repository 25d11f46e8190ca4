#include "session/Sessione.h"
#include "support/BombaGzip.h"
#include "support/CartellaProva.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(PaginaProva)

namespace {

// Records what a query asks to show or open.
struct MostraProva : MostraPagine {
    QStringList browser, aperti;
    bool MostraNelBrowser(const PaginaDaMostrare& pagina) override
    {
        browser << pagina.tipo + u' ' + pagina.numero;
        return true;
    }
    void ApriDocumento(const QString& file) override { aperti << file; }
};

const QByteArray kVies = "<p class=\"vies_ok\">Valida</p><th>Stato</th><td>IT</td><th>Nome</th><td>ROSSI</td>"
                         "<th>Via</th><td>ROMA</td><th>Inizio</th><td>1990</td><th>Fine</th><td>-</td>";
const QByteArray kExport = "<i class=\"outexport1\">MRN&nbsp;</i><i class=\"outexport2\">26IT</i>"
                           "<i class=\"outexport1\">Stato&nbsp;</i><i class=\"outexport2\">USCITA</i>"
                           "<i class=\"outexport1\">&nbsp;</i><i class=\"outexport2\">3/12</i>";
const QString kValida = u"IT00743110157"_s;
const QString kMrnExport = u"26IT1234567890ABE7"_s;
const QString kMrnTransito = u"26IT1234567890ABT7"_s;
const QString kRifiutato = u"IT44444444444"_s;

} // namespace

class TestInterroga : public QObject
{
    Q_OBJECT

    ServerProva m_server;
    std::unique_ptr<CartellaProva> m_cartella;
    DialoghiProva* m_dialoghi = nullptr;
    MostraProva m_mostra;

    void Pagina(const QString& percorso, const QByteArray& corpo, int stato = 200)
    {
        PaginaProva p = PaginaProva::Html(corpo);
        p.stato = stato;
        m_server.Imposta(percorso, p);
    }
    void Scrivi(const QString& sezione, const QString& chiave, const QString& valore)
    {
        m_cartella->Ini().Scrivi({sezione, chiave}, valore);
    }
    std::unique_ptr<Sessione> Apri() { return ApriSessione(m_cartella->Percorso(), ModoSessione::Comando); }
    RispostaQuery Interroga(const QString& numero, const OpzioniPagina& opzioni = {})
    {
        const auto sessione = Apri();
        // Were the settings' time limit not applied (30 s), this stop would be the answer's reason.
        QTimer::singleShot(20000, &sessione->client, [&] { sessione->client.InterrompiTutto(); });
        return InterrogaNumero(sessione->Contesto(), {opzioni, sessione->dirTemp, &m_mostra}, numero);
    }

private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_cartella = std::make_unique<CartellaProva>();
        m_cartella->IndirizziVerso(m_server, 10);
        m_cartella->Ini().Scrivi({{{u"NAZIONI"_s, u"CODICI"_s}, u"IT,ZZ,"_s},
                                  {{u"NAZIONI"_s, u"IT"_s}, u"ITALIA,11,11"_s},
                                  {{u"NAZIONI"_s, u"ZZ"_s}, u"PROVA,1,20"_s}});
        m_dialoghi = DialoghiProva::Installa();
        m_mostra.browser.clear();
        m_mostra.aperti.clear();
    }

    // A format message sends nothing (1); a page's own error is still an answer (0); a failure is 9,
    // with its reason.
    void interroga_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("testo"); // ElencoTitoli 2, or the reason when the status is 9
        const QString tipo = u"*** Tipo MRN errato (T=Transito, E=Export)"_s;
        QTest::newRow("valid") << kValida << 0 << u"Stato"_s;
        QTest::newRow("service error") << u"IT00000000000"_s << 0 << u"*** Numero non valido"_s;
        QTest::newRow("empty") << QString() << 1 << u"*** Codice VAT non indicato "_s;
        QTest::newRow("MRN short once trimmed")
            << u"  26IT1234567890E7"_s << 1 << u"*** Lunghezza numero MRN errata (18 caratteri)"_s;
        QTest::newRow("MRN type counted untrimmed") << u" 26IT1234567890ABE7"_s << 1 << tipo;
        QTest::newRow("server error page") << u"IT11111111111"_s << 9 << u"Pagina non leggibile (HTTP 500)"_s;
        QTest::newRow("page without markers") << u"IT33333333333"_s << 9 << u"Pagina non leggibile"_s;
        QTest::newRow("connection refused") << kRifiutato << 9 << u"Connessione rifiutata dal server"_s;
    }
    void interroga()
    {
        QFETCH(QString, numero);
        QFETCH(int, stato);
        QFETCH(QString, testo);
        Pagina(u"/vies?stato=IT&piva=00743110157"_s, kVies);
        Pagina(u"/vies?stato=IT&piva=00000000000"_s, "<p class=\"vies_er\">Numero non valido</p>");
        Pagina(u"/vies?stato=IT&piva=11111111111"_s, "<h1>Internal Server Error</h1>", 500);
        Pagina(u"/vies?stato=IT&piva=33333333333"_s, "<p>Servizio in manutenzione</p>");
        // Bound, never listening and not shared: the port refuses, and no other program can take it.
        QTcpSocket occupata;
        QVERIFY(occupata.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        if (numero == kRifiutato)
            Scrivi(u"INDIRIZZIWEB"_s, u"VAT"_s, u"http://127.0.0.1:%1/?"_s.arg(occupata.localPort()));

        const RispostaQuery r = Interroga(numero);
        QCOMPARE(r.numero, numero);
        QCOMPARE(r.stato, stato);
        QCOMPARE(r.ElencoTitoli[2], stato == 9 ? u"# Connessione INTERNET non attiva #"_s : testo);
        QCOMPARE(r.motivo, stato == 9 ? testo : QString());
        QCOMPARE(r.ElencoEsiti[3], r.ElencoTitoli[2] == u"Stato"_s ? u"ROSSI"_s : QString());
        QCOMPARE(m_server.Richieste().size(), stato == 1 || numero == kRifiutato ? 0 : 1);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // The page is asked for exactly the code typed: only letters and digits go into the address as
    // they are.
    void caratteriNelCodice_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("richiesta");
        QTest::newRow("hash") << u"IT#0743110157"_s << u"/vies?stato=IT&piva=%230743110157"_s;
        QTest::newRow("query and key")
            << u"ZZ1?x=2&piva=3"_s << u"/vies?stato=ZZ&piva=1%3FX%3D2%26PIVA%3D3"_s;
        QTest::newRow("percent") << u"ZZ50%41"_s << u"/vies?stato=ZZ&piva=50%2541"_s;
        QTest::newRow("MRN") << u"26IT1234567890A#E7"_s << u"/export?mrn=26IT1234567890A%23E7"_s;
    }
    void caratteriNelCodice()
    {
        QFETCH(QString, numero);
        QFETCH(QString, richiesta);
        m_server.Imposta(u"/vies"_s, PaginaProva::Html(kVies));
        m_server.Imposta(u"/export"_s, PaginaProva::Html(kExport));
        const RispostaQuery r = Interroga(numero);
        QCOMPARE(r.stato, 0);
        QCOMPARE(m_server.Richieste(), QStringList{richiesta});
    }

    // Where a page goes once read: the browser window, a saved file, the temporary file opened.
    void paginaMostrata_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QList<int>>("vpsi"); // View, Print, Save, IESkede
        QTest::addColumn<QString>("file");    // in the program folder; "" none
        QTest::addColumn<bool>("aperto");
        const QString salvata = u"pagine/PI_IT00743110157.htm"_s;
        QTest::newRow("view and save") << kValida << QList{1, 0, 1, 0} << salvata << true;
        QTest::newRow("view only") << kValida << QList{1, 0, 0, 0} << u"TempFile/tmp_html.htm"_s << true;
        QTest::newRow("view in the program") << kValida << QList{1, 0, 1, 1} << salvata << false;
        QTest::newRow("path characters")
            << u"ZZ/../..\\X:*"_s << QList{0, 0, 1, 0} << u"pagine/PI_ZZ_.._.._X__.htm"_s << false;
    }
    void paginaMostrata()
    {
        QFETCH(QString, numero);
        QFETCH(QList<int>, vpsi);
        QFETCH(QString, file);
        QFETCH(bool, aperto);
        m_server.Imposta(u"/vies"_s, PaginaProva::Html(kVies));
        QVERIFY(QDir(m_cartella->Percorso()).mkpath(u"pagine"_s));
        OpzioniPagina opzioni;
        opzioni.View = std::int16_t(vpsi[0]);
        opzioni.Print = std::int16_t(vpsi[1]);
        opzioni.Save = std::int16_t(vpsi[2]);
        opzioni.IESkede = std::int16_t(vpsi[3]);
        opzioni.DirSave = u"  "_s + m_cartella->File(u"pagine"_s) + u" "_s;

        QCOMPARE(Interroga(numero, opzioni).stato, 0);
        const QStringList scritti = QDir(m_cartella->File(u"pagine"_s)).entryList(QDir::Files) +
                                    QDir(m_cartella->File(u"TempFile"_s)).entryList(QDir::Files);
        QCOMPARE(scritti.size(), file.isEmpty() ? 0 : 1);
        QFile f(m_cartella->File(file));
        QVERIFY(file.isEmpty() || (f.open(QIODevice::ReadOnly) && f.readAll() == kVies + "\r\n"));
        QCOMPARE(m_mostra.aperti, aperto ? QStringList{f.fileName()} : QStringList());
        const bool browser = vpsi[1] > 0 || (vpsi[0] > 0 && vpsi[3] == 1);
        QCOMPARE(m_mostra.browser, browser ? QStringList{u"pi "_s + numero} : QStringList());
    }

    // A transit MRN reads its transit page, then its export page silently, into one answer.
    void mrnTransito()
    {
        Pagina(u"/transito"_s, "<i dati1\"> Luogo </i><i dati2\"> Milano </i>");
        Pagina(u"/export"_s, "<div class=\"err\">MRN non trovato</div>");
        const RispostaQuery r = Interroga(kMrnTransito);
        QCOMPARE(r.stato, 0);
        QCOMPARE(m_server.Richieste(),
                 QStringList({u"/transito?mrn="_s + kMrnTransito, u"/export?mrn="_s + kMrnTransito}));
        QCOMPARE((QStringList{r.ElencoTitoli[1], r.ElencoTitoli[2], r.ElencoEsiti[1], r.ElencoEsiti[18]}),
                 (QStringList{u"Luogo :"_s, {}, u"Milano"_s, {}}));
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Whatever a hostile or broken server does, the query ends on its own, within its time limit, as
    // not connected and with the reason; the window is never held, and no more of the answer is taken
    // in than the size limit and the system's buffers, even while the window is too busy to read.
    void guasti_data()
    {
        QTest::addColumn<PaginaProva>("pagina");
        QTest::addColumn<QString>("motivo");
        const QString tempo = u"Tempo massimo di attesa della risposta superato"_s;
        const QString chiusa = u"Connessione chiusa dal server prima della fine della risposta"_s;
        const QString grande = u"Risposta troppo grande (oltre 4 MiB)"_s;
        PaginaProva p;
        p.maiRisposta = true;
        QTest::newRow("accepts, never answers") << p << tempo;
        p = PaginaProva::Html(kVies), p.pezzoByte = 1, p.intervalloMs = 1000;
        QTest::newRow("one byte a second") << p << tempo;
        p = PaginaProva::Html(kVies), p.chiudiDopo = 40, p.reimposta = true;
        QTest::newRow("reset mid-body") << p << chiusa;
        p = {}, p.chiudiSubito = true;
        QTest::newRow("closed before the headers") << p << chiusa;
        p = {}, p.generati = 100 * 1024 * 1024;
        QTest::newRow("100 MiB chunked") << p << grande;
        p = PaginaProva::Html(BombaGzip(256 * 1024 * 1024, 0)), p.senzaLunghezza = true;
        p.intestazioni.append({QByteArray("Content-Encoding"), QByteArray("gzip")});
        const QString compressa = u"Risposta compressa non richiesta (gzip)"_s;
        QTest::newRow("gzip bomb") << p << compressa;
        p = PaginaProva::Html("\xff\xfe<p class=\"vies_\xc3\x28ok\">\xc0\xafValida</p>",
                              "text/html; charset=utf-8");
        QTest::newRow("invalid UTF-8") << p << u"Pagina non leggibile"_s;
        p = PaginaProva::Redirezione(m_server.Indirizzo(u"/vies?stato=IT&piva=00743110157"_s).toEncoded());
        QTest::newRow("redirect loop") << p << u"Troppi reindirizzamenti"_s;
        p = PaginaProva::Redirezione("file:///etc/passwd");
        QTest::newRow("redirect to file:") << p << u"Reindirizzamento verso un indirizzo non ammesso"_s;
    }
    void guasti()
    {
        QFETCH(PaginaProva, pagina);
        QFETCH(QString, motivo);
        Scrivi(u"INDIRIZZIWEB"_s, u"TEMPOMAX"_s, u"3"_s);
        m_server.Imposta(u"/vies"_s, pagina);
        const auto sessione = Apri();
        GetHtmPage query(sessione->Contesto(), sessione->Politica(kUsoElenco));
        query.Avvia(kValida);
        QVERIFY(!query.Finita());
        QThread::msleep(500); // a window busy elsewhere: the network must not read ahead meanwhile
        QTRY_VERIFY_WITH_TIMEOUT(query.Finita(), 20000);
        const RispostaQuery& r = query.Risposta();
        QCOMPARE(r.stato, 9);
        QCOMPARE(r.ElencoTitoli[2], u"# Connessione INTERNET non attiva #"_s);
        QCOMPARE(r.motivo, motivo);
        QVERIFY2(m_server.ByteInviati() < 32 * 1024 * 1024, QByteArray::number(m_server.ByteInviati()));
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Two queries at once: the one whose page comes first ends first, each with its own answer. The
    // export page comes from a server that answers only when the test says so.
    void dueInterrogazioniInsieme()
    {
        QTcpServer trattenuto;
        QVERIFY(trattenuto.listen(QHostAddress::LocalHost));
        Scrivi(u"INDIRIZZIWEB"_s, u"EXPORT"_s, u"http://127.0.0.1:%1/e?"_s.arg(trattenuto.serverPort()));
        Pagina(u"/vies"_s, kVies);
        const auto sessione = Apri();
        GetHtmPage lenta(sessione->Contesto(), sessione->Politica(kUsoElenco));
        GetHtmPage veloce(sessione->Contesto(), sessione->Politica(kUsoElenco));
        QList<RispostaQuery> arrivate;
        for (GetHtmPage* query : {&lenta, &veloce})
            connect(query, &GetHtmPage::Conclusa, this,
                    [&arrivate](const RispostaQuery& r) { arrivate << r; });

        lenta.Avvia(kMrnExport);
        QTRY_VERIFY(trattenuto.hasPendingConnections());
        QTcpSocket* richiesta = trattenuto.nextPendingConnection();
        QByteArray letta;
        QTRY_VERIFY((letta += richiesta->readAll()).endsWith("\r\n\r\n"));
        veloce.Avvia(kValida);
        QTRY_COMPARE(arrivate.size(), 1);
        QVERIFY(!lenta.Finita());
        richiesta->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(kExport.size()) +
                         "\r\n\r\n" + kExport);
        QTRY_COMPARE(arrivate.size(), 2);
        QCOMPARE(arrivate[0].numero + u' ' + arrivate[0].ElencoEsiti[3] + u' ' + arrivate[0].ElencoEsiti[18],
                 kValida + u" ROSSI "_s);
        QCOMPARE(arrivate[1].numero + u' ' + arrivate[1].ElencoEsiti[3] + u' ' + arrivate[1].ElencoEsiti[18],
                 kMrnExport + u"  USCITA"_s);
    }
};

QTEST_GUILESS_MAIN(TestInterroga)
#include "tst_Interroga.moc"
