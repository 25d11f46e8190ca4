#include "core/BloccoFile.h"
#include "core/ChiaviIni.h"
#include "support/CartellaProva.h"
#include "support/ServerProva.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kValida = "<p class=\"vies_ok\">Partita IVA valida</p>"
                           "<th>Stato</th><td>IT</td><th>Denominazione</th><td>ROSSI SRL</td>"
                           "<th>Indirizzo</th><td>VIA PO 1</td><th>Inizio</th><td>01/02/1990</td>"
                           "<th>Fine</th><td></td><p class=\"vies_note\">Nota</p>"
                           "<p class=\"vies_date\">Data della richiesta: 05/12/2026</p>";
const QString kPagina = u"/vies?stato=IT&piva=00743110157"_s;

// The first column of `sql`'s rows, read beside the program's own connection; a failure as a row.
QStringList Sql(const QString& file, const QString& sql)
{
    QStringList righe;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"test"_s);
        db.setDatabaseName(file);
        const bool aperto = db.open();
        QSqlQuery q(db);
        if (!aperto || !q.exec(sql))
            righe << u"errore"_s;
        while (q.next())
            righe << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(u"test"_s);
    return righe;
}

} // namespace

// The real program, copied into a program folder of its own and run there without a display.
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

    QString File(const QString& nome) const { return m_cartella->File(nome); }
    QByteArray Leggi(const QString& nome) const
    {
        QFile f(File(nome));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("assente");
    }
    void Scrivi(const QString& nome, const QByteArray& contenuto)
    {
        QFile f(File(nome));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contenuto) == contenuto.size());
    }
    // Starts the program in the program folder, unless `p` already has an environment and a folder.
    void Avvia(QProcess& p, const QStringList& argomenti)
    {
        QProcessEnvironment ambiente = p.processEnvironment();
        if (ambiente.isEmpty())
            ambiente = QProcessEnvironment::systemEnvironment();
        for (const QString& nome : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            ambiente.remove(nome);
        p.setProcessEnvironment(ambiente);
        if (p.workingDirectory().isEmpty())
            p.setWorkingDirectory(m_cartella->Percorso());
        p.start(File(u"tarvel"_s), argomenti);
        QVERIFY(p.waitForStarted());
    }
    Esito Esegui(const QStringList& argomenti)
    {
        QProcess p;
        Avvia(p, argomenti);
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
            return {-1, {}, {}};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString Risultati() const { return u"File dei risultati: "_s + File(u"EsitiDaEle.txt"_s) + u'\n'; }
private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_server.Imposta(kPagina, PaginaProva::Html(kValida));
        m_cartella = std::make_unique<CartellaProva>();
        m_cartella->IndirizziVerso(m_server, 5);
        m_cartella->Ini().Scrivi(Chiavi::ElencoCome(), u"1"_s);
        QVERIFY(QFile::copy(qEnvironmentVariable("TARVEL_ESEGUIBILE"), File(u"tarvel"_s)));
    }

    // Status, output and output file of each command; a command writes no settings, and one too large
    // to read is named once on standard error.
    void comandi_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("out");          // "R" stands for the line naming the output file
        QTest::addColumn<QString>("err");          // a piece of standard error
        QTest::addColumn<QByteArray>("risultati"); // the start of EsitiDaEle.txt
        const QByteArray assente = "assente";
        const QByteArray stampa = "1) Risultato Partita IVA: IT00743110157\r\n";
        const auto riga = [](const char* nome, const QString& argomenti) -> QTestData& {
            return QTest::newRow(nome) << argomenti.split(u' ', Qt::SkipEmptyParts);
        };
        riga("unknown command", u"--boh"_s) << 2 << QString() << u"--boh"_s << assente;
        riga("no code", u"verifica --json"_s) << 2 << QString() << u"Uso:"_s << assente;
        riga("unknown source", u"verifica --fonte boh IT1"_s) << 2 << QString() << u"--fonte"_s << assente;
        riga("unknown option", u"verifica --nulla IT1"_s) << 2 << QString() << u"nulla"_s << assente;
        riga("no list", u"elenco"_s) << 2 << QString() << u"Uso: tarvel elenco FILE"_s << assente;
        riga("two lists", u"elenco a b"_s) << 2 << QString() << u"un solo file"_s << assente;
        riga("unknown list choice", u"elenco a --come carta"_s) << 2 << QString() << u"carta"_s << assente;
        riga("unknown list source", u"elenco a --fonte altra"_s)
            << 2 << QString() << u"fonte sconosciuta: altra"_s << assente;
        riga("no pages at once", u"elenco a --parallelo 0"_s)
            << 2 << QString() << u"--parallelo vuole un numero intero da 1 a 6: 0"_s << assente;
        riga("missing list", u"elenco manca.txt"_s)
            << 1 << QString() << u"manca.txt: elenco mancante"_s << assente;
        riga("another run going", u"elenco due.txt"_s)
            << 1 << QString() << u"ELENCO GIA' IN CORSO: "_s << assente;
        riga("only empty items", u"elenco vuote.txt"_s)
            << 0 << u"Codici elaborati: 0\nR"_s << QString() << QByteArray();
        riga("file, relative path", u"elenco due.txt --come file"_s)
            << 0 << u"Codici elaborati: 2\nR"_s
            << u"Elaborazione di 2 VAT in corso ...\n1/2 IT00743110157\n2/2 FR1\n"_s
            << QByteArray("IT00743110157|Partita IVA valida|IT|ROSSI SRL|");
        riga("COME by default", u"elenco due.txt"_s)
            << 0 << u"Codici elaborati: 2\nR"_s << QString() << stampa;
        riga("db without the database", u"elenco due.txt --come db"_s)
            << 0 << u"Codici elaborati: 2\nR"_s << QString() << stampa;
        riga("no settings file", u"verifica IT123"_s)
            << 1 << u"IT123\n  *** Lunghezza VAT errata 11-11\n"_s << QString() << assente;
        riga("settings too large to read", u"verifica IT123"_s) // the defaults do the work
            << 1 << u"IT123\n  *** Lunghezza VAT errata 11-11\n"_s << u"tarvel: Il file delle impostazioni "_s
            << assente;
        riga("unreachable", u"elenco muta.txt"_s)
            << 9 << u"Codici elaborati: 2\nR"_s << QString()
            << "1) Risultato Partita IVA: FR1\r\n" + QByteArray(80, '-') + "\r\n";
    }
    void comandi()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(int, stato);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, risultati);
        Scrivi(u"due.txt"_s, "IT00743110157 Rossi\r\nFR1\r\n");
        Scrivi(u"vuote.txt"_s, " \r\n,\r\n");
        Scrivi(u"muta.txt"_s, "FR1,IT99999999999,IT00743110157");
        QFile ini(File(u"tarvel.ini"_s));
        if (QTest::currentDataTag() == "no settings file"_ba)
            QVERIFY(ini.remove());
        if (QTest::currentDataTag() == "settings too large to read"_ba)
            QVERIFY(ini.resize(17 * 1024 * 1024));
        if (QTest::currentDataTag() == "db without the database"_ba)
            Scrivi(u"tarvel.db"_s, "non è un database");
        BloccoFile altra;
        if (QTest::currentDataTag() == "another run going"_ba)
            QVERIFY(altra.Prendi(File(u"tarvel-elenco.lock"_s)));
        const QByteArray impostazioni = Leggi(u"tarvel.ini"_s);
        const Esito e = Esegui(argomenti);
        QCOMPARE(e.stato, stato);
        QCOMPARE(e.out, out.replace(u"R"_s, Risultati()));
        QVERIFY2(e.err.contains(err) && e.err.count(u"tarvel: Il file"_s) <= 1,
                 qPrintable(e.err)); // said once
        QVERIFY(Leggi(u"EsitiDaEle.txt"_s).startsWith(risultati));
        QCOMPARE(Leggi(u"tarvel.ini"_s), impostazioni); // never created nor changed
    }

    // A JSON line or rows of text per code, control characters from a page or a code escaped; the
    // worst answer's status; --fonte for one run.
    void verifica()
    {
        Esito e = Esegui({u"verifica"_s, u"it00743110157"_s, u"IT123"_s, u"--json"_s});
        QCOMPARE(e.stato, 1);
        QCOMPARE(
            e.out,
            u"{\"codice\":\"it00743110157\",\"stato\":0,\"titoli\":[\"Esito:\",\"Stato\",\"Denominazione\","
            u"\"Indirizzo\",\"Inizio\",\"Fine\",\"\"],\"esiti\":[\"Partita IVA valida\",\"IT\",\"ROSSI SRL\","
            u"\"VIA PO 1\",\"01/02/1990\",\"\",\"Nota\",\"05/12/2026\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
            u"\"\",\"\",\"\",\"\"],\"errore\":\"\",\"consultazione\":\"\"}\n{\"codice\":\"IT123\",\"stato\":"
            u"1,\"titoli\":[\"\",\"*** Lunghezza VAT errata "
            u"11-11\",\"\",\"\",\"\",\"\",\"\"],\"esiti\":[\"\","
            u"\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"],"
            u"\"errore\":\"\",\"consultazione\":\"\"}\n"_s);
        QCOMPARE(m_server.Richieste(), QStringList{kPagina});

        m_server.Imposta(kPagina,
                         PaginaProva::Html(QByteArray(kValida).replace("ROSSI", "ROSSI\x1b[2J\x07\x7f")));
        e = Esegui({u"verifica"_s, u"IT00743110157"_s, u"IT\x1b[1\t\u009b"_s});
        QCOMPARE(e.stato, 1);
        QVERIFY2(e.out.startsWith(u"IT00743110157\n  Esito:                    Partita IVA valida\n"_s),
                 qPrintable(e.out));
        QVERIFY(e.out.contains(u"  Denominazione             ROSSI\\u001b[2J\\u0007\\u007f SRL\n"_s));
        QVERIFY(e.out.endsWith(u"\nIT\\u001b[1\\u0009\\u009b\n  *** Lunghezza VAT errata 11-11\n"_s));
        for (const QChar c : e.out)
            QVERIFY(c == u'\n' || c.category() != QChar::Other_Control);

        // An unknown page answers 404 without markers; the JSON line says why.
        e = Esegui({u"verifica"_s, u"--json"_s, u"IT00000000000"_s, u"IT1"_s});
        QCOMPARE(e.stato, 9);
        QVERIFY(
            e.out.contains(u",\"errore\":\"Pagina non leggibile (HTTP 404)\",\"consultazione\":\"\"}\n"_s));

        m_cartella->Ini().Scrivi(Chiavi::IndirizzoWeb(u"VIESREST"_s),
                                 m_server.Indirizzo(u"/ms/"_s).toString());
        m_server.Imposta(
            u"/ms/IT/vat/00743110157"_s,
            PaginaProva::Html(R"({"isValid":true,"userError":"VALID","requestIdentifier":"WAP1"})",
                              "application/json"));
        e = Esegui({u"verifica"_s, u"--fonte"_s, u"VIES"_s, u"--json"_s, u"IT00743110157"_s});
        QCOMPARE(e.stato, 0);
        QVERIFY2(e.out.endsWith(u"\"consultazione\":\"WAP1\"}\n"_s), qPrintable(e.out));
    }

    // Pages are saved only where --salva says. Nobody can answer a retry question: a save that fails
    // is said once and the answer stays as it was.
    void salvataggio_data()
    {
        QTest::addColumn<QString>("cartella"); // given to --salva, "" for none
        QTest::addColumn<QString>("err");
        QTest::newRow("the window's options ignored") << QString() << QString();
        QTest::newRow("saved") << u"pagine"_s << QString();
        QTest::newRow("folder missing")
            << u"/mancante/cartella"_s
            << u"Errori su  /mancante/cartella/PI_IT00743110157.htm: Questo percorso non esiste.\n"_s;
    }
    void salvataggio()
    {
        QFETCH(QString, cartella);
        QFETCH(QString, err);
        m_cartella->Ini().Scrivi({{Chiavi::Save(1), u"1"_s}, {Chiavi::DirSave(1), u"/mancante"_s}});
        QVERIFY(QDir().mkpath(File(u"pagine"_s)));
        const Esito e = Esegui(QStringList{u"verifica"_s, u"IT00743110157"_s} +
                               (cartella.isEmpty() ? QStringList() : QStringList{u"--salva"_s, cartella}));
        QCOMPARE(e.stato, 0);
        QVERIFY(e.out.contains(u"ROSSI SRL"_s));
        QCOMPARE(e.err, err);
        QCOMPARE(Leggi(u"pagine/PI_IT00743110157.htm"_s),
                 cartella == u"pagine"_s ? kValida + "\r\n" : QByteArray("assente"));
    }

    // Qt WebEngine is the browser module's alone: the program does not load it to start.
    void senzaBrowserAllAvvio()
    {
        QProcess ldd;
        ldd.start(u"ldd"_s, {File(u"tarvel"_s)});
        QVERIFY(ldd.waitForFinished(30000) && ldd.exitStatus() == QProcess::NormalExit &&
                ldd.exitCode() == 0);
        const QByteArray librerie = ldd.readAllStandardOutput();
        QVERIFY(librerie.contains("libQt6Widgets")); // the list is the program's
        QVERIFY2(!librerie.contains("WebEngine"), librerie.constData());
    }

    // Ctrl+C stops between codes: the code whose turn it is is written, pages fetched for later codes
    // are dropped, what was written is merged, and the status is 130.
    void ctrlC()
    {
        Scrivi(u"lista.txt"_s, "IT00000000001,IT00000000002,IT00000000003,IT00000000004,IT00000000005");
        PaginaProva pagina = PaginaProva::Html(kValida);
        pagina.ritardoMs = 100;
        m_server.Imposta(u"/vies"_s, pagina);
        pagina.ritardoMs = 600; // the second code's answer comes after the third's
        m_server.Imposta(u"/vies?stato=IT&piva=00000000002"_s, pagina);
        QProcess p;
        Avvia(p, {u"elenco"_s, u"lista.txt"_s});
        // Two of one member state at once: the third is asked once the first is written.
        QTRY_VERIFY_WITH_TIMEOUT(m_server.Richieste().contains(u"/vies?stato=IT&piva=00000000003"_s), 20000);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 130);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), u"Codici elaborati: 2\n"_s + Risultati());
        QCOMPARE(Leggi(u"EsitiDaEle.txt"_s).count("Risultato Partita IVA"), 2);
        QCOMPARE(Sql(File(u"tarvel.db"_s), u"SELECT Codice FROM PartiteIVA ORDER BY Codice"_s),
                 (QStringList{u"IT00000000001"_s, u"IT00000000002"_s}));
    }

    // Items that look like paths, quotes, control characters, lines of 10 000 characters: with pages
    // saved, the run writes only its own files in the program folder and its pages in the save
    // folder, even with home, temporary and current folder inside the program folder.
    void elencoOstile()
    {
        m_server.Imposta(u"/vies"_s, PaginaProva::Html(kValida));
        m_server.Imposta(u"/export"_s, PaginaProva::Html("<i class=\"outexport1\">Stato&nbsp;</i>"
                                                         "<i class=\"outexport2\">USCITA</i>"));
        m_server.Imposta(u"/transito"_s, PaginaProva::Html("<p>Nessun transito</p>"));
        const QByteArray lista = "../../x\r\nIT/../../..XY\r\n\"IT\\..\\..\\..xy\"\r\n26IT/../../../..EX\r\n"
                                 "26IT/../../../..TX/../../x\r\n"
                                 "IT\x01\x1b[2J\x07\"<>|/\r\n" // a name the program refuses: no page
                                 "IT\x01\x1b\x07\"\\|/:x..\r\n26IT000000000000E" +
                                 QByteArray(9983, '/') + "\r\nIT00743110157 " + QByteArray(9986, '.') +
                                 "\r\n" + QByteArray(5000, '/') + QByteArray(5000, '"') + "\r\n";
        const QString pagine = u"a/b/c/d/pagine/"_s;
        for (const QString& cartella : {u"p/q/lavoro"_s, u"p/q/casa"_s, u"p/q/tmp"_s, pagine})
            QVERIFY(QDir().mkpath(File(cartella)));
        Scrivi(u"p/q/lavoro/lista.txt"_s, lista);
        const auto albero = [this] {
            QStringList voci;
            QDirIterator it(m_cartella->Percorso(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                voci << QDir(m_cartella->Percorso()).relativeFilePath(it.next());
            return voci;
        };
        QStringList nuovi = albero();

        QProcess p;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(u"HOME"_s, File(u"p/q/casa"_s));
        ambiente.insert(u"TMPDIR"_s, File(u"p/q/tmp"_s));
        for (const QString& xdg : {u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s, u"XDG_DATA_HOME"_s})
            ambiente.remove(xdg); // under the home then
        p.setProcessEnvironment(ambiente);
        p.setWorkingDirectory(File(u"p/q/lavoro"_s));
        Avvia(p, {u"elenco"_s, u"lista.txt"_s, u"--salva"_s, u"../../../"_s + pagine});
        QVERIFY(p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput(), "Codici elaborati: 10\n" + Risultati().toUtf8());
        QCOMPARE(Leggi(u"p/q/lavoro/lista.txt"_s), lista);

        const QStringList prima = std::exchange(nuovi, albero());
        for (const QString& voce : prima)
            nuovi.removeOne(voce);
        nuovi.sort();
        QCOMPARE(
            nuovi,
            (QStringList{u"EsitiDaEle.txt"_s, u"TempFile"_s, pagine + u"EX_26IT_.._.._.._..EX.htm"_s,
                         pagine + u"EX_26IT_.._.._.._..TX_.._.._X.htm"_s, pagine + u"PI_IT00743110157.htm"_s,
                         pagine + u"PI_IT_.._.._..XY.htm"_s, pagine + u"PI_IT________X...htm"_s,
                         pagine + u"TR_26IT_.._.._.._..TX_.._.._X.htm"_s, u"tarvel-elenco.lock"_s,
                         u"tarvel.db"_s}));
    }

    // Killed at random moments, even in the middle of its merge, a run leaves a sound database whose
    // results table is either untouched or fully merged: 50 kills (TARVEL_UCCISIONI sets another
    // count), one at a random moment in each of as many equal slices of a whole run's time; a run that
    // ends before its moment shortens the time and is not counted. TARVEL_SEME repeats the moments.
    void uccisaACaso()
    {
        QByteArray lista;
        for (int i = 1; i <= 20; ++i) // half asked to the server, half malformed: answered at once
            lista += u"IT%1\r\nX%2\r\n"_s.arg(i, 11, 10, QChar(u'0')).arg(i).toLatin1();
        Scrivi(u"lista.txt"_s, lista);
        PaginaProva pagina = PaginaProva::Html(kValida);
        pagina.ritardoMs = 25; // queries long enough for a periodic commit of the work table
        m_server.Imposta(u"/vies"_s, pagina);
        QCOMPARE(Esegui({u"elenco"_s, u"vuota.txt"_s}).stato, 1); // creates the database
        const QString file = File(u"tarvel.db"_s);
        QCOMPARE(Sql(file, u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30) "
                           u"INSERT INTO PartiteIVA (Codice, Esito) SELECT c, 'Vecchio ' FROM "
                           u"(SELECT 'X' || i AS c FROM n UNION ALL SELECT printf('IT%011d', i) FROM n)"_s) +
                     // A merge slow enough to be killed halfway: every row it adds costs some work.
                     Sql(file, u"CREATE TRIGGER lento AFTER INSERT ON PartiteIVA BEGIN "
                               u"SELECT length(replace(hex(zeroblob(200000)), '0', '1')); END"_s),
                 QStringList());
        const QString originale = File(u"originale.db"_s);
        QVERIFY(QFile::copy(file, originale));
        const auto stato = [&] {
            return Sql(file, u"SELECT Codice || Esito FROM PartiteIVA ORDER BY Codice"_s);
        };
        const QStringList prima = stato();
        QElapsedTimer orologio;
        orologio.start();
        QCOMPARE(Esegui({u"elenco"_s, u"lista.txt"_s}).stato, 0);
        qint64 durata = orologio.elapsed() * 5 / 4; // room for slower runs; a faster one shortens it
        const QStringList dopo = stato();
        QVERIFY(dopo.size() == prima.size() && dopo != prima);

        const int volte = qEnvironmentVariableIsSet("TARVEL_UCCISIONI")
                              ? qEnvironmentVariableIntValue("TARVEL_UCCISIONI")
                              : 50;
        const quint32 seme = qEnvironmentVariableIsSet("TARVEL_SEME")
                                 ? quint32(qEnvironmentVariableIntValue("TARVEL_SEME"))
                                 : QRandomGenerator::global()->generate();
        QRandomGenerator casuale(seme);
        int uccise = 0, nellaFusione = 0;
        for (int corsa = 0; uccise < volte; ++corsa) {
            const qint64 ritardo = qint64(double(durata) * (uccise + casuale.generateDouble()) / volte);
            const QString caso = u"TARVEL_SEME=%1, corsa %2, %3 ms"_s.arg(seme).arg(corsa).arg(ritardo);
            QVERIFY2(corsa < 2 * volte, "too many runs ended before their moment");
            QVERIFY(QFile::remove(file) && QFile::copy(originale, file));
            QProcess p;
            orologio.start();
            Avvia(p, {u"elenco"_s, u"lista.txt"_s});
            if (p.waitForFinished(int(ritardo))) {
                durata = orologio.elapsed();
                continue;
            }
            p.kill();
            QVERIFY2(p.waitForFinished(), qPrintable(caso));
            ++uccise;
            // Past the last code the only transaction left is the merge: a journal left behind then
            // means the kill came in the middle of it.
            const QFileInfo giornale(file + u"-journal"_s);
            nellaFusione += giornale.size() > 0 && p.readAllStandardError().contains("40/40");
            QVERIFY2(Sql(file, u"PRAGMA integrity_check"_s) == QStringList{u"ok"_s}, qPrintable(caso));
            QVERIFY2(stato() == prima || stato() == dopo, qPrintable(caso));
        }
        QVERIFY2(nellaFusione > 0, qPrintable(u"TARVEL_SEME=%1"_s.arg(seme)));
    }

    // Pages at once: --parallelo, else PARALLELO of the settings, else 4; never above 6.
    void parallelo_data()
    {
        QTest::addColumn<QString>("opzione");   // of --parallelo, "" for none
        QTest::addColumn<QString>("impostato"); // PARALLELO, "" for none
        QTest::addColumn<int>("insieme");
        QTest::newRow("by default") << QString() << QString() << 4;
        QTest::newRow("from the settings") << QString() << u"5"_s << 5;
        QTest::newRow("settings above the cap") << QString() << u"9"_s << 6;
        QTest::newRow("option over the settings") << u"1"_s << u"5"_s << 1;
        QTest::newRow("option above the cap") << u"50"_s << QString() << 6;
    }
    void parallelo()
    {
        QFETCH(QString, opzione);
        QFETCH(QString, impostato);
        QFETCH(int, insieme);
        PaginaProva lenta = PaginaProva::Html("<p>Nessun movimento</p>");
        lenta.ritardoMs = 200;
        m_server.Imposta(u"/export"_s, lenta);
        if (!impostato.isEmpty())
            m_cartella->Ini().Scrivi(Chiavi::ElencoParallelo(), impostato);
        QByteArray lista;
        for (int i = 10; i < 18; ++i) // MRNs: no member state limits them
            lista += "26IT00000000" + QByteArray::number(i) + "00E7\r\n";
        Scrivi(u"lista.txt"_s, lista);
        QStringList argomenti{u"elenco"_s, u"lista.txt"_s};
        if (!opzione.isEmpty())
            argomenti << u"--parallelo"_s << opzione;
        QCOMPARE(Esegui(argomenti).stato, 0);
        int massimo = 0;
        for (const QStringList& aperte : m_server.Contemporanee())
            massimo = std::max(massimo, int(aperte.size()));
        QCOMPARE(massimo, insieme);
    }
};

QTEST_GUILESS_MAIN(TestRigaComando)
#include "tst_RigaComando.moc"
