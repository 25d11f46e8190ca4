#include "app/GeometriaStartup.h"

#include <QtTest>

class TestGeometriaStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void larghezzaFissa_data()
    {
        QTest::addColumn<int>("cornice");
        QTest::addColumn<int>("larghezza");
        QTest::newRow("800") << 800 << 6480;
        QTest::newRow("801") << 801 << 6600;
        QTest::newRow("1000") << 1000 << 6600;
        QTest::newRow("1001") << 1001 << 8100;
    }
    void larghezzaFissa()
    {
        QFETCH(int, cornice);
        QFETCH(int, larghezza);
        QCOMPARE(LarghezzaFissa(6480, cornice), larghezza);
    }

    void altezzaFissa()
    {
        QCOMPARE(AltezzaFissa(2200), 2550);
        QCOMPARE(AltezzaFissa(2550), 2550);
        QCOMPARE(AltezzaFissa(3000), 3000);
    }

    void posizioneRipristinata_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QPoint>("attesa");
        QTest::newRow("inside") << 100.0 << 200.0 << QPoint(100, 200);
        QTest::newRow("top at screen height") << 100.0 << 9000.0 << QPoint(100, 0);
        QTest::newRow("top just inside") << 100.0 << 8999.0 << QPoint(100, 8999);
        QTest::newRow("left at screen width") << 12000.0 << 5.0 << QPoint(0, 5);
        QTest::newRow("negative") << -1.0 << -300.0 << QPoint(0, 0);
        QTest::newRow("half twip") << 2820.5 << 3.5 << QPoint(2820, 4);
    }
    void posizioneRipristinata()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QPoint, attesa);
        QCOMPARE(PosizioneRipristinata(x, y, QSize(12000, 9000)), attesa);
    }

    void posizioneInChiusura()
    {
        const QSize schermo(12000, 9000);
        auto p = PosizioneInChiusura(QPoint(-300, 150), schermo);
        QCOMPARE(p.posX, std::optional<int>(0));
        QCOMPARE(p.posY, std::optional<int>(150));
        p = PosizioneInChiusura(QPoint(12000, 9000), schermo);
        QVERIFY(!p.posX && !p.posY);
        p = PosizioneInChiusura(QPoint(11999, 8999), schermo);
        QCOMPARE(p.posX, std::optional<int>(11999));
        QCOMPARE(p.posY, std::optional<int>(8999));
    }

    void centrata()
    {
        QCOMPARE(PosizioneCentrata(QSize(12000, 9000), QSize(6360, 2161)), QPointF(2820, 3419.5));
    }
};

QTEST_GUILESS_MAIN(TestGeometriaStartup)
#include "tst_GeometriaStartup.moc"
