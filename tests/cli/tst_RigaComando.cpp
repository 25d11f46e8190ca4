#include "core/ChiaviIni.h"
#include "support/CartellaProva.h"
#include "support/ServerProva.h"

#include <QProcess>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kValida = "<p class=\"vies_ok\">Partita IVA valida</p>"
                           "<th>Stato</th><td>IT</td><th>Denominazione</th><td>ROSSI SRL</td>"
                           "<th>Indirizzo</th><td>VIA PO 1</td><th>Inizio</th><td>01/02/1990</td>"
                           "<th>Fine</th><td></td><p class=\"vies_note\">Nota</p>"
                           "<p class=\"vies_date\">Data della richiesta: 05/12/2026</p>";

} // namespace

// Runs the real program, copied into a program folder of its own: commands work without a display.
class TestRigaComando : public QObject
{
    Q_OBJECT

private:
    struct Esito {
        int stato;
        QString out;
        QString err;
    };

    ServerProva m_server;
    std::unique_ptr<CartellaProva> m_cartella;

    Esito Esegui(const QStringList& argomenti)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        p.setProcessEnvironment(env);
        p.start(m_cartella->File(u"tarvel"_s), argomenti);
        if (!p.waitForFinished(30000))
            return {-1, {}, {}};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_server.Imposta(u"/vies?stato=IT&piva=00743110157"_s, PaginaProva::Html(kValida));
        m_cartella = std::make_unique<CartellaProva>();
        QVERIFY(QFile::copy(qEnvironmentVariable("TARVEL_ESEGUIBILE"), m_cartella->File(u"tarvel"_s)));
    }

    void aiutoEUso_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("out"); // the start of standard output
        QTest::addColumn<QString>("err"); // a piece of standard error
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"tarvel 1.0.0\n"_s << QString();
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Uso: tarvel"_s << QString();
        QTest::newRow("unknown command") << QStringList{u"--boh"_s} << 2 << QString() << u"--boh"_s;
        QTest::newRow("no code") << QStringList{u"verifica"_s, u"--json"_s} << 2 << QString() << u"Uso:"_s;
        QTest::newRow("unknown source")
            << QStringList{u"verifica"_s, u"--fonte"_s, u"boh"_s, u"IT1"_s} << 2 << QString() << u"--fonte"_s;
        QTest::newRow("unknown option")
            << QStringList{u"verifica"_s, u"--nulla"_s, u"IT1"_s} << 2 << QString() << u"nulla"_s;
    }
    void aiutoEUso()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(int, stato);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Esito e = Esegui(argomenti);
        QCOMPARE(e.stato, stato);
        QVERIFY2(e.out.startsWith(out), qPrintable(e.out));
        QVERIFY2(e.err.contains(err), qPrintable(e.err));
    }

    void verifica()
    {
        m_cartella->IndirizziVerso(m_server, 2);
        Esito e = Esegui({u"verifica"_s, u"it00743110157"_s, u"IT123"_s, u"FR 1"_s, u"--json"_s});
        QCOMPARE(e.stato, 1);
        const QStringList righe = e.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(righe.size(), 3);
        QCOMPARE(
            righe[0],
            u"{\"codice\":\"it00743110157\",\"stato\":0,"
            u"\"titoli\":[\"Esito:\",\"Stato\",\"Denominazione\",\"Indirizzo\",\"Inizio\",\"Fine\",\"\"],"
            u"\"esiti\":[\"Partita IVA valida\",\"IT\",\"ROSSI SRL\",\"VIA PO 1\",\"01/02/1990\",\"\","
            u"\"Nota\",\"05/12/2026\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"],\"errore\":\"\",\"consultazione\":\"\"}"_s);
        QVERIFY(righe[1].startsWith(
            u"{\"codice\":\"IT123\",\"stato\":1,\"titoli\":[\"\",\"*** Lunghezza VAT errata 11-11\","_s));
        QVERIFY(righe[2].startsWith(u"{\"codice\":\"FR 1\",\"stato\":1,"_s));
        QCOMPARE(m_server.Richieste(), QStringList{u"/vies?stato=IT&piva=00743110157"_s});

        e = Esegui({u"verifica"_s, u"IT00743110157"_s});
        QCOMPARE(e.stato, 0);
        QVERIFY(e.out.startsWith(u"IT00743110157\n  Esito:                    Partita IVA valida\n"_s));
        QVERIFY(e.out.contains(u"  Denominazione             ROSSI SRL\n"_s));

        // An unknown page answers 404 without markers; the JSON line says why.
        e = Esegui({u"verifica"_s, u"IT00000000000"_s, u"IT1"_s});
        QCOMPARE(e.stato, 9);
        QCOMPARE(
            e.out,
            u"IT00000000000\n  # Connessione INTERNET non attiva #\nIT1\n  *** Lunghezza VAT errata 11-11\n"_s);
        e = Esegui({u"verifica"_s, u"--json"_s, u"IT00000000000"_s});
        QVERIFY2(
            e.out.endsWith(u",\"errore\":\"Pagina non leggibile (HTTP 404)\",\"consultazione\":\"\"}\n"_s),
            qPrintable(e.out));
    }

    // One run of the VIES service, whatever the settings say.
    void fonteVies()
    {
        m_cartella->Ini().Scrivi(Chiavi::IndirizzoWeb(u"VIESREST"_s),
                                 m_server.Indirizzo(u"/ms/"_s).toString());
        m_server.Imposta(
            u"/ms/IT/vat/00743110157"_s,
            PaginaProva::Html(R"({"isValid":true,"userError":"VALID","requestIdentifier":"WAP1"})",
                              "application/json"));
        const Esito e = Esegui({u"verifica"_s, u"--fonte"_s, u"VIES"_s, u"--json"_s, u"IT00743110157"_s});
        QCOMPARE(e.stato, 0);
        QVERIFY2(e.out.endsWith(u"\"consultazione\":\"WAP1\"}\n"_s), qPrintable(e.out));
    }

    // Control characters from a page or a code reach the terminal escaped, never raw.
    void caratteriDiControllo()
    {
        m_cartella->IndirizziVerso(m_server, 2);
        QByteArray pagina = kValida;
        pagina.replace("ROSSI SRL", "ROSSI\x1b[2J\x07\x7f SRL");
        m_server.Imposta(u"/vies?stato=IT&piva=00743110157"_s, PaginaProva::Html(pagina));
        const Esito e = Esegui({u"verifica"_s, u"IT00743110157"_s, u"IT\x1b[1\t\u009b"_s});
        QCOMPARE(e.stato, 1);
        QVERIFY2(e.out.contains(u"  Denominazione             ROSSI\\u001b[2J\\u0007\\u007f SRL\n"_s),
                 qPrintable(e.out));
        QVERIFY2(e.out.contains(u"\nIT\\u001b[1\\u0009\\u009b\n  *** Lunghezza VAT errata 11-11\n"_s),
                 qPrintable(e.out));
        for (const QChar c : e.out)
            QVERIFY(c == u'\n' || c.category() != QChar::Other_Control);
    }

    // A command uses the settings it finds and writes none.
    void nessunFileImpostazioni()
    {
        const Esito e = Esegui({u"verifica"_s, u"IT123"_s});
        QCOMPARE(e.stato, 1);
        QVERIFY(!QFileInfo::exists(m_cartella->File(u"tarvel.ini"_s)));
    }

    // A settings file too large to read is named once on standard error; the defaults do the work.
    void fileImpostazioniTroppoGrande()
    {
        const QString ini = m_cartella->File(u"tarvel.ini"_s);
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(17 * 1024 * 1024));
        f.close();
        const Esito e = Esegui({u"verifica"_s, u"IT123"_s, u"IT1"_s});
        QCOMPARE(e.stato, 1);
        QCOMPARE(e.out.count(u"*** Lunghezza VAT errata 11-11\n"_s), 2);
        QCOMPARE(e.err.count(u'\n'), 1);
        QVERIFY2(e.err.startsWith(u"tarvel: Il file delle impostazioni "_s + ini + u" è troppo grande"_s),
                 qPrintable(e.err));
    }

    // Nobody can answer a retry question: the command cancels it at once, says so once, and the
    // failed save leaves the answer as it was.
    void salvataggioSenzaDomande_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("messaggio"); // "" for silence
        QTest::newRow("single check options ignored")
            << QStringList{u"verifica"_s, u"IT00743110157"_s} << QString();
        QTest::newRow("save folder missing")
            << QStringList{u"verifica"_s, u"--salva"_s, u"/mancante/cartella"_s, u"IT00743110157"_s}
            << u"Errori su  /mancante/cartella/PI_IT00743110157.htm: Questo percorso non esiste.\n"_s;
    }
    void salvataggioSenzaDomande()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, messaggio);
        m_cartella->IndirizziVerso(m_server, 2);
        m_cartella->Ini().Scrivi({{Chiavi::Save(1), u"1"_s}, {Chiavi::DirSave(1), u"/mancante"_s}});
        QElapsedTimer orologio;
        orologio.start();
        const Esito e = Esegui(argomenti);
        QVERIFY(orologio.elapsed() < 10000);
        QCOMPARE(e.stato, 0);
        QVERIFY(e.out.contains(u"ROSSI SRL"_s));
        QCOMPARE(e.err, messaggio);
    }

    void salvaPagine()
    {
        m_cartella->IndirizziVerso(m_server, 2);
        const QString cartella = m_cartella->File(u"pagine"_s);
        QVERIFY(QDir().mkpath(cartella));
        QCOMPARE(Esegui({u"verifica"_s, u"--salva"_s, cartella, u"IT00743110157"_s}).stato, 0);
        QFile salvata(cartella + u"/PI_IT00743110157.htm"_s);
        QVERIFY(salvata.open(QIODevice::ReadOnly));
        QCOMPARE(salvata.readAll(), kValida + "\r\n");
    }

    // Qt WebEngine is the browser module's alone: the program does not load it to start.
    void senzaBrowserAllAvvio()
    {
        QProcess ldd;
        ldd.start(u"ldd"_s, {m_cartella->File(u"tarvel"_s)});
        QVERIFY(ldd.waitForFinished(30000) && ldd.exitStatus() == QProcess::NormalExit &&
                ldd.exitCode() == 0);
        const QByteArray librerie = ldd.readAllStandardOutput();
        QVERIFY(librerie.contains("libQt6Widgets")); // the list is the program's
        QVERIFY2(!librerie.contains("WebEngine"), librerie.constData());
    }
};

QTEST_GUILESS_MAIN(TestRigaComando)
#include "tst_RigaComando.moc"
