#include "core/CalcoloPosizione.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using B = BordoTaskbar;

// A 1280 x 720 pixel screen at 96 DPI: 19200 x 10800 twips.
class TestCalcoloPosizione : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void collocazione_data()
    {
        QTest::addColumn<InfoTaskbar>("taskbar");
        QTest::addColumn<QRect>("principale"); // outer; its client area is 120 twips narrower, 690 lower
        QTest::addColumn<DatiFinestra>("finestra");
        QTest::addColumn<QRect>("atteso"); // empty: maximized
        const InfoTaskbar no{B::Alto, 0, 19200}, basso{B::Basso, 600, 19200}, destra{B::Destra, 10800, 1500};
        const QRect alta(1500, 1200, 6360, 2550),
            bassa(1500, 8000, 6360, 2550); // anchors 1560,1800 and 1560,8600
        const QSize p(4000, 3000);
        QTest::newRow("WSTATE 2") << no << alta << DatiFinestra{p, true, 2, 5000, 4000} << QRect();
        QTest::newRow("sizable: DIMX, DIMY")
            << no << alta << DatiFinestra{p, true, 0, 9000, 7000} << QRect(1560, 1800, 9000, 7000);
        QTest::newRow("fixed: design size")
            << no << alta << DatiFinestra{p, false, 0, 9000, 7000} << QRect(1560, 1800, 4000, 3000);
        QTest::newRow("bottom edge on the taskbar")
            << basso << bassa << DatiFinestra{{4000, 5000}} << QRect(1560, 5200, 4000, 5000);
        QTest::newRow("too tall: top 0")
            << basso << alta << DatiFinestra{{4000, 10500}} << QRect(1560, 0, 4000, 10500);
        QTest::newRow("left taskbar, main window at its edge")
            << InfoTaskbar{B::Sinistra, 10800, 1200} << QRect(0, 1200, 6360, 2550) << DatiFinestra{p}
            << QRect(1200, 1800, 4000, 3000);
        QTest::newRow("too wide beside a right taskbar: left below 0")
            << destra << alta << DatiFinestra{{18000, 3000}} << QRect(-300, 1800, 18000, 3000);
        QTest::newRow("saved size cut to the screen")
            << basso << alta << DatiFinestra{p, true, 0, 30000, 20000} << QRect(0, 0, 19200, 10800);
        QTest::newRow("no main window") << no << QRect() << DatiFinestra{p} << QRect(0, 0, 4000, 3000);
    }
    void collocazione()
    {
        QFETCH(InfoTaskbar, taskbar);
        QFETCH(QRect, principale);
        QFETCH(DatiFinestra, finestra);
        std::optional<RettangoliPrincipale> p;
        if (!principale.isNull())
            p = RettangoliPrincipale{principale, principale.size() - QSize(120, 690)};
        const Collocazione c = CalcolaCollocazione(QSize(19200, 10800), taskbar, p, finestra);
        QTEST(c.massimizzata ? QRect() : c.rettangolo, "atteso");
    }

    // The taskbar is the strip outside the available area: left, top in pixels, its size in twips.
    void taskbar_data()
    {
        QTest::addColumn<QRect>("schermo");
        QTest::addColumn<QRect>("disponibile");
        QTest::addColumn<double>("dpiY");
        QTest::addColumn<QString>("atteso"); // edge, left, top, width, height
        const QRect s(0, 0, 1280, 720);
        QTest::newRow("none") << s << s << 96.0 << u"2 0 0 0 0"_s;
        QTest::newRow("bottom") << s << QRect(0, 0, 1280, 680) << 96.0 << u"0 0 680 19200 600"_s;
        QTest::newRow("right") << s << QRect(0, 0, 1180, 720) << 96.0 << u"1 1180 0 1500 10800"_s;
        QTest::newRow("left") << s << QRect(80, 0, 1200, 720) << 96.0 << u"3 0 0 1200 10800"_s;
        QTest::newRow("top") << s << QRect(0, 32, 1280, 688) << 96.0 << u"2 0 0 19200 480"_s;
        QTest::newRow("bottom and left: bottom")
            << s << QRect(80, 0, 1200, 680) << 96.0 << u"0 0 680 19200 600"_s;
        QTest::newRow("second screen")
            << QRect(1280, 0, 1280, 720) << QRect(1280, 0, 1280, 680) << 96.0 << u"0 0 680 19200 600"_s;
        QTest::newRow("vertical DPI") << s << QRect(0, 0, 1280, 680) << 192.0 << u"0 0 680 19200 300"_s;
    }
    void taskbar()
    {
        QFETCH(QRect, schermo);
        QFETCH(QRect, disponibile);
        QFETCH(double, dpiY);
        const InfoTaskbar t = TaskbarDaSchermo(schermo, disponibile, 96.0, dpiY);
        QTEST(u"%1 %2 %3 %4 %5"_s.arg(int(t.bordo)).arg(t.left).arg(t.top).arg(t.larghezza).arg(t.altezza),
              "atteso");
    }

    // The browser window's saved placement: a bound is exclusive, and a value out of it takes its default.
    void correzioniPosizione()
    {
        const QSize schermo(12000, 9000);
        QCOMPARE(CorreggiPosizioneWeb(8599, 11399, 8999, 11999, schermo), QRect(11399, 8599, 11999, 8999));
        QCOMPARE(CorreggiPosizioneWeb(8600, 11400, 9000, 12000, schermo), QRect(0, 0, 6000, 4000));
        QCOMPARE(CorreggiPosizioneWeb(-1, -1, 0, 0, schermo), QRect(0, 0, 6000, 4000));
    }
};

QTEST_APPLESS_MAIN(TestCalcoloPosizione)
#include "tst_CalcoloPosizione.moc"
