#include "core/Impostazioni.h"
#include "countries/Nazioni.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestNazioni : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Nazioni m_nazioni;

    // Loads the table from a settings file holding `nazioni` as its NAZIONI section; the file as it is
    // afterwards.
    QByteArray Carica(const QByteArray& nazioni)
    {
        QFile f(m_dir.filePath(u"tarvel.ini"_s));
        if (!f.open(QIODevice::WriteOnly) || f.write("[NAZIONI]\r\n" + nazioni + "\r\n") < 0)
            qFatal("cannot write the settings");
        f.close();
        Impostazioni ini(f.fileName());
        m_nazioni.Carica(ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Each row as its code, name and lengths, comma-separated.
    QStringList Righe() const
    {
        QStringList righe;
        for (const RigaNazione& r : m_nazioni.Righe()) {
            QStringList campi{r.codice, r.nome};
            for (int n : {r.min1, r.max1, r.min2, r.max2, r.min3, r.max3})
                campi << QString::number(n);
            righe << campi.join(u',');
        }
        return righe;
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); } // "2.5" below is a decimal number

    // A blank CODICI (or none) writes and loads the default table: 27 countries and an empty last row.
    void predefinite()
    {
        const QByteArray scritto = Carica("CODICI=   \r\nIT=PROVA,1,1"_ba);
        QVERIFY(
            scritto.startsWith("[NAZIONI]\r\nCODICI=AT,BE,BG,CY,DK,EE,FI,FR,DE,GB,EL,IE,IT,LV,LT,LU,MT,NL,PL,"
                               "PT,CZ,RO,SK,SI,ES,SE,HU,\r\n"));
        QCOMPARE(scritto.count("\r\n"), 29);                        // section, CODICI and 27 rows
        QCOMPARE(Righe().mid(27), QStringList{u",,0,0,0,0,0,0"_s}); // 27 countries before it
    }

    // CODICI present: nothing is written, a missing row stays missing, the last code is never read,
    // and a bad row loads clamped, rounded or zeroed field by field, its name untrimmed.
    void righe()
    {
        const QByteArray nazioni =
            "CODICI=XX,FR,IT,DE\r\nXX=GRAN  BRETAGNA ,300,-5,2.5, 3.5 ,abc,1000000000\r\n"
            "FR=FRANCIA,11,11\r\nDE=GERMANIA,9,9";
        QCOMPARE(Carica(nazioni), "[NAZIONI]\r\n" + nazioni + "\r\n");
        QCOMPARE(Righe(), (QStringList{u"XX,GRAN  BRETAGNA ,255,0,2,4,0,255"_s, u"FR,FRANCIA,11,11,0,0,0,0"_s,
                                       u"IT,,0,0,0,0,0,0"_s, u"DE,,0,0,0,0,0,0"_s}));
    }

    void formato_data()
    {
        QTest::addColumn<QByteArray>("nazioni"); // empty: the default table
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<int>("riga");
        const QByteArray d;
        const QString lunghezza = u"*** Lunghezza VAT errata "_s;
        QTest::newRow("empty") << d << QString() << u"*** Codice VAT non indicato "_s << -1;
        QTest::newRow("GB 7") << d << u"GB1234567"_s << lunghezza + u"5-5, 9-9, 12-12"_s << 9;
        QTest::newRow("GR") << d << u"GR123456789"_s << u"*** Nazione CEE  'GR'  inesistente "_s << -1;
        QTest::newRow("inner blank counts") << d << u"IT 1234567890"_s << QString() << 12;
        QTest::newRow("zero min ends the list")
            << "CODICI=ZZ,\r\nZZ=PROVA,9,9,0,0,12,12"_ba << u"ZZ123456789012"_s << lunghezza + u"9-9"_s << 0;
        QTest::newRow("zero max accepts nothing")
            << "CODICI=ZZ,\r\nZZ=PROVA,5,0,7"_ba << u"ZZ12345"_s << lunghezza + u"5, 7"_s << 0;
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
