#include "core/CalcoloPosizione.h"

#include <QtTest>

// A 1280 x 720 pixel screen at 96 DPI: 19200 x 10800 twips.
class TestCalcoloPosizione : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void collocazione_data()
    {
        QTest::addColumn<int>("bordo");
        QTest::addColumn<int>("spessore"); // taskbar height (bottom, top) or width (right, left)
        QTest::addColumn<QRect>("principale");
        QTest::addColumn<QSize>("progetto");
        QTest::addColumn<bool>("ridimensionabile");
        QTest::addColumn<double>("wstate");
        QTest::addColumn<double>("dimX");
        QTest::addColumn<double>("dimY");
        QTest::addColumn<QRect>("atteso"); // empty: maximized

        // The main window's client area is 120 twips narrower and 690 lower: the anchor is 1560, 1800.
        const QRect principale(1500, 1200, 6360, 2550);
        const QRect inBasso(1500, 8000, 6360, 2550);
        const QSize progetto(4000, 3000);
        const int basso = int(BordoTaskbar::Basso), destra = int(BordoTaskbar::Destra);
        const int alto = int(BordoTaskbar::Alto), sinistra = int(BordoTaskbar::Sinistra);

        QTest::newRow("design size below the menu bar") << alto << 0 << principale << progetto << true << 0.0
                                                        << 0.0 << 0.0 << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("WSTATE 2 maximized whatever DIMX, DIMY say")
            << alto << 0 << principale << progetto << true << 2.0 << 5000.0 << 4000.0 << QRect();
        QTest::newRow("sizable border takes DIMX, DIMY") << alto << 0 << principale << progetto << true << 0.0
                                                         << 9000.0 << 7000.0 << QRect(1560, 1800, 9000, 7000);
        QTest::newRow("fixed border ignores DIMX, DIMY")
            << alto << 0 << principale << progetto << false << 0.0 << 9000.0 << 7000.0
            << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("unusable DIMX, DIMY give the design size")
            << alto << 0 << principale << progetto << true << 0.0 << -500.0 << 0.4
            << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("bottom taskbar 600: bottom edge on the taskbar")
            << basso << 600 << inBasso << QSize(4000, 5000) << false << 0.0 << 0.0 << 0.0
            << QRect(1560, 10800 - 600 - 5000, 4000, 5000);
        QTest::newRow("top taskbar keeps no margin")
            << alto << 600 << inBasso << QSize(4000, 5000) << false << 0.0 << 0.0 << 0.0
            << QRect(1560, 10800 - 5000, 4000, 5000);
        QTest::newRow("taller than the space above the taskbar: top 0")
            << basso << 600 << principale << QSize(4000, 10500) << false << 0.0 << 0.0 << 0.0
            << QRect(1560, 0, 4000, 10500);
        QTest::newRow("left taskbar 1200, main window at left 0")
            << sinistra << 1200 << QRect(0, 1200, 6360, 2550) << progetto << false << 0.0 << 0.0 << 0.0
            << QRect(1200, 1800, 4000, 3000);
        QTest::newRow("wider than the space beside a right taskbar: negative left")
            << destra << 1500 << principale << QSize(18000, 3000) << false << 0.0 << 0.0 << 0.0
            << QRect(19200 - 1500 - 18000, 1800, 18000, 3000);
        QTest::newRow("saved size larger than the screen is cut to it")
            << basso << 600 << principale << progetto << true << 0.0 << 30000.0 << 20000.0
            << QRect(0, 0, 19200, 10800);
        QTest::newRow("no main window: the screen's corner")
            << alto << 0 << QRect() << progetto << false << 0.0 << 0.0 << 0.0 << QRect(0, 0, 4000, 3000);
    }
    void collocazione()
    {
        QFETCH(int, bordo);
        QFETCH(int, spessore);
        QFETCH(QRect, principale);
        QFETCH(QSize, progetto);
        QFETCH(bool, ridimensionabile);
        QFETCH(double, wstate);
        QFETCH(double, dimX);
        QFETCH(double, dimY);
        QFETCH(QRect, atteso);

        InfoTaskbar t;
        t.bordo = BordoTaskbar(bordo);
        const bool verticale = t.bordo == BordoTaskbar::Destra || t.bordo == BordoTaskbar::Sinistra;
        t.altezza = verticale ? 10800 : spessore;
        t.larghezza = verticale ? spessore : 19200;
        std::optional<RettangoliPrincipale> p;
        if (!principale.isNull())
            p = RettangoliPrincipale{principale, principale.size() - QSize(120, 690)};

        const Collocazione c = CalcolaCollocazione(
            QSize(19200, 10800), t, p, DatiFinestra{progetto, ridimensionabile, wstate, dimX, dimY});
        QCOMPARE(c.massimizzata, atteso.isNull());
        if (!c.massimizzata)
            QCOMPARE(c.rettangolo, atteso);
    }

    void taskbar_data()
    {
        QTest::addColumn<QRect>("schermo");
        QTest::addColumn<QRect>("disponibile");
        QTest::addColumn<double>("dpiY");
        QTest::addColumn<int>("bordo");
        QTest::addColumn<QRect>("atteso"); // left, top in pixels; width, height in twips

        const QRect s(0, 0, 1280, 720);
        QTest::newRow("none") << s << s << 96.0 << int(BordoTaskbar::Alto) << QRect();
        QTest::newRow("bottom") << s << QRect(0, 0, 1280, 680) << 96.0 << int(BordoTaskbar::Basso)
                                << QRect(0, 680, 19200, 600);
        QTest::newRow("right") << s << QRect(0, 0, 1180, 720) << 96.0 << int(BordoTaskbar::Destra)
                               << QRect(1180, 0, 1500, 10800);
        QTest::newRow("left") << s << QRect(80, 0, 1200, 720) << 96.0 << int(BordoTaskbar::Sinistra)
                              << QRect(0, 0, 1200, 10800);
        QTest::newRow("top") << s << QRect(0, 32, 1280, 688) << 96.0 << int(BordoTaskbar::Alto)
                             << QRect(0, 0, 19200, 480);
        QTest::newRow("bottom and left: bottom counts")
            << s << QRect(80, 0, 1200, 680) << 96.0 << int(BordoTaskbar::Basso) << QRect(0, 680, 19200, 600);
        QTest::newRow("second screen, its own corner")
            << QRect(1280, 0, 1280, 720) << QRect(1280, 0, 1280, 680) << 96.0 << int(BordoTaskbar::Basso)
            << QRect(0, 680, 19200, 600);
        QTest::newRow("vertical DPI for the height")
            << s << QRect(0, 0, 1280, 680) << 192.0 << int(BordoTaskbar::Basso) << QRect(0, 680, 19200, 300);
        QTest::newRow("available area off the screen")
            << s << QRect(2000, 0, 100, 100) << 96.0 << int(BordoTaskbar::Alto) << QRect();
        QTest::newRow("no available area") << s << QRect() << 96.0 << int(BordoTaskbar::Alto) << QRect();
    }
    void taskbar()
    {
        QFETCH(QRect, schermo);
        QFETCH(QRect, disponibile);
        QFETCH(double, dpiY);
        QFETCH(int, bordo);
        QFETCH(QRect, atteso);

        const InfoTaskbar t = TaskbarDaSchermo(schermo, disponibile, 96.0, dpiY);
        QCOMPARE(int(t.bordo), bordo);
        QCOMPARE(QRect(t.left, t.top, t.larghezza, t.altezza), atteso);
    }
};

QTEST_APPLESS_MAIN(TestCalcoloPosizione)
#include "tst_CalcoloPosizione.moc"
