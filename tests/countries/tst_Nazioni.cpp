#include "core/ChiaviIni.h"
#include "countries/ComboNazioni.h"
#include "countries/Nazioni.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kLunghezza = u"*** Lunghezza VAT errata "_s;

QList<int> Lunghezze(const RigaNazione& r)
{
    return {r.min1, r.max1, r.min2, r.max2, r.min3, r.max3};
}

} // namespace

class TestNazioni : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Nazioni m_nazioni;

    // Loads the table from a settings file holding `nazioni` as its NAZIONI section (none when empty).
    QByteArray Carica(const QByteArray& nazioni)
    {
        const QString file = m_dir.filePath(u"tarvel.ini"_s);
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) ||
            (!nazioni.isEmpty() && f.write("[NAZIONI]\r\n" + nazioni + "\r\n") < 0))
            qFatal("cannot write the settings");
        f.close();
        Impostazioni ini(file);
        m_nazioni.Carica(ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList Combo() const
    {
        QComboBox combo;
        combo.addItem(u"old"_s);
        RiempiComboNazioni(&combo, m_nazioni);
        QStringList voci;
        for (int i = 0; i < combo.count(); ++i)
            voci << combo.itemText(i);
        return voci;
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); } // "2.5" below is a decimal number

    // Without CODICI the default table is written and loaded: 27 countries and an empty last row.
    void predefinite_data()
    {
        QTest::addColumn<QByteArray>("nazioni");
        QTest::newRow("no section") << QByteArray();
        QTest::newRow("blank CODICI") << "CODICI=   \r\nIT=PROVA,1,1"_ba;
    }
    void predefinite()
    {
        QFETCH(QByteArray, nazioni);
        const QByteArray scritto = Carica(nazioni);
        QVERIFY(scritto.contains("\r\nCODICI=AT,BE,BG,CY,DK,EE,FI,FR,DE,GB,EL,IE,IT,LV,LT,LU,MT,NL,PL,PT,CZ,"
                                 "RO,SK,SI,ES,SE,HU,\r\n"));
        QVERIFY(scritto.contains("\r\nIT=ITALIA,11,11,0,0,0,0\r\n"));
        QCOMPARE(scritto.count("\r\n"), 29); // section, CODICI and 27 rows
        QCOMPARE(m_nazioni.Righe().size(), 28);
        QCOMPARE(m_nazioni.Righe().last().codice, QString());
        QCOMPARE(Lunghezze(m_nazioni.Righe()[9]), QList<int>({5, 5, 9, 9, 12, 12}));
        const QStringList voci = Combo();
        QCOMPARE(voci.size(), 27);
        QCOMPARE(voci.first() + u'|' + voci.last(), u"AT - AUSTRIA|HU - UNGHERIA"_s);
    }

    // CODICI present: nothing is written, a missing row stays missing, the last code is never read,
    // and a bad row loads clamped or zeroed field by field without stopping the others.
    void righe_data()
    {
        QTest::addColumn<QString>("valore"); // of XX, listed before FR, IT and DE
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QList<int>>("lunghezze");
        QTest::newRow("clamped") << u"X,300,-5,1000000000,-1000000000,2,255"_s << u"X"_s
                                 << QList{255, 0, 255, 0, 2, 255};
        QTest::newRow("rounded to even") << u"X,2.5,3.5,0.4,,,"_s << u"X"_s << QList{2, 4, 0, 0, 0, 0};
        QTest::newRow("non-numeric is 0") << u"X,abc,9,?,,,"_s << u"X"_s << QList{0, 9, 0, 0, 0, 0};
        QTest::newRow("name not trimmed")
            << u"GRAN  BRETAGNA , 5 ,5"_s << u"GRAN  BRETAGNA "_s << QList{5, 5, 0, 0, 0, 0};
    }
    void righe()
    {
        QFETCH(QString, valore);
        const QByteArray nazioni =
            "CODICI=XX,FR,IT,DE\r\nXX=" + valore.toUtf8() + "\r\nFR=FRANCIA,11,11\r\nDE=GERMANIA,9,9";
        QCOMPARE(Carica(nazioni), "[NAZIONI]\r\n" + nazioni + "\r\n");
        QTEST(m_nazioni.Righe()[0].nome, "nome");
        QTEST(Lunghezze(m_nazioni.Righe()[0]), "lunghezze");
        QCOMPARE(Lunghezze(m_nazioni.Righe()[1]), QList({11, 11, 0, 0, 0, 0}));
        QCOMPARE(m_nazioni.Righe()[3].nome, QString());
        QCOMPARE(Combo(),
                 QStringList({u"XX - "_s + m_nazioni.Righe()[0].nome, u"FR - FRANCIA"_s, u"IT - "_s}));
    }

    void formato_data()
    {
        QTest::addColumn<QByteArray>("nazioni"); // empty: the default table
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<int>("riga");
        const QByteArray d;
        QTest::newRow("empty") << d << QString() << u"*** Codice VAT non indicato "_s << -1;
        QTest::newRow("AT 8") << d << u"AT12345678"_s << kLunghezza + u"9-9"_s << 0;
        QTest::newRow("AT 9") << d << u"AT123456789"_s << QString() << 0;
        QTest::newRow("GB 12") << d << u"GB123456789012"_s << QString() << 9;
        QTest::newRow("GB 7") << d << u"GB1234567"_s << kLunghezza + u"5-5, 9-9, 12-12"_s << 9;
        QTest::newRow("RO 1") << d << u"RO1"_s << kLunghezza + u"2-10"_s << 21;
        QTest::newRow("GR") << d << u"GR123456789"_s << u"*** Nazione CEE  'GR'  inesistente "_s << -1;
        QTest::newRow("inner blank counts") << d << u"IT 1234567890"_s << QString() << 12;
        QTest::newRow("no trailing comma")
            << "CODICI=AT,HU\r\nHU=UNGHERIA,8,8"_ba << u"HU12345678"_s << kLunghezza << 1;
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
        Carica(nazioni);
        const EsitoFormato esito = m_nazioni.ControlloFormatoVAT(numero);
        QTEST(esito.messaggio, "messaggio");
        QTEST(esito.riga, "riga");
    }
};

QTEST_MAIN(TestNazioni)
#include "tst_Nazioni.moc"
