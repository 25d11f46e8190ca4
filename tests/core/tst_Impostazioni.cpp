#include "core/DocumentoIni.h"
#include "core/Impostazioni.h"
#include "support/DialoghiProva.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

class TestImpostazioni : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    const Chiave k{u"A"_s, u"K"_s};

    void ScriviFile(const QByteArray& contenuto) // in place, as an editor saving over it
    {
        QFile f(m_file);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(0) && f.write(contenuto) == contenuto.size());
    }
    QByteArray Contenuto() const
    {
        QFile f(m_file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
private Q_SLOTS:
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
        QTest::newRow("tab comment") << a("K=C:\\x y\\\tresto") << u"C:\\x y\\"_s;
        QTest::newRow("only spaces trimmed: tab first") << a("K=\tcommento") << QString();
        QTest::newRow("only spaces trimmed: VT kept") << a("K=\v5") << u"\v5"_s;
        QTest::newRow("quotes go before the bar cut") << a("K=\"a|b\"") << u"a"_s;
        QTest::newRow("quotes before a TAB comment stay") << a("K=\"a b\"\tnota") << u"\"a b\""_s;
        QTest::newRow("NUL cuts") << QByteArray("[A]\nK=ab\0cd", 11) << u"ab"_s;
        QTest::newRow("quotes go before the 199 cut")
            << a("K=\"") + QByteArray(250, 'x') + '"' << QString(199, u'x');
        QTest::newRow("spaces left by the cut are trimmed")
            << a("K=") + QByteArray(197, 'c') + "  d" << QString(197, u'c');
        QTest::newRow("windows-1252") << a("K=citt\xe0 \x80") << u"città €"_s;
        QTest::newRow("keys of a repeated section unseen") << a("[B]\r\nK=1\r\n[A]\r\nK=2") << QString();
        QTest::newRow("LF line ends") << "[B]\nK=1\n[A]\nK=2\n"_ba << u"2"_s;
    }
    void lettura()
    {
        QFETCH(QByteArray, testo);
        QTEST(DocumentoIni(testo).Valore(u"A"_s, u"K"_s), "atteso");
    }

    void scrittura()
    {
        Impostazioni ini(m_file);
        ini.Scrivi({{{u"STARTUP"_s, u"POSX"_s}, u"10"_s},
                    {{u"NAZIONI"_s, u"IT"_s}, u"Italia"_s},
                    {{u"startup"_s, u"posx"_s}, u"30"_s},
                    {{u"STARTUP"_s, u"DIMX"_s}, u"a\r\nX=1"_s}}); // a line end makes no key
        QCOMPARE(Contenuto(), "[STARTUP]\r\nPOSX=30\r\nDIMX=a  X=1\r\n\r\n[NAZIONI]\r\nIT=Italia\r\n"_ba);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"tarvel.ini"_s});

        // Lines the program never wrote keep their bytes; what Windows-1252 lacks becomes "?".
        QByteArray alti = "X=";
        for (int b = 0x80; b <= 0xff; ++b)
            alti += char(b);
        ScriviFile("; nota\n[A]\nK=1 | commento\n"_ba + alti + "\n[B]\nK=3\n"_ba);
        Impostazioni altro(m_file);
        altro.Scrivi({u"B"_s, u"K"_s}, u"città €\u4e2d"_s);
        altro.Scrivi({u"A"_s, u"Y"_s}, altro.Leggi({u"A"_s, u"X"_s}));
        QCOMPARE(Contenuto(), "; nota\r\n[A]\r\nK=1 | commento\r\n"_ba + alti + "\r\nY="_ba + alti.mid(2) +
                                  "\r\n[B]\r\nK=citt\xe0 \x80?\r\n"_ba);
    }

    // Keys added in place shift the lines after them: every key reads as a fresh reading of the
    // text would read it, odd names included.
    void indiceDopoAggiunte()
    {
        DocumentoIni d("[A]\r\nK=1\r\n\r\n[B]\r\nJ=2\r\n[]\r\nE=5\r\n[C]\r\nL=3\r\nL=4\r\n[c]\r\nM=9\r\n"_ba);
        for (const QString& a : {u"A/N/a"_s, u"b/m/b"_s, u"B/J/j"_s, u"D/X/d"_s, u"C/l/c"_s, u"/F/e"_s,
                                 u"A/[Z/z"_s, u"E]x/Y/y"_s, u"A/P=Q/p"_s})
            d.Imposta(a.section(u'/', 0, 0), a.section(u'/', 1, 1), a.section(u'/', 2));
        const DocumentoIni riletto(d.Testo());
        QStringList letti, riletti;
        for (const QString& sezione : {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u""_s, u"[Z"_s, u"Z"_s}) {
            for (const QString& chiave : {u"K"_s, u"N"_s, u"J"_s, u"M"_s, u"L"_s, u"X"_s, u"E"_s, u"F"_s,
                                          u"Y"_s, u"P"_s, u"[Z"_s, u"P=Q"_s}) {
                letti << d.Valore(sezione, chiave);
                riletti << riletto.Valore(sezione, chiave);
            }
        }
        QCOMPARE(letti, riletti);
        letti.removeAll(QString());
        QCOMPARE(letti, (QStringList{u"1"_s, u"a"_s, u"Q=p"_s, u"j"_s, u"b"_s, u"c"_s, u"d"_s, u"y"_s}));
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
        const QByteArray nuovo = Contenuto();
        Impostazioni(m_file).Scrivi(valori[0]);
        const QByteArray vecchio = Contenuto();
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
            const QByteArray dopo = Contenuto();
            QVERIFY2(dopo == vecchio || dopo == nuovo,
                     qPrintable(u"volta %1: %2 byte"_s.arg(volta).arg(dopo.size())));
        }
        for (const QString& avanzo : QDir(m_dir.path()).entryList({u"tarvel.ini.*"_s}, QDir::Files))
            QFile::remove(m_dir.filePath(avanzo)); // the temporary file of a save cut short
    }

    // A command keeps its saves in memory, over whatever the file says meanwhile.
    void soloMemoria()
    {
        Impostazioni ini(m_file, Impostazioni::Scrittura::SoloMemoria);
        ini.Scrivi({{k, u"1"_s}, {{u"B"_s, u"J"_s}, u"2"_s}});
        QCOMPARE(ini.Leggi(k), u"1"_s);
        QVERIFY(!QFileInfo::exists(m_file) && !ini.FileEsiste());
        ScriviFile("[A]\r\nK=9\r\nL=8\r\n"_ba);
        ini.Scrivi(k, u"3"_s);
        QCOMPARE(ini.Leggi(k) + ini.Leggi({u"A"_s, u"L"_s}) + ini.Leggi({u"B"_s, u"J"_s}), u"382"_s);
        QCOMPARE(Contenuto(), "[A]\r\nK=9\r\nL=8\r\n"_ba);
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
        if (caso == u"cartella"_s) {
            QVERIFY(QDir().mkpath(m_file));
        } else {
            ScriviFile("[A]\r\nK=1\r\n"_ba);
            if (caso == u"enorme"_s)
                QVERIFY(QFile::resize(m_file, 17 * 1024 * 1024));
            else
                QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::ReadGroup));
        }
        const QByteArray prima = Contenuto();
        DialoghiProva* prova = DialoghiProva::Installa();
        Impostazioni ini(m_file);
        const QString letto = ini.Leggi(k);
        ini.Scrivi({{k, u"2"_s}, {{u"B"_s, u"K"_s}, u"2"_s}});
        QCOMPARE(ini.Leggi(k), letto); // a lost write leaves what was read
        QCOMPARE(letto, caso == u"solaLettura"_s ? u"1"_s : QString());
        QCOMPARE(QFileInfo(m_file).isDir(), caso == u"cartella"_s);
        QVERIFY(Contenuto() == prima);
        QVERIFY(prova->Messaggi().isEmpty());

        Impostazioni comando(m_file, Impostazioni::Scrittura::SoloMemoria);
        comando.Leggi(k);
        comando.Leggi(k);
        QStringList detti;
        for (const Messaggio& m : prova->Messaggi())
            detti << (m.testo.contains(m_file) && m.testo.contains(difetto) ? difetto : m.testo);
        QCOMPARE(detti, difetto.isEmpty() ? QStringList() : QStringList{difetto});
    }

    // What a window may save knowing it will read it back whole.
    void valoreIntegro()
    {
        for (const QString& v : {u"/usr/bin/gedit \"a b\""_s, QString(198, u'x'), u"/opt/città €"_s})
            QVERIFY2(DocumentoIni::ValoreIntegro(v), qPrintable(v));
        for (const QString& v :
             {QString(199, u'x'), u"sh -c \"a|b\""_s, u"a\tb"_s, u"\"Calc\""_s, u"/opt/\u4e2d"_s})
            QVERIFY2(!DocumentoIni::ValoreIntegro(v), qPrintable(v));
    }
};

QTEST_GUILESS_MAIN(TestImpostazioni)
#include "tst_Impostazioni.moc"
