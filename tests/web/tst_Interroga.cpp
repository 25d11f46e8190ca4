#include "core/Attese.h"
#include "core/ChiaviIni.h"
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
const QString kMrnTransito = u"26IT1234567890ABT7"_s;

QByteArray Valida(const QByteArray& identificativo)
{
    return R"({"isValid":true,"requestDate":"2026-12-05T10:31:07.512Z","userError":"VALID",)"
           R"("name":"ROSSI SRL","address":"VIA ROMA 1\n\n  20100 MILANO \n","requestIdentifier":")" +
           identificativo + R"(","vatNumber":"00743110157","countryCode":"IT","viesApproximate":{}})";
}

QByteArray Errore(const QByteArray& codice)
{
    return R"({"isValid":false,"requestDate":"2026-12-05T10:31:07.512Z","userError":")" + codice +
           R"(","name":"---","address":"---","vatNumber":"00743110157","countryCode":"IT"})";
}

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
    void UsaVies()
    {
        m_cartella->Ini().Scrivi(
            {{Chiavi::IndirizzoWeb(u"FONTEVAT"_s), u"vies"_s},
             {Chiavi::IndirizzoWeb(u"VIESREST"_s), m_server.Indirizzo(u"/ms/"_s).toString()}});
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
        Attese().viesPausaMs = 10;
        m_mostra.browser.clear();
        m_mostra.aperti.clear();
    }

    // A format message sends nothing (1); a page's own error is still an answer (0); a failure is 9,
    // with its reason. The page is asked for exactly the code typed: only letters and digits go into
    // the address as they are.
    void interroga_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("testo"); // ElencoTitoli 2, or the reason when the status is 9
        QTest::addColumn<QString>("richiesta");
        const QString tipo = u"*** Tipo MRN errato (T=Transito, E=Export)"_s;
        QTest::newRow("valid") << kValida << 0 << u"Stato"_s << u"/vies?stato=IT&piva=00743110157"_s;
        QTest::newRow("service error")
            << u"IT00000000000"_s << 0 << u"*** Numero non valido"_s << u"/vies?stato=IT&piva=00000000000"_s;
        QTest::newRow("empty") << QString() << 1 << u"*** Codice VAT non indicato "_s << QString();
        QTest::newRow("MRN short once trimmed")
            << u"  26IT1234567890E7"_s << 1 << u"*** Lunghezza numero MRN errata (18 caratteri)"_s
            << QString();
        QTest::newRow("MRN type counted untrimmed") << u" 26IT1234567890ABE7"_s << 1 << tipo << QString();
        QTest::newRow("page without markers")
            << u"IT33333333333"_s << 9 << u"Pagina non leggibile"_s << u"/vies?stato=IT&piva=33333333333"_s;
        QTest::newRow("hash") << u"IT#0743110157"_s << 0 << u"Stato"_s
                              << u"/vies?stato=IT&piva=%230743110157"_s;
        QTest::newRow("query and key")
            << u"ZZ1?x=2&piva=3"_s << 0 << u"Stato"_s << u"/vies?stato=ZZ&piva=1%3FX%3D2%26PIVA%3D3"_s;
        QTest::newRow("percent") << u"ZZ50%41"_s << 0 << u"Stato"_s << u"/vies?stato=ZZ&piva=50%2541"_s;
        QTest::newRow("MRN") << u"26IT1234567890A#E7"_s << 0 << QString()
                             << u"/export?mrn=26IT1234567890A%23E7"_s;
    }
    void interroga()
    {
        QFETCH(QString, numero);
        QFETCH(int, stato);
        QFETCH(QString, testo);
        QFETCH(QString, richiesta);
        Pagina(u"/vies"_s, kVies);
        Pagina(u"/export"_s, kExport);
        Pagina(u"/vies?stato=IT&piva=00000000000"_s, "<p class=\"vies_er\">Numero non valido</p>");
        Pagina(u"/vies?stato=IT&piva=33333333333"_s, "<p>Servizio in manutenzione</p>");

        const RispostaQuery r = Interroga(numero);
        QCOMPARE(r.numero, numero);
        QCOMPARE(r.stato, stato);
        QCOMPARE(r.ElencoTitoli[2], stato == 9 ? u"# Connessione INTERNET non attiva #"_s : testo);
        QCOMPARE(r.motivo, stato == 9 ? testo : QString());
        QCOMPARE(r.ElencoEsiti[3], r.ElencoTitoli[2] == u"Stato"_s ? u"ROSSI"_s : QString());
        QCOMPARE(m_server.Richieste(), richiesta.isEmpty() ? QStringList() : QStringList{richiesta});
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Where a page goes once read: a saved file or the temporary file, opened; or, viewed in the
    // program, the browser window.
    void paginaMostrata_data()
    {
        QTest::addColumn<bool>("salva");
        QTest::addColumn<bool>("nelProgramma"); // IESkede 1
        QTest::addColumn<QString>("file");      // in the program folder
        QTest::newRow("view and save") << true << false << u"pagine/PI_IT00743110157.htm"_s;
        QTest::newRow("view only") << false << false << u"TempFile/tmp_html.htm"_s;
        QTest::newRow("view in the program") << true << true << u"pagine/PI_IT00743110157.htm"_s;
    }
    void paginaMostrata()
    {
        QFETCH(bool, salva);
        QFETCH(bool, nelProgramma);
        QFETCH(QString, file);
        m_server.Imposta(u"/vies"_s, PaginaProva::Html(kVies));
        QVERIFY(QDir(m_cartella->Percorso()).mkpath(u"pagine"_s));
        OpzioniPagina opzioni;
        opzioni.View = 1;
        opzioni.Save = salva;
        opzioni.IESkede = nelProgramma;
        opzioni.DirSave = u"  "_s + m_cartella->File(u"pagine"_s) + u" "_s;

        QCOMPARE(Interroga(kValida, opzioni).stato, 0);
        const QStringList scritti = QDir(m_cartella->File(u"pagine"_s)).entryList(QDir::Files) +
                                    QDir(m_cartella->File(u"TempFile"_s)).entryList(QDir::Files);
        QCOMPARE(scritti.size(), 1);
        QFile f(m_cartella->File(file));
        QVERIFY(f.open(QIODevice::ReadOnly) && f.readAll() == kVies + "\r\n");
        QCOMPARE(m_mostra.aperti, nelProgramma ? QStringList() : QStringList{f.fileName()});
        QCOMPARE(m_mostra.browser, nelProgramma ? QStringList{u"pi "_s + kValida} : QStringList());
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
        m_cartella->Ini().Scrivi(Chiavi::TempoMax(), u"3"_s);
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
        const QString mrn = u"26IT1234567890ABE7"_s;
        QTcpServer trattenuto;
        QVERIFY(trattenuto.listen(QHostAddress::LocalHost));
        m_cartella->Ini().Scrivi(Chiavi::IndirizzoWeb(u"EXPORT"_s),
                                 u"http://127.0.0.1:%1/e?"_s.arg(trattenuto.serverPort()));
        Pagina(u"/vies"_s, kVies);
        const auto sessione = Apri();
        GetHtmPage lenta(sessione->Contesto(), sessione->Politica(kUsoElenco));
        GetHtmPage veloce(sessione->Contesto(), sessione->Politica(kUsoElenco));
        QList<RispostaQuery> arrivate;
        for (GetHtmPage* query : {&lenta, &veloce})
            connect(query, &GetHtmPage::Conclusa, this,
                    [&arrivate](const RispostaQuery& r) { arrivate << r; });

        lenta.Avvia(mrn);
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
        QCOMPARE(arrivate[0].numero + u' ' + arrivate[0].ElencoEsiti[3], kValida + u" ROSSI"_s);
        QCOMPARE(arrivate[1].numero + u' ' + arrivate[1].ElencoEsiti[18], mrn + u" USCITA"_s);
    }

    // The European Commission's VIES service as a second source of VAT answers. Unavailable is
    // never invalid: every other code is result 9 and names itself; a busy service is asked again
    // three times.
    void risposte_data()
    {
        QTest::addColumn<QByteArray>("corpo");
        QTest::addColumn<int>("http");
        QTest::addColumn<QString>("titolo2");       // the error line, or the number's row title
        QTest::addColumn<QString>("consultazione"); // the consultation number
        QTest::addColumn<int>("richieste");
        const QString valido = u"Numero partita IVA"_s, nonValido = u"*** No, numero IVA non valido"_s;
        const QString nonDisp = u"# Servizio VIES non disponibile: %1 #"_s;
        QTest::newRow("valid, consultation number")
            << Valida("WAPIAAAAZyLmVcXb") << 200 << valido << u"WAPIAAAAZyLmVcXb"_s << 1;
        QTest::newRow("valid, none") << Valida("") << 200 << valido << QString() << 1;
        QTest::newRow("invalid") << Errore("INVALID") << 200 << nonValido << QString() << 1;
        QTest::newRow("invalid input") << Errore("INVALID_INPUT") << 200 << nonValido << QString() << 1;
        for (const char* codice : {"MS_UNAVAILABLE", "SERVICE_UNAVAILABLE", "TIMEOUT", "IP_BLOCKED",
                                   "VAT_BLOCKED", "MS_MAX_CONCURRENT_REQ", "GLOBAL_MAX_CONCURRENT_REQ"})
            QTest::newRow(codice) << Errore(codice) << 200 << nonDisp.arg(QString::fromLatin1(codice))
                                  << QString() << (QByteArray(codice).contains("MAX_CONCURRENT") ? 4 : 1);
        QTest::newRow("error answer, HTTP 500")
            << QByteArray(
                   R"({"actionSucceed":false,"errorWrappers":[{"error":"SERVICE_UNAVAILABLE","message":"x"}]})")
            << 500 << nonDisp.arg(u"SERVICE_UNAVAILABLE"_s) << QString() << 1;
        QTest::newRow("not JSON") << QByteArray("<html>Errore</html>") << 500
                                  << nonDisp.arg(u"RISPOSTA_NON_LEGGIBILE"_s) << QString() << 1;
        QTest::newRow("JSON, no answer")
            << QByteArray("{\"x\":1}") << 200 << nonDisp.arg(u"RISPOSTA_NON_LEGGIBILE"_s) << QString() << 1;
    }
    void risposte()
    {
        QFETCH(QByteArray, corpo);
        QFETCH(int, http);
        QFETCH(QString, titolo2);
        QFETCH(QString, consultazione);
        QFETCH(int, richieste);
        UsaVies();
        Pagina(u"/ms/IT/vat/00743110157"_s, corpo, http);
        const RispostaQuery r = Interroga(u"it00743110157"_s);
        QCOMPARE(r.ElencoTitoli[2], titolo2);
        QCOMPARE(r.stato, titolo2.startsWith(u'#') ? 9 : 0);
        QCOMPARE(r.motivo.isEmpty(), r.stato != 9);
        QCOMPARE(r.consultazione, consultazione);
        QCOMPARE(r.ElencoEsiti[7],
                 consultazione.isEmpty() ? QString() : u"Numero di consultazione: "_s + consultazione);
        QCOMPARE(r.fonte, FonteVat::Vies);
        QCOMPARE(m_server.Richieste(), QStringList(richieste, u"/ms/IT/vat/00743110157"_s));
        if (titolo2 == u"Numero partita IVA"_s)
            QCOMPARE((QStringList{r.ElencoEsiti[1], r.ElencoEsiti[2], r.ElencoEsiti[4], r.ElencoEsiti[5],
                                  r.ElencoEsiti[6], r.ElencoEsiti[8], r.ElencoTitoli[5]})
                         .join(u'|'),
                     u"Sì, numero IVA valido|IT 00743110157|VIA ROMA 1, 20100 MILANO|||05/12/2026|"
                     u"Data di inizio attività"_s);
    }

    // The service too is asked for exactly the code typed.
    void viesNumeroCodificato()
    {
        UsaVies();
        Interroga(u"IT#0743110157"_s);
        QCOMPARE(m_server.Richieste(), QStringList{u"/ms/IT/vat/%230743110157"_s});
    }

    // The user's own number goes with every request; countries the default table predates work once
    // the user adds them.
    void richiedenteEPaesiAggiunti()
    {
        UsaVies();
        m_cartella->Ini().Scrivi({{Chiavi::IndirizzoWeb(u"RICHIEDENTE"_s), u"it 00743110157"_s},
                                  {Chiavi::Codici(), u"IT,HR,XI,"_s},
                                  {Chiavi::Nazione(u"IT"_s), u"ITALIA,11,11,0,0,0,0"_s},
                                  {Chiavi::Nazione(u"HR"_s), u"CROAZIA,11,11,0,0,0,0"_s},
                                  {Chiavi::Nazione(u"XI"_s), u"IRLANDA DEL NORD,5,5,9,9,12,12"_s}});
        Pagina(u"/ms/HR/vat/12345678901"_s, Valida("A"));
        Pagina(u"/ms/XI/vat/123456789"_s, Valida("B"));
        QCOMPARE(Interroga(u"HR12345678901"_s).consultazione, u"A"_s);
        QCOMPARE(Interroga(u"XI123456789"_s).consultazione, u"B"_s);
        QCOMPARE(Interroga(u"XI1234567"_s).stato, 1);
        const QString richiedente = u"?requesterMemberStateCode=IT&requesterNumber=00743110157"_s;
        QCOMPARE(m_server.Richieste(), (QStringList{u"/ms/HR/vat/12345678901"_s + richiedente,
                                                    u"/ms/XI/vat/123456789"_s + richiedente}));
    }
};

QTEST_GUILESS_MAIN(TestInterroga)
#include "tst_Interroga.moc"
