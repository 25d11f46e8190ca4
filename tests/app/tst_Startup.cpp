#include "app/Avvio.h"
#include "app/Globali.h"
#include "app/Startup.h"
#include "core/CartellaProgramma.h"
#include "core/FileIni.h"
#include "core/Twips.h"
#include "core/Valori.h"
#include "support/DialoghiProva.h"

#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// Start-up and closing of the whole main window, each in an empty program folder of its own.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    QString Ini() const { return m_dir->filePath(u"tarvel.ini"_s); }
    QString Leggi(const QString& sezione, const QString& chiave) const
    {
        return LeggiIni(Ini(), sezione, chiave);
    }
    void Imposta(const QString& sezione, const QString& chiave, const QString& valore)
    {
        ScriviIni(Ini(), sezione, chiave, valore);
    }
    static double Dpi() { return QGuiApplication::primaryScreen()->logicalDotsPerInch(); }
    static QSize Schermo()
    {
        const QSize px = QGuiApplication::primaryScreen()->geometry().size();
        return {TwipsDaPixel(px.width(), Dpi()), TwipsDaPixel(px.height(), Dpi())};
    }
    static QAction* Azione(Startup& w, const QString& nome) { return w.findChild<QAction*>(nome); }
    static QStringList VociVisibili(Startup& w)
    {
        QStringList voci;
        for (int i = 1; i <= kNumeroApplicativi; ++i) {
            QAction* a = Azione(w, u"Mprg_var(%1)"_s.arg(i));
            if (a->isVisible())
                voci << a->text();
        }
        return voci;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ImpostaCartellaProgramma(m_dir->path());
        DialoghiProva::Installa();
    }

    void primoAvvio()
    {
        Startup w;
        QVERIFY(QFileInfo::exists(Ini()));
        QVERIFY(QFileInfo(m_dir->filePath(u"TempFile"_s)).isDir());
        QVERIFY(gDirTemp.endsWith(u"/TempFile/"_s));
        QCOMPARE(gFileDb, m_dir->filePath(u"tarvel.db"_s));
        QCOMPARE(QDir::currentPath(), QDir(m_dir->path()).canonicalPath());

        // Centred from the design size: the client area plus the menu bar.
        const int menu = TwipsDaPixel(w.menuBar()->sizeHint().height(), Dpi());
        QCOMPARE(ValNum(Leggi(u"STARTUP"_s, u"POSX"_s)), (Schermo().width() - 6360) / 2.0);
        QCOMPARE(ValNum(Leggi(u"STARTUP"_s, u"POSY"_s)), (Schermo().height() - 1860 - menu) / 2.0);
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"NomeVarie1"_s), u"Editor di testi"_s);
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"Varie1"_s), EditorDiTesti());
        QCOMPARE(Leggi(u"NAZIONI"_s, u"IT"_s), u"ITALIA,11,11,0,0,0,0"_s);
        QCOMPARE(gNazioni.size(), 28);
        QCOMPARE(gIndirizziWeb.VatPiva, u"&piva="_s);

        QCOMPARE(w.windowTitle(), u" CONTROLLO VALIDITA' PARTITA IVA CEE                  (1.0.0)"_s);
        QCOMPARE(w.objectName(), u"Startup"_s);
        QVERIFY(!w.windowIcon().pixmap(32).isNull());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.height(), PixelDaTwips(2550, Dpi()));
        QCOMPARE(w.width(), PixelDaTwips(6360, Dpi()));
        QCOMPARE(w.pos(), QPoint(PixelDaTwips(ValNum(Leggi(u"STARTUP"_s, u"POSX"_s)), Dpi()),
                                 PixelDaTwips(ValNum(Leggi(u"STARTUP"_s, u"POSY"_s)), Dpi())));
    }

    void menu()
    {
        Startup w;
        const QList<QAction*> barra = w.menuBar()->actions();
        QStringList testi;
        for (QAction* a : barra)
            testi << a->text();
        QCOMPARE(testi, (QStringList{u"&Fine"_s, u"&Singola"_s, u"&Elenco"_s, u"&DataBase"_s, u"&Nazioni"_s,
                                     u"&Applicativi"_s, u"&?"_s}));
        QCOMPARE(Azione(w, u"Mu_about"_s)->text(), u"Su Tarvel"_s);
        QCOMPARE(Azione(w, u"Mu_ParAppl"_s)->text(), u"Imposta Applicativi"_s);
        QVERIFY(Azione(w, u"Mu_end"_s)->isEnabled());
        QVERIFY(Azione(w, u"Mu_Mrn1"_s)->isEnabled());
        QVERIFY(!Azione(w, u"Mu_MrnEle"_s)->isEnabled());

        // The menu bar stays on one line at the fixed width.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.menuBar()->heightForWidth(w.width()), w.menuBar()->sizeHint().height());
        w.resize(w.width() + 100, w.height() + 100);
        QCOMPARE(w.size(), w.minimumSize());
        w.close();
    }

    void posizioneSalvata_data()
    {
        QTest::addColumn<QString>("posx");
        QTest::addColumn<QString>("posy");
        QTest::addColumn<bool>("xAZero");
        QTest::addColumn<bool>("yAZero");
        const QSize s = Schermo();
        QTest::newRow("inside") << u"150"_s << u"300"_s << false << false;
        QTest::newRow("top at screen height") << u"150"_s << QString::number(s.height()) << false << true;
        QTest::newRow("top one below") << u"150"_s << QString::number(s.height() - 15) << false << false;
        QTest::newRow("left beyond width") << QString::number(s.width()) << u"300"_s << true << false;
        QTest::newRow("negative and letters") << u"-45"_s << u"abc"_s << true << true;
    }
    void posizioneSalvata()
    {
        QFETCH(QString, posx);
        QFETCH(QString, posy);
        QFETCH(bool, xAZero);
        QFETCH(bool, yAZero);
        Imposta(u"startup"_s, u"posx"_s, posx);
        Imposta(u"startup"_s, u"posy"_s, posy);
        Startup w;
        QCOMPARE(w.x(), xAZero ? 0 : PixelDaTwips(posx.toInt(), Dpi()));
        QCOMPARE(w.y(), yAZero ? 0 : PixelDaTwips(posy.toInt(), Dpi()));
    }

    void chiusura_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<bool>("scrive");
        QTest::newRow("normal") << int(Qt::WindowNoState) << true;
        QTest::newRow("minimized") << int(Qt::WindowMinimized) << false;
        QTest::newRow("maximized") << int(Qt::WindowMaximized) << false;
    }
    void chiusura()
    {
        QFETCH(int, stato);
        QFETCH(bool, scrive);
        Imposta(u"STARTUP"_s, u"POSX"_s, u"1500"_s);
        Imposta(u"STARTUP"_s, u"POSY"_s, u"750"_s);
        Startup w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.move(PixelDaTwips(3000, Dpi()), PixelDaTwips(1200, Dpi()));
        w.setWindowState(Qt::WindowStates(stato));
        QVERIFY(w.close());
        QCOMPARE(Leggi(u"STARTUP"_s, u"POSX"_s), scrive ? u"3000"_s : u"1500"_s);
        QCOMPARE(Leggi(u"STARTUP"_s, u"POSY"_s), scrive ? u"1200"_s : u"750"_s);
        QCOMPARE(Leggi(u"STARTUP"_s, u"DIMX"_s).isEmpty(), !scrive);
        QCOMPARE(Leggi(u"STARTUP"_s, u"DIMY"_s).isEmpty(), !scrive);
        if (scrive)
            QCOMPARE(Leggi(u"Startup"_s, u"DIMY"_s),
                     QString::number(TwipsDaPixel(w.frameGeometry().height(), Dpi())));
    }

    void chiusuraOltreIlBordoSinistro()
    {
        Startup w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.move(-40, 30);
        QVERIFY(w.close());
        QCOMPARE(Leggi(u"STARTUP"_s, u"POSX"_s), u"0"_s);
        QCOMPARE(Leggi(u"STARTUP"_s, u"POSY"_s), QString::number(TwipsDaPixel(30, Dpi())));
    }

    void applicativi_data()
    {
        QTest::addColumn<QStringList>("righe"); // key=value pairs written before start-up
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<QString>("excel");
        QTest::newRow("defaults") << QStringList() << QStringList{u"Editor di testi"_s} << QString();
        QTest::newRow("only entry 7") << QStringList{u"NomeVarie7=Calcolo"_s, u"Varie7=/opt/calc"_s}
                                      << QStringList{u"Editor di testi"_s, u"Calcolo"_s} << QString();
        QTest::newRow("name without program")
            << QStringList{u"NomeVarie3=Solo nome"_s, u"Varie4=/bin/senza-nome"_s}
            << QStringList{u"Editor di testi"_s} << QString();
        QTest::newRow("excel, highest wins")
            << QStringList{u"NomeVarie2=Foglio"_s, u"Varie2=C:\\Office\\EXCEL.EXE"_s, u"NomeVarie5=Altro"_s,
                           u"Varie5=D:\\x\\excel.exe"_s}
            << QStringList{u"Editor di testi"_s, u"Foglio"_s, u"Altro"_s} << u"D:\\x\\excel.exe"_s;
        QTest::newRow("excel with a switch")
            << QStringList{u"NomeVarie2=Foglio"_s, u"Varie2=C:\\Office\\EXCEL.EXE /e"_s}
            << QStringList{u"Editor di testi"_s, u"Foglio"_s} << QString();
    }
    void applicativi()
    {
        QFETCH(QStringList, righe);
        QFETCH(QStringList, voci);
        QFETCH(QString, excel);
        for (const QString& riga : righe)
            Imposta(u"APPLICATIVI"_s, riga.section(u'=', 0, 0), riga.section(u'=', 1));
        Startup w;
        QCOMPARE(VociVisibili(w), voci);
        QCOMPARE(gPathExcel, excel);
        QVERIFY(Azione(w, u"Mprg_base"_s)->isVisible());
    }

    void applicativiConFileSolaLettura()
    {
        Imposta(u"STARTUP"_s, u"POSX"_s, u"0"_s);
        QVERIFY(QFile::setPermissions(Ini(), QFile::ReadOwner));
        Startup w;
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"NomeVarie1"_s), QString());
        QCOMPARE(VociVisibili(w), QStringList{u"Editor di Testi"_s});
        QCOMPARE(LeggiIni(Ini(), u"APPLICATIVI"_s, u"Varie1"_s), QString());
        QVERIFY(w.close()); // nothing written, nothing broken
        QCOMPARE(Leggi(u"STARTUP"_s, u"DIMX"_s), QString());
    }

    void colori_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<uint>("colore");
        QTest::newRow("missing") << QString() << 13684991u;
        QTest::newRow("letters") << u"rosso"_s << 13684991u;
        QTest::newRow("zero") << u"0"_s << 13684991u;
        QTest::newRow("255") << u"255"_s << 255u;
    }
    void colori()
    {
        QFETCH(QString, valore);
        QFETCH(uint, colore);
        if (!valore.isNull())
            Imposta(u"COLORIGRID"_s, u"COLORE1"_s, valore);
        Startup w;
        QCOMPARE(gColori[1], colore);
        QCOMPARE(gColori[0], 15400938u);
        QCOMPARE(gColori[2], 12582399u);
        QCOMPARE(Leggi(u"COLORIGRID"_s, u"COLORE0"_s), QString()); // defaults are not written back
    }

    void parametriWeb()
    {
        Imposta(u"WEBPARAM"_s, u"View1"_s, u"1 | mostra"_s);
        Imposta(u"WEBPARAM"_s, u"Stampante2"_s, u"  PDF  "_s);
        Imposta(u"WEBPARAM"_s, u"DirSave0"_s, u"/tmp/pagine\taltro"_s);
        Imposta(u"WEBPARAM"_s, u"IESkede"_s, u"1"_s);
        Startup w;
        QCOMPARE(gParametriWeb.View, (std::array<std::int16_t, 3>{0, 1, 0}));
        QCOMPARE(gParametriWeb.Stampante[2], u"PDF"_s);
        QCOMPARE(gParametriWeb.DirSave[0], u"/tmp/pagine"_s);
        QCOMPARE(gParametriWeb.IESkede, std::int16_t(1));
    }

    void fileImpostazioniRovinato()
    {
        QFile f(Ini());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x00\xff[STARTUP\x00]\nPOSX=\x01\x02", 21));
        f.close();
        Startup w;
        QVERIFY(w.x() >= 0 && w.y() >= 0);
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"NomeVarie1"_s), u"Editor di testi"_s);
    }

    void database()
    {
        {
            Startup w;
            QVERIFY(gDbAperto);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(w.close());
            QVERIFY(!gDbAperto);
        }
        // A file of that name that is no database stays as it is, and start-up says nothing.
        QFile::remove(gFileDb);
        QFile f(gFileDb);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("non un database\r\n");
        f.close();
        DialoghiProva* prova = DialoghiProva::Installa();
        Startup w;
        QVERIFY(!gDbAperto);
        QVERIFY(prova->Messaggi().isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("non un database\r\n"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
