#include "app/Globali.h"
#include "core/FileIni.h"
#include "countries/ComboNazioni.h"
#include "countries/ControlloFormatoVAT.h"
#include "countries/Nazioni.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kCodiciPredefiniti =
    u"AT,BE,BG,CY,DK,EE,FI,FR,DE,GB,EL,IE,IT,LV,LT,LU,MT,NL,PL,PT,CZ,RO,SK,SI,ES,SE,HU,"_s;
const QString kLunghezza = u"*** Lunghezza VAT errata "_s;
} // namespace

class TestNazioni : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static void Scrivi(const QByteArray& contenuto)
    {
        QFile f(gFileIni);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenuto);
    }
    static QByteArray Contenuto()
    {
        QFile f(gFileIni);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString Nazioni(const QString& chiave) { return LeggiIni(gFileIni, u"NAZIONI"_s, chiave); }
    static QList<int> Lunghezze(const RigaNazione& r)
    {
        return {r.min1, r.max1, r.min2, r.max2, r.min3, r.max3};
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c()); // "2.5" below is a decimal number
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        QFile::remove(gFileIni);
        gNazioni.clear();
    }

    void predefinite_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("blank CODICI") << "[NAZIONI]\r\nCODICI=   \r\nIT=PROVA,1,1\r\n"_ba;
    }
    void predefinite()
    {
        QFETCH(QByteArray, contenuto);
        if (!contenuto.isEmpty())
            Scrivi(contenuto);
        CaricaNazioni();

        QCOMPARE(Nazioni(u"CODICI"_s), kCodiciPredefiniti);
        QCOMPARE(Nazioni(u"IT"_s), u"ITALIA,11,11,0,0,0,0"_s);
        QCOMPARE(Contenuto().count("\r\n"), 29); // section, CODICI and 27 rows
        QCOMPARE(gNazioni.size(), 28);
        QCOMPARE(gNazioni.last().codice, QString());
        QCOMPARE(Lunghezze(gNazioni[9]), QList<int>({5, 5, 9, 9, 12, 12}));

        QComboBox combo;
        RiempiComboNazioni(&combo);
        QCOMPARE(combo.count(), 27);
        QCOMPARE(combo.itemText(0), u"AT - AUSTRIA"_s);
        QCOMPARE(combo.itemText(26), u"HU - UNGHERIA"_s);
    }

    // CODICI present: nothing is written, a missing row stays missing, the last code is never read.
    void codiciPresenti()
    {
        const QByteArray contenuto =
            "[NAZIONI]\r\nCODICI=FR,IT,DE\r\nFR=FRANCIA,11,11\r\nDE=GERMANIA,9,9\r\n"_ba;
        Scrivi(contenuto);
        CaricaNazioni();
        QCOMPARE(Contenuto(), contenuto);
        QCOMPARE(gNazioni.size(), 3);
        QCOMPARE(Lunghezze(gNazioni[0]), QList<int>({11, 11, 0, 0, 0, 0}));
        QCOMPARE(gNazioni[1].nome, QString());
        QCOMPARE(Lunghezze(gNazioni[1]), QList<int>({0, 0, 0, 0, 0, 0}));
        QCOMPARE(gNazioni[2].nome, QString());

        QComboBox combo;
        combo.addItem(u"old"_s);
        RiempiComboNazioni(&combo);
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.itemText(0), u"FR - FRANCIA"_s);
        QCOMPARE(combo.itemText(1), u"IT - "_s);
    }

    void campiDellaRiga_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QList<int>>("lunghezze");
        QTest::newRow("out of range clamped")
            << u"X,300,-5,1e9,-1e9,2,255"_s << u"X"_s << QList<int>{255, 0, 255, 0, 2, 255};
        QTest::newRow("rounded to even") << u"X,2.5,3.5,0.4,,,"_s << u"X"_s << QList<int>{2, 4, 0, 0, 0, 0};
        QTest::newRow("non-numeric is 0") << u"X,abc,9,?,,,"_s << u"X"_s << QList<int>{0, 9, 0, 0, 0, 0};
        QTest::newRow("fields missing") << u"MALTA,8"_s << u"MALTA"_s << QList<int>{8, 0, 0, 0, 0, 0};
        QTest::newRow("name not trimmed")
            << u"GRAN  BRETAGNA , 5 ,5"_s << u"GRAN  BRETAGNA "_s << QList<int>{5, 5, 0, 0, 0, 0};
    }
    void campiDellaRiga()
    {
        QFETCH(QString, valore);
        QFETCH(QString, nome);
        QFETCH(QList<int>, lunghezze);
        ScriviIni(gFileIni, u"NAZIONI"_s, u"CODICI"_s, u"XX,AT,"_s);
        ScriviIni(gFileIni, u"NAZIONI"_s, u"XX"_s, valore);
        ScriviIni(gFileIni, u"NAZIONI"_s, u"AT"_s, u"AUSTRIA,9,9"_s);
        CaricaNazioni();
        QCOMPARE(gNazioni[0].nome, nome);
        QCOMPARE(Lunghezze(gNazioni[0]), lunghezze);
        QCOMPARE(gNazioni[1].nome, u"AUSTRIA"_s); // the load went on
    }

    void formato_data()
    {
        QTest::addColumn<QByteArray>("nazioni"); // the NAZIONI section; empty: the default table
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<int>("posizione");

        QTest::newRow("empty") << QByteArray() << QString() << u"*** Codice VAT non indicato "_s << -1;
        QTest::newRow("AT 8") << QByteArray() << u"AT12345678"_s << kLunghezza + u"9-9"_s << 0;
        QTest::newRow("AT 9") << QByteArray() << u"AT123456789"_s << QString() << 0;
        QTest::newRow("GB 5") << QByteArray() << u"GB12345"_s << QString() << 9;
        QTest::newRow("GB 9") << QByteArray() << u"GB123456789"_s << QString() << 9;
        QTest::newRow("GB 12") << QByteArray() << u"GB123456789012"_s << QString() << 9;
        QTest::newRow("GB 7") << QByteArray() << u"GB1234567"_s << kLunghezza + u"5-5, 9-9, 12-12"_s << 9;
        QTest::newRow("LT 10") << QByteArray() << u"LT1234567890"_s << kLunghezza + u"9-9, 12-12"_s << 14;
        QTest::newRow("RO 2") << QByteArray() << u"RO12"_s << QString() << 21;
        QTest::newRow("RO 1") << QByteArray() << u"RO1"_s << kLunghezza + u"2-10"_s << 21;
        QTest::newRow("GR") << QByteArray() << u"GR123456789"_s << u"*** Nazione CEE  'GR'  inesistente "_s
                            << -1;
        QTest::newRow("prefix only") << QByteArray() << u"IT"_s << kLunghezza + u"11-11"_s << 12;
        QTest::newRow("one character")
            << QByteArray() << u"I"_s << u"*** Nazione CEE  'I'  inesistente "_s << -1;
        QTest::newRow("dots count") << QByteArray() << u"IT123.456.789.01"_s << kLunghezza + u"11-11"_s << 12;
        QTest::newRow("inner blank counts") << QByteArray() << u"IT 1234567890"_s << QString() << 12;

        QTest::newRow("no trailing comma")
            << "CODICI=AT,HU\r\nAT=AUSTRIA,9,9\r\nHU=UNGHERIA,8,8"_ba << u"HU12345678"_s << kLunghezza << 1;
        QTest::newRow("IT row missing")
            << "CODICI=AT,IT,\r\nAT=AUSTRIA,9,9"_ba << u"IT12345678901"_s << kLunghezza << 1;
        QTest::newRow("lower-case code") << "CODICI=it,\r\nit=ITALIA,11,11"_ba << u"IT12345678901"_s
                                         << u"*** Nazione CEE  'IT'  inesistente "_s << -1;
        QTest::newRow("zero min ends the list")
            << "CODICI=ZZ,\r\nZZ=PROVA,9,9,0,0,12,12"_ba << u"ZZ123456789012"_s << kLunghezza + u"9-9"_s << 0;
        QTest::newRow("zero max accepts nothing")
            << "CODICI=ZZ,\r\nZZ=PROVA,5,0,7"_ba << u"ZZ12345"_s << kLunghezza + u"5, 7"_s << 0;
    }
    void formato()
    {
        QFETCH(QByteArray, nazioni);
        QFETCH(QString, numero);
        QFETCH(QString, messaggio);
        QFETCH(int, posizione);
        if (!nazioni.isEmpty())
            Scrivi("[NAZIONI]\r\n"_ba + nazioni + "\r\n"_ba);
        CaricaNazioni();
        gNazCorrente = 99;
        QCOMPARE(ControlloFormatoVAT(numero), messaggio);
        QCOMPARE(gNazCorrente, posizione);
    }
};

QTEST_MAIN(TestNazioni)
#include "tst_Nazioni.moc"
