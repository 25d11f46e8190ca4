#include "app/Globali.h"
#include "web/IndirizziWeb.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kExport = u"http://www.adm.gov.it/ed/servizi/esportazione/export.htm?mrn="_s;
const QString kTransiti = u"http://www.adm.gov.it/ed/servizi/ecustoms/transito/mrn/transito.htm?mrn="_s;
const QString kVat = u"http://www1.agenziaentrate.gov.it/servizi/vies/vies.htm?act=piva&stato="_s;
} // namespace

class TestIndirizziWeb : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        gFileIni = m_dir.filePath(u"tarvel.ini"_s);
        QFile::remove(gFileIni);
        gIndirizziWeb = {};
    }

    void lettura_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QStringList>("attesi"); // EXPORT, TRANSITI, VAT, VATPIVA

        QTest::newRow("no file") << QByteArray() << QStringList{kExport, kTransiti, kVat, u"&piva="_s};
        QTest::newRow("blank values")
            << "[INDIRIZZIWEB]\r\nEXPORT=   \r\nTRANSITI=\r\nVAT=\"\"\r\nVATPIVA=\r\n"_ba
            << QStringList{kExport, kTransiti, kVat, u"&piva="_s};
        QTest::newRow("set values") << "[INDIRIZZIWEB]\r\nEXPORT=https://e/x?m=\r\nTRANSITI= t \r\n"
                                       "VAT=https://v/q?s=|old\r\nVATPIVA=&n=\r\n"_ba
                                    << QStringList{u"https://e/x?m="_s, u"t"_s, u"https://v/q?s="_s,
                                                   u"&n="_s};
        QTest::newRow("other section")
            << "[WEBPARAM]\r\nVAT=x\r\n"_ba << QStringList{kExport, kTransiti, kVat, u"&piva="_s};
    }
    void lettura()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QStringList, attesi);
        if (!contenuto.isEmpty()) {
            QFile f(gFileIni);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenuto);
        }
        LeggiIndirizziWeb();
        QCOMPARE((QStringList{gIndirizziWeb.Export, gIndirizziWeb.Transiti, gIndirizziWeb.Vat,
                              gIndirizziWeb.VatPiva}),
                 attesi);
        QCOMPARE(QFile::exists(gFileIni), !contenuto.isEmpty()); // nothing written back
    }

    void indirizzi()
    {
        LeggiIndirizziWeb();
        QCOMPARE(
            IndirizzoVat(u"IT01234567890"_s),
            u"http://www1.agenziaentrate.gov.it/servizi/vies/vies.htm?act=piva&stato=IT&piva=01234567890"_s);
        QCOMPARE(IndirizzoVat(u"EL"_s), kVat + u"EL&piva="_s);
        QCOMPARE(IndirizzoVat(u"IT 12.3&x"_s), kVat + u"IT&piva= 12.3&x"_s); // nothing encoded
        QCOMPARE(IndirizzoExport(u"12IT00000000123E4"_s),
                 u"http://www.adm.gov.it/ed/servizi/esportazione/export.htm?mrn=12IT00000000123E4"_s);
        QCOMPARE(
            IndirizzoTransiti(u" 12IT00000000123T4"_s),
            u"http://www.adm.gov.it/ed/servizi/ecustoms/transito/mrn/transito.htm?mrn= 12IT00000000123T4"_s);
    }
};

QTEST_GUILESS_MAIN(TestIndirizziWeb)
#include "tst_IndirizziWeb.moc"
