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
                           "<th>Fine</th><td></td><p class=\"vies_note\">Nota</p>";

// The database as the test reads it, beside the program's own connection.
class Db
{
public:
    explicit Db(const QString& file)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, kNome);
        db.setDatabaseName(file);
        db.open();
    }
    ~Db() { QSqlDatabase::removeDatabase(kNome); }
    QStringList Righe(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(kNome));
        QStringList righe;
        if (!q.exec(sql))
            righe << u"errore: "_s + sql;
        while (q.next())
            righe << q.value(0).toString();
        return righe;
    }
    bool Esegui(const QString& sql) const { return QSqlQuery(QSqlDatabase::database(kNome)).exec(sql); }

private:
    static inline const QString kNome = u"test"_s;
};

} // namespace

// The real program, copied into a program folder of its own, run as `tarvel elenco`.
class TestComandoElenco : public QObject
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
    void Avvia(QProcess& p, const QStringList& argomenti)
    {
        p.setWorkingDirectory(m_cartella->Percorso());
        p.start(File(u"tarvel"_s), QStringList{u"elenco"_s} + argomenti);
        QVERIFY(p.waitForStarted());
    }
    Esito Esegui(const QStringList& argomenti)
    {
        QProcess p;
        Avvia(p, argomenti);
        if (!p.waitForFinished(30000))
            return {-1, {}, {}};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    // Waits until the program's standard error holds `testo`.
    static bool Attendi(QProcess& p, const QString& testo)
    {
        p.setReadChannel(QProcess::StandardError);
        QByteArray letto;
        while (!letto.contains(testo.toUtf8())) {
            if (!p.waitForReadyRead(20000))
                return false;
            letto += p.readAllStandardError();
        }
        return true;
    }
    // Every file and folder under `cartella`, by relative path.
    static QStringList Albero(const QString& cartella)
    {
        QStringList voci;
        QDirIterator it(cartella, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            voci << QDir(cartella).relativeFilePath(it.next());
        voci.sort();
        return voci;
    }
    QString Risultati() const { return u"File dei risultati: "_s + File(u"EsitiDaEle.txt"_s) + u'\n'; }

private Q_SLOTS:
    void init()
    {
        m_server.Svuota();
        m_server.Imposta(u"/vies?stato=IT&piva=00743110157"_s, PaginaProva::Html(kValida));
        m_cartella = std::make_unique<CartellaProva>();
        m_cartella->IndirizziVerso(m_server, 5);
        m_cartella->Ini().Scrivi(Chiavi::ElencoCome(), u"1"_s);
        QVERIFY(QFile::copy(qEnvironmentVariable("TARVEL_ESEGUIBILE"), File(u"tarvel"_s)));
    }

    void uscite_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QByteArray>("lista"); // lista.txt
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("out");          // "R" stands for the line naming the output file
        QTest::addColumn<QByteArray>("risultati"); // the start of EsitiDaEle.txt
        QTest::addColumn<QString>("err");          // a piece of standard error
        const QStringList lista{u"lista.txt"_s};
        const QByteArray due = "IT00743110157 Rossi\r\nFR1\r\n";
        QTest::newRow("no list named") << QStringList() << due << 2 << QString() << QByteArray("assente")
                                       << u"Uso: tarvel elenco FILE"_s;
        QTest::newRow("two lists") << QStringList{u"a"_s, u"b"_s} << due << 2 << QString()
                                   << QByteArray("assente") << u"un solo file"_s;
        QTest::newRow("unknown choice") << lista + QStringList{u"--come"_s, u"carta"_s} << due << 2
                                        << QString() << QByteArray("assente") << u"carta"_s;
        QTest::newRow("unknown source")
            << lista + QStringList{u"--fonte"_s, u"altra"_s} << due << 2 << QString() << QByteArray("assente")
            << u"fonte sconosciuta: altra"_s;
        QTest::newRow("parallel, not a number")
            << lista + QStringList{u"--parallelo"_s, u"tre"_s} << due << 2 << QString()
            << QByteArray("assente") << u"--parallelo vuole un numero intero da 1 a 6: tre"_s;
        QTest::newRow("parallel, zero") << lista + QStringList{u"--parallelo"_s, u"0"_s} << due << 2
                                        << QString() << QByteArray("assente") << u"da 1 a 6: 0"_s;
        QTest::newRow("missing list") << QStringList{u"manca.txt"_s} << due << 1 << QString()
                                      << QByteArray("assente") << u"manca.txt: elenco mancante"_s;
        QTest::newRow("only empty items") << lista << QByteArray(" \r\n,\r\n") << 0
                                          << u"Codici elaborati: 0\nR"_s << QByteArray() << QString();
        QTest::newRow("file, relative path")
            << lista + QStringList{u"--come"_s, u"file"_s} << due << 0 << u"Codici elaborati: 2\nR"_s
            << QByteArray("IT00743110157|Partita IVA valida|IT|ROSSI SRL|")
            << u"Elaborazione di 2 VAT in corso ...\n1/2 IT00743110157\n2/2 FR1\n"_s;
        QTest::newRow("COME by default")
            << lista << due << 0 << u"Codici elaborati: 2\nR"_s
            << QByteArray("1) Risultato Partita IVA: IT00743110157\r\n") << QString();
        QTest::newRow("db without the database")
            << lista + QStringList{u"--come"_s, u"db"_s} << due << 0 << u"Codici elaborati: 2\nR"_s
            << QByteArray("1) Risultato Partita IVA: IT00743110157\r\n") << QString();
        QTest::newRow("unreachable") << lista << QByteArray("FR1,IT99999999999,IT00743110157") << 9
                                     << u"Codici elaborati: 2\nR"_s
                                     << QByteArray("1) Risultato Partita IVA: FR1\r\n" + QByteArray(80, '-') +
                                                   "\r\n")
                                     << QString();
    }
    void uscite()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(QByteArray, lista);
        QFETCH(int, stato);
        QFETCH(QString, out);
        QFETCH(QByteArray, risultati);
        QFETCH(QString, err);
        Scrivi(u"lista.txt"_s, lista);
        if (QTest::currentDataTag() == "db without the database"_ba)
            Scrivi(u"tarvel.db"_s, "non è un database");
        const QByteArray impostazioni = Leggi(u"tarvel.ini"_s);
        const Esito e = Esegui(argomenti);
        QCOMPARE(e.stato, stato);
        QCOMPARE(e.out, out.replace(u"R"_s, Risultati()));
        QVERIFY2(e.err.contains(err), qPrintable(e.err));
        QVERIFY(Leggi(u"EsitiDaEle.txt"_s).startsWith(risultati));
        QCOMPARE(Leggi(u"tarvel.ini"_s), impostazioni); // a command writes no settings
    }

    // Ctrl+C stops between codes: the code whose turn it is is written, pages fetched for later codes
    // are dropped, what was written is merged, and the status is 130.
    void ctrlC()
    {
        PaginaProva pagina = PaginaProva::Html(kValida);
        pagina.ritardoMs = 100;
        m_server.Imposta(u"/vies"_s, pagina);
        pagina.ritardoMs = 600; // the second code's answer comes after the third's
        m_server.Imposta(u"/vies?stato=IT&piva=00000000002"_s, pagina);
        Scrivi(u"lista.txt"_s,
               "IT00000000001,IT00000000002,IT00000000003,IT00000000004,IT00000000005,IT00000000006");
        QProcess p;
        Avvia(p, {u"lista.txt"_s});
        QVERIFY(Attendi(p, u"2/6 IT00000000002"_s));
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 130);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), u"Codici elaborati: 2\n"_s + Risultati());
        QCOMPARE(Leggi(u"EsitiDaEle.txt"_s).count("Risultato Partita IVA"), 2);
        QCOMPARE(Db(File(u"tarvel.db"_s)).Righe(u"SELECT Codice FROM PartiteIVA ORDER BY Codice"_s),
                 (QStringList{u"IT00000000001"_s, u"IT00000000002"_s}));
        QVERIFY(m_server.Richieste().contains(u"/vies?stato=IT&piva=00000000003"_s));
    }

    // One list run per program folder: a second is refused while the first goes, and a run killed
    // outright leaves no lock behind.
    void unaAllaVolta()
    {
        PaginaProva lenta = PaginaProva::Html(kValida);
        lenta.ritardoMs = 300;
        m_server.Imposta(u"/vies"_s, lenta);
        Scrivi(u"lista.txt"_s, "IT00000000001,IT00000000002,IT00000000003");
        QProcess primo;
        Avvia(primo, {u"lista.txt"_s});
        QVERIFY(Attendi(primo, u"1/3"_s));
        const Esito secondo = Esegui({u"lista.txt"_s});
        QCOMPARE(secondo.stato, 1);
        QVERIFY2(secondo.err.startsWith(u"ELENCO GIA' IN CORSO: "_s), qPrintable(secondo.err));
        QVERIFY(secondo.out.isEmpty());
        primo.kill();
        QVERIFY(primo.waitForFinished());
        QCOMPARE(Esegui({u"lista.txt"_s}).stato, 0);
    }

    // Items that look like paths, quotes, control characters, lines of 10 000 characters: with pages
    // saved, the run writes only its own files in the program folder and its pages in the save
    // folder. Home, temporary folder and current folder are inside the program folder, and the save
    // folder holds folders named as a page's name begins, so that a write through any of them or
    // through ".." would show in the scan.
    void elencoOstile()
    {
        m_server.Imposta(u"/vies"_s, PaginaProva::Html(kValida));
        m_server.Imposta(u"/export"_s, PaginaProva::Html("<i class=\"outexport1\">Stato&nbsp;</i>"
                                                         "<i class=\"outexport2\">USCITA</i>"));
        m_server.Imposta(u"/transito"_s, PaginaProva::Html("<p>Nessun transito</p>"));
        const QByteArray lista = "../../x\r\n"
                                 "IT/../../..XY\r\n"
                                 "\"IT\\..\\..\\..xy\"\r\n"
                                 "26IT/../../../..EX\r\n"
                                 "26IT/../../../..TX/../../x\r\n"
                                 "IT\x01\x1b[2J\x07\"<>|/\r\n" // a name the program refuses: no page
                                 "IT\x01\x1b\x07\"\\|/:x..\r\n"
                                 "26IT000000000000E" +
                                 QByteArray(9983, '/') + "\r\nIT00743110157 " + QByteArray(9986, '.') +
                                 "\r\n" + QByteArray(5000, '/') + QByteArray(5000, '"') + "\r\n";
        const QString lavoro = File(u"p/q/lavoro"_s);
        const QString casa = File(u"p/q/casa"_s);
        const QString pagine = u"a/b/c/d/pagine/"_s;
        for (const QString& cartella :
             {lavoro, casa, File(u"p/q/tmp"_s), File(pagine + u"PI_IT"_s), File(pagine + u"EX_26IT"_s)})
            QVERIFY(QDir().mkpath(cartella));
        Scrivi(u"p/q/lavoro/lista.txt"_s, lista);
        const QStringList prima = Albero(m_cartella->Percorso());

        QProcess p;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(u"HOME"_s, casa);
        ambiente.insert(u"TMPDIR"_s, File(u"p/q/tmp"_s));
        for (const QString& xdg : {u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s, u"XDG_DATA_HOME"_s})
            ambiente.remove(xdg); // under the home then
        p.setProcessEnvironment(ambiente);
        p.setWorkingDirectory(lavoro);
        p.start(File(u"tarvel"_s), {u"elenco"_s, u"lista.txt"_s, u"--salva"_s, u"../../../"_s + pagine});
        QVERIFY(p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput(), "Codici elaborati: 10\n" + Risultati().toUtf8());
        QCOMPARE(Leggi(u"p/q/lavoro/lista.txt"_s), lista);

        QStringList nuovi = Albero(m_cartella->Percorso());
        for (const QString& voce : prima)
            nuovi.removeOne(voce);
        const QStringList attesi{u"EsitiDaEle.txt"_s,
                                 u"TempFile"_s,
                                 pagine + u"EX_26IT_.._.._.._..EX.htm"_s,
                                 pagine + u"EX_26IT_.._.._.._..TX_.._.._X.htm"_s,
                                 pagine + u"PI_IT00743110157.htm"_s,
                                 pagine + u"PI_IT_.._.._..XY.htm"_s,
                                 pagine + u"PI_IT________X...htm"_s,
                                 pagine + u"TR_26IT_.._.._.._..TX_.._.._X.htm"_s,
                                 u"tarvel-elenco.lock"_s,
                                 u"tarvel.db"_s};
        QCOMPARE(nuovi.join(u'\n'), attesi.join(u'\n'));
    }

    // Killed at random moments, even in the middle of its merge, a run leaves a sound database whose
    // results table is either untouched or fully merged. 50 kills (TARVEL_UCCISIONI sets another
    // count), one at a random moment in each of as many equal slices of a whole run's time, so that
    // every phase gets some; a run that ends before its moment shortens the time and is not counted.
    // TARVEL_SEME repeats a sequence of moments.
    void uccisaACaso()
    {
        PaginaProva pagina = PaginaProva::Html(kValida);
        pagina.ritardoMs = 25; // queries long enough for a periodic commit of the work table
        m_server.Imposta(u"/vies"_s, pagina);
        QByteArray lista;
        for (int i = 1; i <= 20; ++i) // half asked to the server, half malformed: answered at once
            lista += u"IT%1\r\nX%2\r\n"_s.arg(i, 11, 10, QChar(u'0')).arg(i).toLatin1();
        Scrivi(u"lista.txt"_s, lista);
        QCOMPARE(Esegui({u"vuota.txt"_s}).stato, 1); // creates the database
        const QString file = File(u"tarvel.db"_s);
        {
            const Db db(file);
            QVERIFY(
                db.Esegui(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30) "
                          u"INSERT INTO PartiteIVA (Codice, Esito) SELECT c, 'Vecchio ' FROM "
                          u"(SELECT 'X' || i AS c FROM n UNION ALL SELECT printf('IT%011d', i) FROM n)"_s));
            // A merge slow enough to be killed halfway: every row it adds costs some work.
            QVERIFY(db.Esegui(u"CREATE TRIGGER lento AFTER INSERT ON PartiteIVA BEGIN "
                              u"SELECT length(replace(hex(zeroblob(200000)), '0', '1')); END"_s));
        }
        const QString originale = File(u"originale.db"_s);
        QVERIFY(QFile::copy(file, originale));
        const auto stato = [&] {
            return Db(file).Righe(u"SELECT Codice || Esito FROM PartiteIVA ORDER BY Codice"_s);
        };
        const QStringList prima = stato();
        QElapsedTimer orologio;
        orologio.start();
        QCOMPARE(Esegui({u"lista.txt"_s}).stato, 0);
        qint64 durata = orologio.elapsed() * 5 / 4; // room for slower runs; a faster one shortens it
        const QStringList dopo = stato();
        QCOMPARE(dopo.size(), prima.size());
        QVERIFY(dopo != prima);

        const int volte = qEnvironmentVariableIsSet("TARVEL_UCCISIONI")
                              ? qEnvironmentVariableIntValue("TARVEL_UCCISIONI")
                              : 50;
        const quint32 seme = qEnvironmentVariableIsSet("TARVEL_SEME")
                                 ? quint32(qEnvironmentVariableIntValue("TARVEL_SEME"))
                                 : QRandomGenerator::global()->generate();
        QRandomGenerator casuale(seme);
        int uccise = 0;
        int nellaFusione = 0;
        for (int corsa = 0; uccise < volte; ++corsa) {
            QVERIFY2(corsa < 2 * volte, "too many runs ended before their moment");
            QFile::remove(file);
            QVERIFY(QFile::copy(originale, file));
            const qint64 ritardo = qint64(double(durata) * (uccise + casuale.generateDouble()) / volte);
            const QString caso = u"TARVEL_SEME=%1, corsa %2, %3 ms"_s.arg(seme).arg(corsa).arg(ritardo);
            QProcess p;
            orologio.start();
            Avvia(p, {u"lista.txt"_s});
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
            if (giornale.exists() && giornale.size() > 0 && p.readAllStandardError().contains("40/40"))
                ++nellaFusione;
            QVERIFY2(Db(file).Righe(u"PRAGMA integrity_check"_s) == QStringList{u"ok"_s}, qPrintable(caso));
            const QStringList ora = stato();
            QVERIFY2(ora == prima || ora == dopo, qPrintable(caso));
        }
        QVERIFY2(nellaFusione > 0, qPrintable(u"TARVEL_SEME=%1"_s.arg(seme)));
    }

    // Pages at once: --parallelo, else PARALLELO of the settings, else 4; never above 6.
    void parallelo_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("impostato"); // PARALLELO, "" for none
        QTest::addColumn<int>("insieme");
        QTest::newRow("by default") << QStringList() << QString() << 4;
        QTest::newRow("from the settings") << QStringList() << u"5"_s << 5;
        QTest::newRow("settings above the cap") << QStringList() << u"9"_s << 6;
        QTest::newRow("option") << QStringList{u"--parallelo"_s, u"3"_s} << QString() << 3;
        QTest::newRow("option over the settings") << QStringList{u"--parallelo"_s, u"1"_s} << u"5"_s << 1;
        QTest::newRow("option above the cap") << QStringList{u"--parallelo"_s, u"50"_s} << QString() << 6;
    }
    void parallelo()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, impostato);
        QFETCH(int, insieme);
        PaginaProva lenta = PaginaProva::Html("<p>Nessun movimento</p>");
        lenta.ritardoMs = 200;
        m_server.Imposta(u"/export"_s, lenta);
        if (!impostato.isEmpty())
            m_cartella->Ini().Scrivi(Chiavi::ElencoParallelo(), impostato);
        QByteArray lista;
        for (int i = 10; i < 18; ++i)
            lista += "26IT00000000" + QByteArray::number(i) + "00E7\r\n"; // MRNs: no member state limits them
        Scrivi(u"lista.txt"_s, lista);
        QCOMPARE(Esegui(QStringList{u"lista.txt"_s} + argomenti).stato, 0);
        int massimo = 0;
        for (const QStringList& aperte : m_server.Contemporanee())
            massimo = std::max(massimo, int(aperte.size()));
        QCOMPARE(massimo, insieme);
    }
};

QTEST_GUILESS_MAIN(TestComandoElenco)
#include "tst_ComandoElenco.moc"
