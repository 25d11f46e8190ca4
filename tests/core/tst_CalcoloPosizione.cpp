#include "core/CalcoloPosizione.h"

#include <QtTest>

using B = BordoTaskbar;

// A 1280 x 720 pixel screen at 96 DPI: 19200 x 10800 twips.
class TestCalcoloPosizione : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void collocazione_data()
    {
        QTest::addColumn<B>("bordo");
        QTest::addColumn<int>("spessore"); // taskbar height (bottom, top) or width (right, left)
        QTest::addColumn<QRect>("principale");
        QTest::addColumn<QSize>("progetto");
        QTest::addColumn<bool>("ridimensionabile");
        QTest::addColumn<double>("wstate");
        QTest::addColumn<QSizeF>("salvata"); // DIMX, DIMY
        QTest::addColumn<QRect>("atteso");   // empty: maximized

        // The main window's client area is 120 twips narrower and 690 lower: the anchor is 1560, 1800.
        const QRect alta(1500, 1200, 6360, 2550), bassa(1500, 8000, 6360, 2550);
        const QSize p(4000, 3000), alto(4000, 5000);
        QTest::newRow("design size below the menu bar")
            << B::Alto << 0 << alta << p << true << 0.0 << QSizeF() << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("WSTATE 2 maximized whatever DIMX, DIMY say")
            << B::Alto << 0 << alta << p << true << 2.0 << QSizeF(5000, 4000) << QRect();
        QTest::newRow("sizable border takes DIMX, DIMY")
            << B::Alto << 0 << alta << p << true << 0.0 << QSizeF(9000, 7000)
            << QRect(1560, 1800, 9000, 7000);
        QTest::newRow("fixed border ignores DIMX, DIMY")
            << B::Alto << 0 << alta << p << false << 0.0 << QSizeF(9000, 7000)
            << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("unusable DIMX, DIMY give the design size")
            << B::Alto << 0 << alta << p << true << 0.0 << QSizeF(-500, 0.4) << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("bottom taskbar 600: bottom edge on the taskbar")
            << B::Basso << 600 << bassa << alto << false << 0.0 << QSizeF() << QRect(1560, 5200, 4000, 5000);
        QTest::newRow("top taskbar keeps no margin")
            << B::Alto << 600 << bassa << alto << false << 0.0 << QSizeF() << QRect(1560, 5800, 4000, 5000);
        QTest::newRow("taller than the space above the taskbar: top 0")
            << B::Basso << 600 << alta << QSize(4000, 10500) << false << 0.0 << QSizeF()
            << QRect(1560, 0, 4000, 10500);
        QTest::newRow("left taskbar 1200, main window at left 0")
            << B::Sinistra << 1200 << QRect(0, 1200, 6360, 2550) << p << false << 0.0 << QSizeF()
            << QRect(1200, 1800, 4000, 3000);
        QTest::newRow("wider than the space beside a right taskbar: negative left")
            << B::Destra << 1500 << alta << QSize(18000, 3000) << false << 0.0 << QSizeF()
            << QRect(-300, 1800, 18000, 3000);
        QTest::newRow("saved size larger than the screen is cut to it")
            << B::Basso << 600 << alta << p << true << 0.0 << QSizeF(30000, 20000)
            << QRect(0, 0, 19200, 10800);
        QTest::newRow("no main window: the screen's corner")
            << B::Alto << 0 << QRect() << p << false << 0.0 << QSizeF() << QRect(0, 0, 4000, 3000);
    }
    void collocazione()
    {
        QFETCH(B, bordo);
        QFETCH(int, spessore);
        QFETCH(QRect, principale);
        QFETCH(QSize, progetto);
        QFETCH(bool, ridimensionabile);
        QFETCH(double, wstate);
        QFETCH(QSizeF, salvata);
        QFETCH(QRect, atteso);

        const bool verticale = bordo == B::Destra || bordo == B::Sinistra;
        const InfoTaskbar t{bordo, verticale ? 10800 : spessore, verticale ? spessore : 19200};
        std::optional<RettangoliPrincipale> p;
        if (!principale.isNull())
            p = RettangoliPrincipale{principale, principale.size() - QSize(120, 690)};
        const Collocazione c = CalcolaCollocazione(
            QSize(19200, 10800), t, p,
            DatiFinestra{progetto, ridimensionabile, wstate, salvata.width(), salvata.height()});
        QCOMPARE(c.massimizzata, atteso.isNull());
        if (!c.massimizzata)
            QCOMPARE(c.rettangolo, atteso);
    }

    void taskbar_data()
    {
        QTest::addColumn<QRect>("schermo");
        QTest::addColumn<QRect>("disponibile");
        QTest::addColumn<double>("dpiY");
        QTest::addColumn<B>("bordo");
        QTest::addColumn<QRect>("atteso"); // left, top in pixels; width, height in twips

        const QRect s(0, 0, 1280, 720);
        QTest::newRow("none") << s << s << 96.0 << B::Alto << QRect();
        QTest::newRow("bottom") << s << QRect(0, 0, 1280, 680) << 96.0 << B::Basso
                                << QRect(0, 680, 19200, 600);
        QTest::newRow("right") << s << QRect(0, 0, 1180, 720) << 96.0 << B::Destra
                               << QRect(1180, 0, 1500, 10800);
        QTest::newRow("left") << s << QRect(80, 0, 1200, 720) << 96.0 << B::Sinistra
                              << QRect(0, 0, 1200, 10800);
        QTest::newRow("top") << s << QRect(0, 32, 1280, 688) << 96.0 << B::Alto << QRect(0, 0, 19200, 480);
        QTest::newRow("bottom and left: bottom counts")
            << s << QRect(80, 0, 1200, 680) << 96.0 << B::Basso << QRect(0, 680, 19200, 600);
        QTest::newRow("second screen, its own corner")
            << QRect(1280, 0, 1280, 720) << QRect(1280, 0, 1280, 680) << 96.0 << B::Basso
            << QRect(0, 680, 19200, 600);
        QTest::newRow("vertical DPI for the height")
            << s << QRect(0, 0, 1280, 680) << 192.0 << B::Basso << QRect(0, 680, 19200, 300);
    }
    void taskbar()
    {
        QFETCH(QRect, schermo);
        QFETCH(QRect, disponibile);
        QFETCH(double, dpiY);
        QFETCH(B, bordo);
        QFETCH(QRect, atteso);
        const InfoTaskbar t = TaskbarDaSchermo(schermo, disponibile, 96.0, dpiY);
        QCOMPARE(t.bordo, bordo);
        QCOMPARE(QRect(t.left, t.top, t.larghezza, t.altezza), atteso);
    }

    // The browser window's saved placement: a bound is exclusive, and a value out of it takes its default.
    void correzioniPosizione_data()
    {
        QTest::addColumn<QList<int>>("salvata"); // top, left, height, width on a 12000 x 9000 screen
        QTest::addColumn<QRect>("attesa");
        QTest::newRow("inside") << QList{8599, 11399, 8999, 11999} << QRect(11399, 8599, 11999, 8999);
        QTest::newRow("at bounds") << QList{8600, 11400, 9000, 12000} << QRect(0, 0, 6000, 4000);
        QTest::newRow("below") << QList{-1, -1, 0, 0} << QRect(0, 0, 6000, 4000);
    }
    void correzioniPosizione()
    {
        QFETCH(QList<int>, salvata);
        QTEST(CorreggiPosizioneWeb(salvata[0], salvata[1], salvata[2], salvata[3], QSize(12000, 9000)),
              "attesa");
    }
};

QTEST_APPLESS_MAIN(TestCalcoloPosizione)
#include "tst_CalcoloPosizione.moc"
