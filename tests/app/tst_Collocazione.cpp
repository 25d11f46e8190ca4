#include "app/GeometriaStartup.h"
#include "app/Startup.h"
#include "core/CartellaProgramma.h"
#include "core/ChiaviIni.h"
#include "core/ScalaTwips.h"
#include "core/Valori.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"
#include "support/SchermoProva.h"
#include "support/ServerProva.h"
#include "web/FabbricaBrowser.h"
#include "web/GWebPar.h"
#include "web/ModuloBrowser.h"
#include "web/ParametriWeb.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// Placement where windows have real frames: an X server with a window manager of the test's own.
class TestCollocazione : public QObject
{
    Q_OBJECT

public:
    explicit TestCollocazione(QString mancanza) : m_mancanza(std::move(mancanza)) {}

private:
    const QString m_mancanza;
    std::unique_ptr<CartellaProva> m_cartella;
    ServerProva m_server;
    FabbricaBrowser* m_browser = nullptr;

    static ScalaTwips Scala() { return ScalaTwips(QGuiApplication::primaryScreen()); }
    // The window manager has framed the window and Qt knows it.
    static bool Incorniciata(const QWidget* w)
    {
        return w->isVisible() && w->frameGeometry() != w->geometry();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!m_mancanza.isEmpty())
            QSKIP(qPrintable(m_mancanza));
        m_server.Imposta(u"/vies"_s, PaginaProva::Html("<p>Partita IVA valida</p>"));
        const ModuloBrowser modulo = CaricaModuloBrowser({QStringLiteral(TARVEL_CARTELLA_BROWSER)});
        QVERIFY2(modulo.fabbrica, qPrintable(modulo.motivo));
        m_browser = modulo.fabbrica;
    }
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        ImpostaCartellaProgramma(m_cartella->Percorso());
        DialoghiProva::Installa();
    }

    // The browser window reopens where it was closed, frame and all: three openings in a row save
    // the same place and size, with or without the main window whose frame stands in for its own
    // until the window manager has drawn it.
    void frmWebRiapreDovEra_data()
    {
        QTest::addColumn<bool>("principale");
        QTest::newRow("alone") << false;
        QTest::newRow("with the main window") << true;
    }
    void frmWebRiapreDovEra()
    {
        QFETCH(bool, principale);
        std::unique_ptr<Startup> avvio;
        if (principale) {
            avvio = std::make_unique<Startup>();
            QVERIFY(Mostra(*avvio));
            QTRY_VERIFY(Incorniciata(avvio.get()));
        }
        Impostazioni& ini = m_cartella->Ini();
        const QRect salvata(3000, 2700, 7200, 4500); // twips
        const QList<std::pair<Chiave, int>> chiavi{{Chiavi::PosX(u"FrmWeb"_s), salvata.left()},
                                                   {Chiavi::PosY(u"FrmWeb"_s), salvata.top()},
                                                   {Chiavi::DimX(u"FrmWeb"_s), salvata.width()},
                                                   {Chiavi::DimY(u"FrmWeb"_s), salvata.height()}};
        for (const auto& [chiave, valore] : chiavi)
            ini.Scrivi(chiave, QString::number(valore));
        const PaginaDaMostrare pagina{m_server.Indirizzo(u"/vies"_s).toString(),
                                      u"IT00743110157"_s,
                                      u"pi"_s,
                                      {.uso = 1, .View = 1, .Stampante = {}, .DirSave = {}}};
        for (int apertura = 1; apertura <= 3; ++apertura) {
            const auto f = m_browser->CreaFrmWeb(ini, pagina, m_cartella->Percorso() + u'/', avvio.get());
            QVERIFY(Mostra(*f));
            QTRY_VERIFY(Incorniciata(f.get()));
            QTRY_COMPARE(Scala().Twips(f->frameGeometry()), salvata);
            QTest::mouseClick(Controllo<QWidget>(*f, u"Command1"_s), Qt::LeftButton);
            for (const auto& [chiave, valore] : chiavi)
                QCOMPARE(ini.Numero(chiave), valore);
        }
    }

    // The printers window opened from the web options shares their top, 6000 twips to the right;
    // the printer list opened from it shares its top, 20 twips beyond its right edge.
    void stampantiAllaStessaAltezza()
    {
        ParametriWeb parametri;
        GWebPar opzioni(m_cartella->Ini(), parametri, 1);
        QVERIFY(Mostra(opzioni));
        QTRY_VERIFY(Incorniciata(&opzioni));
        opzioni.move(150, 300); // away from the screen's top, which a window manager keeps titles below
        QTRY_COMPARE(opzioni.frameGeometry().topLeft(), QPoint(150, 300));
        QTest::mouseClick(Controllo<QLabel>(opzioni, u"lbPrinter"_s), Qt::LeftButton);
        QDialog* stampanti = nullptr;
        QTRY_VERIFY((stampanti = opzioni.findChild<QDialog*>(u"frmPRT"_s)) && Incorniciata(stampanti));
        const QRect esterno = opzioni.frameGeometry();
        QTRY_COMPARE(stampanti->frameGeometry().topLeft(),
                     QPoint(esterno.left() + Scala().PixelX(6000), esterno.top()));

        QTest::keyClick(Controllo<QLineEdit>(*stampanti, u"Text1"_s), Qt::Key_F4);
        QDialog* elenco = nullptr;
        QTRY_VERIFY((elenco = stampanti->findChild<QDialog*>(u"SelPrint"_s)) && Incorniciata(elenco));
        const QRect daStampanti = stampanti->frameGeometry();
        QTRY_COMPARE(elenco->frameGeometry().topLeft(),
                     QPoint(daStampanti.right() + 1 + Scala().PixelX(20), daStampanti.top()));
    }

    // A command run first leaves no settings file, so the first window start still centres the main
    // window, by its outer design size: client area, menu bar and the window manager's frame. Its fixed
    // outer size counts the frame too, and keeps the menu bar on one line.
    void primoAvvioCentrato()
    {
        ApriSessione(m_cartella->Percorso(), ModoSessione::Comando);
        QVERIFY(!QFileInfo::exists(m_cartella->File(u"tarvel.ini"_s)));
        Startup w;
        QVERIFY(Mostra(w));
        QTRY_VERIFY(Incorniciata(&w));
        const ScalaTwips scala = Scala();
        const QSize cornice = scala.Twips(w.frameGeometry().size() - w.geometry().size());
        const int menu = scala.Twips(QSize(0, w.menuBar()->sizeHint().height())).height();
        const QSize progetto = QSize(kLarghezzaProgetto, kAltezzaProgetto + menu) + cornice;
        const QPointF centro = PosizioneCentrata(scala.Twips(w.screen()->geometry().size()), progetto);
        const Impostazioni& ini = w.SessioneAperta().impostazioni;
        QTRY_COMPARE(ini.Numero(Chiavi::PosX(u"STARTUP"_s)), centro.x());
        QTRY_COMPARE(ini.Numero(Chiavi::PosY(u"STARTUP"_s)), centro.y());
        QTRY_COMPARE(w.frameGeometry().topLeft(),
                     scala.Pixel(QPoint(int(ArrotondaPari(centro.x())), int(ArrotondaPari(centro.y())))));
        QTRY_COMPARE(scala.Twips(w.frameGeometry().size()),
                     QSize(kLarghezzaProgetto + cornice.width(), AltezzaFissa(progetto.height())));
        QCOMPARE(w.menuBar()->heightForWidth(w.width()), w.menuBar()->sizeHint().height());
        w.resize(w.width() + 100, w.height() + 100);
        QCOMPARE(w.size(), w.minimumSize());
    }
};

int main(int argc, char* argv[])
{
    SchermoProva schermo; // chooses the display, so before the application
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestCollocazione prova(schermo.Mancanza());
    return QTest::qExec(&prova, argc, argv);
}

#include "tst_Collocazione.moc"
