#include "core/Cp1252.h"
#include "core/FileIni.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestFileIni : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    void Scrivi(const QByteArray& contenuto)
    {
        QFile f(m_file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenuto);
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
    }

    void lettura_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("sezione");
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<QString>("atteso");

        QTest::newRow("plain") << "[A]\r\nK=v\r\n"_ba << u"A"_s << u"K"_s << u"v"_s;
        QTest::newRow("comment after bar")
            << "[A]\r\nView0=1 | mostra\r\n"_ba << u"A"_s << u"View0"_s << u"1"_s;
        QTest::newRow("comment after tab")
            << "[A]\r\nDir=C:\\x y\\\tresto\r\n"_ba << u"A"_s << u"Dir"_s << u"C:\\x y\\"_s;
        QTest::newRow("lower-case section")
            << "[startup]\r\nPOSX=5\r\n"_ba << u"STARTUP"_s << u"POSX"_s << u"5"_s;
        QTest::newRow("key case") << "[A]\r\nnomeVarie1=x\r\n"_ba << u"A"_s << u"NomeVarie1"_s << u"x"_s;
        QTest::newRow("spaces around") << "[A]\r\n  K  =   a b   \r\n"_ba << u"A"_s << u"K"_s << u"a b"_s;
        QTest::newRow("quotes removed") << "[A]\r\nK=\" a \"\r\n"_ba << u"A"_s << u"K"_s << u"a"_s;
        QTest::newRow("lone quote kept") << "[A]\r\nK=\"a\r\n"_ba << u"A"_s << u"K"_s << u"\"a"_s;
        QTest::newRow("empty value") << "[A]\r\nK=\r\n"_ba << u"A"_s << u"K"_s << QString();
        QTest::newRow("missing key") << "[A]\r\nK=1\r\n"_ba << u"A"_s << u"J"_s << QString();
        QTest::newRow("missing section") << "[A]\r\nK=1\r\n"_ba << u"B"_s << u"K"_s << QString();
        QTest::newRow("key of another section")
            << "[A]\r\nK=1\r\n[B]\r\nJ=2\r\n"_ba << u"B"_s << u"K"_s << QString();
        QTest::newRow("same key in two sections")
            << "[A]\r\nK=1\r\n[B]\r\nK=2\r\n"_ba << u"B"_s << u"K"_s << u"2"_s;
        QTest::newRow("first of repeated keys") << "[A]\r\nK=1\r\nK=2\r\n"_ba << u"A"_s << u"K"_s << u"1"_s;
        QTest::newRow("LF line ends") << "[A]\nK=1\n[B]\nK=2\n"_ba << u"B"_s << u"K"_s << u"2"_s;
        QTest::newRow("no final line end") << "[A]\r\nK=fine"_ba << u"A"_s << u"K"_s << u"fine"_s;
        QTest::newRow("equals in value")
            << "[A]\r\nU=http://x?a=1\r\n"_ba << u"A"_s << u"U"_s << u"http://x?a=1"_s;
        QTest::newRow("windows-1252") << "[A]\r\nK=citt\xe0 \x80\r\n"_ba << u"A"_s << u"K"_s << u"città €"_s;
        QTest::newRow("NUL cuts") << QByteArray("[A]\r\nK=ab\0cd\r\n", 14) << u"A"_s << u"K"_s << u"ab"_s;
        QTest::newRow("binary garbage")
            << QByteArray("\x01\xff\x00[\x02=\x03\r\n\xfe", 10) << u"A"_s << u"K"_s << QString();
        QTest::newRow("truncated section line") << "[A\r\nK=1\r\n"_ba << u"A"_s << u"K"_s << u"1"_s;
        QTest::newRow("199 then bar")
            << "[A]\r\nK="_ba + QByteArray(199, 'x') + "|y\r\n"_ba << u"A"_s << u"K"_s << QString(199, u'x');
    }
    void lettura()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, sezione);
        QFETCH(QString, chiave);
        QFETCH(QString, atteso);
        Scrivi(contenuto);
        QCOMPARE(LeggiIni(m_file, sezione, chiave), atteso);
    }

    void valoreLungoTagliato()
    {
        const QString lungo = QString(120, u'a') + QString(130, u'b');
        ScriviIni(m_file, u"A"_s, u"K"_s, lungo);
        QCOMPARE(LeggiIni(m_file, u"A"_s, u"K"_s), lungo.left(199));
        // The cut comes before the trimming: blanks at 199 vanish, a bar beyond 199 does not matter.
        ScriviIni(m_file, u"A"_s, u"K"_s, QString(197, u'c') + u"  d|e"_s);
        QCOMPARE(LeggiIni(m_file, u"A"_s, u"K"_s), QString(197, u'c'));
    }

    void fileMancante()
    {
        QCOMPARE(LeggiIni(m_file, u"A"_s, u"K"_s), QString());
        QCOMPARE(LeggiIni(m_dir.filePath(u"no/such/x.ini"_s), u"A"_s, u"K"_s), QString());
        ScriviIni(m_dir.filePath(u"no/such/x.ini"_s), u"A"_s, u"K"_s, u"1"_s);
        QVERIFY(!QFile::exists(m_dir.filePath(u"no/such/x.ini"_s)));
    }

    void scritturaCreaESostituisce()
    {
        ScriviIni(m_file, u"STARTUP"_s, u"POSX"_s, u"10"_s);
        QCOMPARE(Contenuto(), "[STARTUP]\r\nPOSX=10\r\n"_ba);
        ScriviIni(m_file, u"STARTUP"_s, u"POSY"_s, u"20"_s);
        ScriviIni(m_file, u"NAZIONI"_s, u"IT"_s, u"Italia"_s);
        ScriviIni(m_file, u"startup"_s, u"posx"_s, u"30"_s);
        QCOMPARE(Contenuto(), "[STARTUP]\r\nPOSX=30\r\nPOSY=20\r\n\r\n[NAZIONI]\r\nIT=Italia\r\n"_ba);
        // A new key of an earlier section goes after its last entry, not after the blank line.
        ScriviIni(m_file, u"STARTUP"_s, u"DIMX"_s, u"6480"_s);
        QCOMPARE(Contenuto(),
                 "[STARTUP]\r\nPOSX=30\r\nPOSY=20\r\nDIMX=6480\r\n\r\n[NAZIONI]\r\nIT=Italia\r\n"_ba);
        QCOMPARE(LeggiIni(m_file, u"Startup"_s, u"dimx"_s), u"6480"_s);
    }

    void scritturaConservaIlResto()
    {
        Scrivi("; note\n[A]\nK=1 | comment\nJ=2\n[B]\nK=3\n"_ba);
        ScriviIni(m_file, u"B"_s, u"K"_s, u"4"_s);
        QCOMPARE(Contenuto(), "; note\r\n[A]\r\nK=1 | comment\r\nJ=2\r\n[B]\r\nK=4\r\n"_ba);
    }

    void scritturaTestoNonRappresentabile()
    {
        ScriviIni(m_file, u"A"_s, u"K"_s, u"città €\u4e2d"_s);
        QCOMPARE(Contenuto(), "[A]\r\nK=citt\xe0 \x80?\r\n"_ba);
        // A line end in a value must not make a key of its own.
        ScriviIni(m_file, u"A"_s, u"J"_s, u"a\r\nX=1"_s);
        QCOMPARE(LeggiIni(m_file, u"A"_s, u"X"_s), QString());
    }

    void fileSolaLettura()
    {
        Scrivi("[A]\r\nK=1\r\n"_ba);
        QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        ScriviIni(m_file, u"A"_s, u"K"_s, u"2"_s);
        ScriviIni(m_file, u"B"_s, u"K"_s, u"2"_s);
        QCOMPARE(Contenuto(), "[A]\r\nK=1\r\n"_ba);
        QCOMPARE(LeggiIni(m_file, u"A"_s, u"K"_s), u"1"_s);
    }

    void fileEnormeNonRiscritto()
    {
        {
            QFile f(m_file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[A]\r\nK=1\r\n");
            QVERIFY(f.resize(17 * 1024 * 1024));
        }
        QCOMPARE(LeggiIni(m_file, u"A"_s, u"K"_s), QString());
        ScriviIni(m_file, u"A"_s, u"K"_s, u"2"_s);
        QCOMPARE(QFileInfo(m_file).size(), qint64(17 * 1024 * 1024));
    }

    void diecimilaChiavi()
    {
        QByteArray contenuto = "[GRANDE]\r\n";
        for (int i = 0; i < 10000; ++i)
            contenuto += "K" + QByteArray::number(i) + "=" + QByteArray::number(i * 7) + "\r\n";
        contenuto += "[ULTIMA]\r\nZ=fine\r\n";
        Scrivi(contenuto);
        QCOMPARE(LeggiIni(m_file, u"grande"_s, u"K9999"_s), u"69993"_s);
        QCOMPARE(LeggiIni(m_file, u"ULTIMA"_s, u"Z"_s), u"fine"_s);
        ScriviIni(m_file, u"GRANDE"_s, u"K5000"_s, u"x"_s);
        ScriviIni(m_file, u"GRANDE"_s, u"NUOVA"_s, u"y"_s);
        QCOMPARE(LeggiIni(m_file, u"GRANDE"_s, u"K5000"_s), u"x"_s);
        QCOMPARE(LeggiIni(m_file, u"GRANDE"_s, u"K4999"_s), u"34993"_s);
        QVERIFY(Contenuto().contains("K9999=69993\r\nNUOVA=y\r\n[ULTIMA]"));
    }

    void scritturaNonLasciaTemporanei()
    {
        ScriviIni(m_file, u"A"_s, u"K"_s, u"1"_s);
        ScriviIni(m_file, u"A"_s, u"K"_s, u"2"_s);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"tarvel.ini"_s});
    }

    void cp1252AndataRitorno()
    {
        QByteArray tutti;
        for (int b = 0; b < 256; ++b)
            tutti.append(char(b));
        QCOMPARE(Cp1252::Codifica(Cp1252::Decodifica(tutti)), tutti);
        QVERIFY(Cp1252::Rappresentabile(u'€'));
        QVERIFY(!Cp1252::Rappresentabile(QChar(0x4e2d)));
        QCOMPARE(Cp1252::Codifica(u"a\U0001F600b"_s), "a?b"_ba);
    }
};

QTEST_GUILESS_MAIN(TestFileIni)
#include "tst_FileIni.moc"
