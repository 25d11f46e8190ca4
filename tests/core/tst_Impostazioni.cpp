#include "core/Cp1252.h"
#include "core/DocumentoIni.h"
#include "core/Impostazioni.h"
#include "support/DialoghiProva.h"

#include <QTemporaryDir>
#include <QtTest>

#include <QRandomGenerator>

#include <csignal>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

void ScriviFile(const QString& percorso, const QByteArray& contenuto)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::ReadWrite)); // in place: same file, as an editor saving over it
    QVERIFY(f.resize(0));
    QCOMPARE(f.write(contenuto), contenuto.size());
}

QByteArray Contenuto(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestImpostazioni : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;
    const Chiave k{u"A"_s, u"K"_s};
    int m_eventi = -1;

    // The events of `maschera` on tarvel.ini since the last count. The kernel merges an event with an
    // identical one still unread, so opens are watched too: they stand between two rewrites.
    int Eventi(uint32_t maschera)
    {
        alignas(inotify_event) char dati[4096];
        int n = 0;
        for (ssize_t letti; (letti = ::read(m_eventi, dati, sizeof dati)) > 0;) {
            for (char* p = dati; p < dati + letti;
                 p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                n += (e->mask & maschera) && e->len > 0 && qstrcmp(e->name, "tarvel.ini") == 0;
            }
        }
        return n;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_eventi = inotify_init1(IN_NONBLOCK);
        QVERIFY(inotify_add_watch(m_eventi, QFile::encodeName(m_dir.path()).constData(),
                                  IN_OPEN | IN_CLOSE_WRITE | IN_MOVED_TO) >= 0);
    }
    void cleanupTestCase() { ::close(m_eventi); }
    void init()
    {
        m_file = m_dir.filePath(u"tarvel.ini"_s);
        QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(m_file);
        QDir(m_file).removeRecursively();
    }

    void lettura_data()
    {
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<QString>("atteso"); // of K in section A
        const auto a = [](const char* riga) -> QByteArray { return "[A]\r\n"_ba + riga; };
        QTest::newRow("plain") << a("K=v") << u"v"_s;
        QTest::newRow("spaces around name and value") << a("  k  =   a b   ") << u"a b"_s;
        QTest::newRow("bar comment") << a("K=1 | x") << u"1"_s;
        QTest::newRow("tab comment") << a("K=C:\\x y\\\tresto") << u"C:\\x y\\"_s;
        QTest::newRow("only spaces trimmed: tab first") << a("K=\tcommento") << QString();
        QTest::newRow("only spaces trimmed: VT kept") << a("K=\v5") << u"\v5"_s;
        QTest::newRow("quotes go before the bar cut") << a("K=\"a|b\"") << u"a"_s;
        QTest::newRow("quotes before a TAB comment stay") << a("K=\"a b\"\tnota") << u"\"a b\""_s;
        QTest::newRow("spaces inside quotes") << a("K=\" a \"") << u"a"_s;
        QTest::newRow("lone quote kept") << a("K=\"a") << u"\"a"_s;
        QTest::newRow("equals in value") << a("K=http://x?a=1") << u"http://x?a=1"_s;
        QTest::newRow("empty") << a("K=") << QString();
        QTest::newRow("NUL cuts") << QByteArray("[A]\nK=ab\0cd", 11) << u"ab"_s;
        QTest::newRow("250 read as 199") << a("K=") + QByteArray(250, 'x') << QString(199, u'x');
        QTest::newRow("quotes go before the 199 cut")
            << a("K=\"") + QByteArray(250, 'x') + '"' << QString(199, u'x');
        QTest::newRow("spaces left by the cut are trimmed")
            << a("K=") + QByteArray(197, 'c') + "  d" << QString(197, u'c');
        QTest::newRow("windows-1252") << a("K=citt\xe0 \x80") << u"città €"_s;
        QTest::newRow("names without case") << "[a]\r\nk=5\r\n"_ba << u"5"_s;
        QTest::newRow("first key wins") << a("K=1\r\nk=2") << u"1"_s;
        QTest::newRow("first section wins") << a("K=1\r\n[a]\r\nK=2") << u"1"_s;
        QTest::newRow("keys of a repeated section unseen") << a("[B]\r\nK=1\r\n[A]\r\nK=2") << QString();
        QTest::newRow("key of another section") << "[B]\r\nK=1\r\n[A]\r\nJ=2\r\n"_ba << QString();
        QTest::newRow("LF line ends") << "[B]\nK=1\n[A]\nK=2\n"_ba << u"2"_s;
        QTest::newRow("binary garbage") << QByteArray("\x01\xff\x00[\x02=\x03\r\n\xfe", 10) << QString();
    }
    void lettura()
    {
        QFETCH(QByteArray, testo);
        QFETCH(QString, atteso);
        QCOMPARE(DocumentoIni(testo).Valore(u"A"_s, u"K"_s), atteso);
    }

    void scrittura()
    {
        Impostazioni ini(m_file);
        ini.Scrivi({u"STARTUP"_s, u"POSX"_s}, u"10"_s);
        QCOMPARE(Contenuto(m_file), "[STARTUP]\r\nPOSX=10\r\n"_ba);
        ini.Scrivi({{{u"STARTUP"_s, u"POSY"_s}, u"20"_s},
                    {{u"NAZIONI"_s, u"IT"_s}, u"Italia"_s},
                    {{u"startup"_s, u"posx"_s}, u"30"_s},
                    {{u"STARTUP"_s, u"DIMX"_s}, u"a\r\nX=1"_s}}); // a line end makes no key
        QCOMPARE(Contenuto(m_file),
                 "[STARTUP]\r\nPOSX=30\r\nPOSY=20\r\nDIMX=a  X=1\r\n\r\n[NAZIONI]\r\nIT=Italia\r\n"_ba);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"tarvel.ini"_s});

        // Lines the program never wrote keep their bytes; what Windows-1252 lacks becomes "?".
        QByteArray alti = "X=";
        for (int b = 0x80; b <= 0xff; ++b)
            alti += char(b);
        ScriviFile(m_file, "; nota\n[A]\nK=1 | commento\n"_ba + alti + "\n[B]\nK=3\n"_ba);
        Impostazioni altro(m_file);
        altro.Scrivi({u"B"_s, u"K"_s}, u"città €\u4e2d"_s);
        altro.Scrivi({u"A"_s, u"Y"_s}, altro.Leggi({u"A"_s, u"X"_s}));
        QCOMPARE(Contenuto(m_file), "; nota\r\n[A]\r\nK=1 | commento\r\n"_ba + alti + "\r\nY="_ba +
                                        alti.mid(2) + "\r\n[B]\r\nK=citt\xe0 \x80?\r\n"_ba);
        QCOMPARE(Cp1252::Codifica(Cp1252::Decodifica(alti)), alti);
    }

    // Keys added in place shift the lines after them: every key reads as a fresh reading of the
    // text would read it, odd names included.
    void indiceDopoAggiunte()
    {
        DocumentoIni d("[A]\r\nK=1\r\n\r\n[B]\r\nJ=2\r\n[]\r\nE=5\r\n[C]\r\nL=3\r\nL=4\r\n[c]\r\nM=9\r\n"_ba);
        const QList<std::array<QString, 3>> aggiunte = {
            {u"A"_s, u"N"_s, u"a"_s},  {u"b"_s, u"m"_s, u"b"_s},   {u"B"_s, u"J"_s, u"j"_s},
            {u"D"_s, u"X"_s, u"d"_s},  {u"C"_s, u"l"_s, u"c"_s},   {u""_s, u"F"_s, u"e"_s},
            {u"A"_s, u"[Z"_s, u"z"_s}, {u"E]x"_s, u"Y"_s, u"y"_s}, {u"A"_s, u"P=Q"_s, u"p"_s},
        };
        for (const auto& [sezione, chiave, valore] : aggiunte)
            d.Imposta(sezione, chiave, valore);
        const DocumentoIni riletto(d.Testo());
        const QStringList sezioni = {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u""_s, u"[Z"_s, u"Z"_s};
        const QStringList chiavi = {u"K"_s, u"N"_s, u"J"_s, u"M"_s, u"L"_s,  u"X"_s,
                                    u"E"_s, u"F"_s, u"Y"_s, u"P"_s, u"[Z"_s, u"P=Q"_s};
        for (const QString& sezione : sezioni) {
            for (const QString& chiave : chiavi)
                QCOMPARE(d.Valore(sezione, chiave), riletto.Valore(sezione, chiave));
        }
        QCOMPARE((QStringList{d.Valore(u"A"_s, u"N"_s), d.Valore(u"B"_s, u"M"_s), d.Valore(u"B"_s, u"J"_s),
                              d.Valore(u"D"_s, u"X"_s), d.Valore(u"C"_s, u"L"_s), d.Valore(u"E"_s, u"Y"_s)}),
                 (QStringList{u"a"_s, u"b"_s, u"j"_s, u"d"_s, u"c"_s, u"y"_s}));
    }

    // A save killed half-way, at any moment, leaves the old file or the new one, whole.
    void salvataggioUcciso()
    {
        QList<std::pair<Chiave, QString>> valori[2]; // a megabyte each: a save takes a while
        for (int i = 0; i < 64; ++i) {
            valori[0].append({{u"A"_s, u"K%1"_s.arg(i)}, QString(16384, u'v')});
            valori[1].append({{u"A"_s, u"K%1"_s.arg(i)}, QString(16384, u'n')});
        }
        Impostazioni(m_file).Scrivi(valori[1]);
        const QByteArray nuovo = Contenuto(m_file);
        Impostazioni(m_file).Scrivi(valori[0]);
        const QByteArray vecchio = Contenuto(m_file);

        for (int volta = 0; volta < 50; ++volta) {
            const pid_t figlio = ::fork();
            QVERIFY(figlio >= 0);
            if (figlio == 0) {
                for (int n = 0;; ++n)
                    Impostazioni(m_file).Scrivi(valori[n % 2]);
            }
            ::usleep(QRandomGenerator::global()->bounded(1000u, 40000u));
            ::kill(figlio, SIGKILL);
            QCOMPARE(::waitpid(figlio, nullptr, 0), figlio);
            const QByteArray dopo = Contenuto(m_file);
            QVERIFY2(dopo == vecchio || dopo == nuovo,
                     qPrintable(u"volta %1: %2 byte"_s.arg(volta).arg(dopo.size())));
        }
        for (const QString& avanzo : QDir(m_dir.path()).entryList({u"tarvel.ini.*"_s}, QDir::Files))
            QFile::remove(m_dir.filePath(avanzo)); // the temporary file of a save cut short
    }

    void unaLetturaFinoAlCambio()
    {
        ScriviFile(m_file, "[A]\r\nK=1\r\n[B]\r\nJ=5\r\n"_ba);
        Impostazioni ini(m_file);
        Eventi(IN_OPEN);
        int aperture = 0;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(ini.Leggi(k) + ini.Leggi({u"B"_s, u"J"_s}), u"15"_s);
            aperture += Eventi(IN_OPEN);
        }
        QCOMPARE(aperture, 1);

        // Saved over in place by an editor, same size; its clock moved on (set here: the file
        // system's clock may not have ticked yet).
        const QDateTime dopo = QFileInfo(m_file).lastModified().addSecs(2);
        const auto ora = [&] {
            QFile f(m_file);
            return f.open(QIODevice::ReadWrite) && f.setFileTime(dopo, QFileDevice::FileModificationTime);
        };
        ScriviFile(m_file, "[A]\r\nK=2\r\n[B]\r\nJ=5\r\n"_ba);
        QVERIFY(ora());
        QCOMPARE(ini.Leggi(k), u"2"_s);
        // Another writer of the program within the same tick: same size and time, but a new file.
        Impostazioni altro(m_file);
        altro.Scrivi(k, u"3"_s);
        QVERIFY(ora());
        QCOMPARE(ini.Leggi(k), u"3"_s);
        QCOMPARE(ini.Numero(k), 3.0);
        ini.Scrivi({u"A"_s, u"J"_s}, u"4"_s); // on top of what the other wrote
        QCOMPARE(Contenuto(m_file), "[A]\r\nK=3\r\nJ=4\r\n[B]\r\nJ=5\r\n"_ba);
        QFile::remove(m_file);
        QCOMPARE(ini.Leggi(k), QString());
    }

    void unaRiscritturaPerGruppo()
    {
        Impostazioni ini(m_file);
        ini.Scrivi(k, u"0"_s);
        Eventi(IN_CLOSE_WRITE | IN_MOVED_TO);
        QList<std::pair<Chiave, QString>> valori;
        for (int i = 0; i < 20; ++i)
            valori.append({ChiaveIndicizzata(u"WEBPARAM"_s, u"View"_s, i), QString::number(i)});
        ini.Scrivi(valori);
        QCOMPARE(Eventi(IN_CLOSE_WRITE | IN_MOVED_TO), 1);
        QCOMPARE(Impostazioni(m_file).Leggi({u"webparam"_s, u"VIEW19"_s}), u"19"_s);
    }

    void soloMemoria()
    {
        Impostazioni ini(m_file, Impostazioni::Scrittura::SoloMemoria);
        ini.Scrivi({{k, u"1"_s}, {{u"B"_s, u"J"_s}, u"2"_s}});
        QCOMPARE(ini.Leggi(k), u"1"_s);
        QVERIFY(!QFileInfo::exists(m_file));
        QVERIFY(!ini.FileEsiste());

        // A file written meanwhile by the window program shows through, under what this run wrote.
        ScriviFile(m_file, "[A]\r\nK=9\r\nL=8\r\n"_ba);
        QCOMPARE(ini.Leggi({u"A"_s, u"L"_s}), u"8"_s);
        QCOMPARE(ini.Leggi(k), u"1"_s);
        QCOMPARE(ini.Leggi({u"B"_s, u"J"_s}), u"2"_s);
        ini.Scrivi(k, u"3"_s);
        QCOMPARE(Contenuto(m_file), "[A]\r\nK=9\r\nL=8\r\n"_ba);
    }

    // A file it cannot read or write is never rewritten. The window program keeps quiet about it; a
    // command, which works on defaults when it cannot read the file, says so once, by name.
    void maiRiscritto_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("difetto");
        QTest::newRow("read-only") << u"solaLettura"_s << QString();
        QTest::newRow("over the size limit") << u"enorme"_s << u"è troppo grande"_s;
        QTest::newRow("a folder") << u"cartella"_s << u"non si può leggere"_s;
    }
    void maiRiscritto()
    {
        QFETCH(QString, caso);
        QFETCH(QString, difetto);
        QByteArray prima = "[A]\r\nK=1\r\n"_ba;
        if (caso == u"cartella"_s) {
            QVERIFY(QDir().mkpath(m_file));
        } else {
            ScriviFile(m_file, prima);
            if (caso == u"enorme"_s) {
                QVERIFY(QFile::resize(m_file, 17 * 1024 * 1024));
                prima = Contenuto(m_file);
            } else {
                QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::ReadGroup));
            }
        }
        DialoghiProva* prova = DialoghiProva::Installa();
        Impostazioni ini(m_file);
        const QString letto = ini.Leggi(k);
        ini.Scrivi(k, u"2"_s);
        ini.Scrivi({u"B"_s, u"K"_s}, u"2"_s);
        QCOMPARE(ini.Leggi(k), letto); // a lost write leaves what was read
        QCOMPARE(letto, caso == u"solaLettura"_s ? u"1"_s : QString());
        QCOMPARE(QFileInfo(m_file).isDir(), caso == u"cartella"_s);
        if (!QFileInfo(m_file).isDir())
            QVERIFY(Contenuto(m_file) == prima);
        QVERIFY(prova->Messaggi().isEmpty());

        Impostazioni comando(m_file, Impostazioni::Scrittura::SoloMemoria);
        comando.Leggi(k);
        comando.Leggi(k);
        QCOMPARE(prova->Messaggi().size(), difetto.isEmpty() ? 0 : 1);
        if (!difetto.isEmpty())
            QVERIFY(prova->Messaggi()[0].testo.contains(m_file) &&
                    prova->Messaggi()[0].testo.contains(difetto));
    }

    // What a window may save knowing it will read it back whole.
    void valoreIntegro_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<bool>("integro");
        QTest::newRow("plain, with inner quotes") << u"/usr/bin/gedit \"a b\""_s << true;
        QTest::newRow("198 characters") << QString(198, u'x') << true;
        QTest::newRow("199 characters") << QString(199, u'x') << false;
        QTest::newRow("10 000 characters") << QString(10000, u'x') << false;
        QTest::newRow("bar") << u"sh -c \"a|b\""_s << false;
        QTest::newRow("tab") << u"a\tb"_s << false;
        QTest::newRow("enclosing quotes") << u"\"Calc\""_s << false;
        QTest::newRow("not in Windows-1252") << u"/opt/\u4e2d/x"_s << false;
        QTest::newRow("accents and euro") << u"/opt/città €"_s << true;
    }
    void valoreIntegro()
    {
        QFETCH(QString, valore);
        QTEST(DocumentoIni::ValoreIntegro(valore), "integro");
    }
};

QTEST_GUILESS_MAIN(TestImpostazioni)
#include "tst_Impostazioni.moc"
