#include "app/Startup.h"
#include "app/Traduzioni.h"
#include "checks/EleVat.h"
#include "core/CartellaProgramma.h"
#include "core/ChiaviIni.h"
#include "core/ScalaTwips.h"
#include "countries/GesNaz.h"
#include "programs/Applicativi.h"
#include "programs/GesAppl.h"
#include "programs/ServiziSistema.h"
#include "results/EleVATok.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// Start-up and closing of the whole main window, each in an empty program folder of its own.
class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    DialoghiProva* m_dialoghi = nullptr;

    Impostazioni& Ini() { return m_cartella->Ini(); }
    static ScalaTwips Scala() { return ScalaTwips(QGuiApplication::primaryScreen()); }
    static QStringList VociVisibili(Startup& w)
    {
        QStringList voci;
        for (int i = 1; i <= kNumeroApplicativi; ++i) {
            if (QAction* a = w.findChild<QAction*>(u"Mprg_var(%1)"_s.arg(i)); a->isVisible())
                voci << a->text();
        }
        return voci;
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        ImpostaCartellaProgramma(m_cartella->Percorso());
        m_dialoghi = DialoghiProva::Installa();
        QLocale::setDefault(QLocale::c());
    }

    // "&DataBase" opens the results browser over the results table; the list check's "D.B." ending
    // over its answers, whose ANALIZZA hands the numbers shown back to the list check.
    void navigatoreRisultati()
    {
        ServerProva server;
        server.Imposta(u"/vies"_s, PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        m_cartella->IndirizziVerso(server, 5);
        Ini().Scrivi(Chiavi::ElencoCome(), u"2"_s);
        const QString lista = m_cartella->File(u"lista.txt"_s);
        QFile file(lista);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("IT00743110157\r\nIT01234567890\r\n") > 0);
        file.close();

        Startup w;
        QVERIFY(Mostra(w));
        QStringList visto;
        QTimer passo;
        connect(&passo, &QTimer::timeout, &w, [&] {
            QWidget* modale = QApplication::activeModalWidget();
            if (auto* elenco = qobject_cast<EleVat*>(modale); elenco && !visto.contains(u"EleVat"_s)) {
                visto << elenco->objectName();
                Controllo<QLabel>(*elenco, u"lbPathEle"_s)->setText(lista);
                Controllo<QPushButton>(*elenco, u"Command1(0)"_s)->click();
            } else if (auto* risultati = qobject_cast<EleVATok*>(modale)) {
                visto << risultati->NomeTabella();
                if (visto.contains(u"EleVat"_s)) { // the list check's answers
                    passo.stop();
                    Controllo<QComboBox>(*risultati, u"cbStato"_s)->setCurrentIndex(2);
                    Controllo<QPushButton>(*risultati, u"CmdR(0)"_s)
                        ->click(); // returns once the list check closed
                }
                risultati->close();
            }
        });
        passo.start(10);
        w.findChild<QAction*>(u"Mu_dataBase"_s)->trigger();
        w.findChild<QAction*>(u"Mu_MrnEle"_s)->trigger();
        QCOMPARE(visto, (QStringList{u"PartiteIVA"_s, u"EleVat"_s, u"WkPartiteIVA"_s}));
        QCOMPARE(server.Richieste().size(), 4);
    }

    // A saved coordinate off the screen, or not a number, opens at 0.
    void posizioneSalvata_data()
    {
        QTest::addColumn<QString>("posx");
        QTest::addColumn<QString>("posy");
        QTest::addColumn<QPoint>("attesa"); // twips
        const QSize s = Scala().Twips(QGuiApplication::primaryScreen()->geometry().size());
        QTest::newRow("inside") << u"150"_s << u"300"_s << QPoint(150, 300);
        QTest::newRow("at the screen's size")
            << QString::number(s.width()) << QString::number(s.height()) << QPoint(0, 0);
        QTest::newRow("negative and letters") << u"-45"_s << u"abc"_s << QPoint(0, 0);
    }
    void posizioneSalvata()
    {
        QFETCH(QString, posx);
        QFETCH(QString, posy);
        QFETCH(QPoint, attesa);
        Ini().Scrivi({{Chiavi::PosX(u"STARTUP"_s), posx}, {Chiavi::PosY(u"STARTUP"_s), posy}});
        QCOMPARE(Startup().pos(), Scala().Pixel(attesa));
    }

    // The Applicativi menu shows the entries with a name and a program, and the exports start the
    // highest spreadsheet program among them. "Imposta Applicativi" edits the entries; once it
    // closes the menu and the spreadsheet program follow the settings file, and the entries launch.
    void applicativi()
    {
        const QString foglio = m_cartella->File(u"localc"_s);
        QVERIFY(QFile::copy(u"/bin/sh"_s, foglio));
        Ini().Scrivi({{Chiavi::Varie(1), u"/bin/sh"_s}, // an editor surely here
                      {Chiavi::NomeVarie(2), u"Foglio"_s},
                      {Chiavi::Varie(2), foglio},
                      {Chiavi::NomeVarie(4), u"Solo nome"_s}});
        QStringList indirizzi;
        ImpostaApriIndirizzo([&indirizzi](const QUrl& indirizzo) {
            indirizzi.append(indirizzo.toString());
            return true;
        });
        Startup w;
        QCOMPARE(VociVisibili(w), (QStringList{u"Editor di testi"_s, u"Foglio"_s}));
        QCOMPARE(w.SessioneAperta().pathExcel, (ComandoProgramma{foglio, {}}));
        QVERIFY(Mostra(w));
        w.findChild<QAction*>(u"Mu_ParAppl"_s)->trigger();
        Controllo<QLineEdit>(w, u"Txt(3)"_s)->setText(u"Sito"_s);
        Controllo<QLineEdit>(w, u"Txt(14)"_s)->setText(u"www.esempio.it"_s);
        Controllo<QLineEdit>(w, u"Txt(13)"_s)->setText(foglio + u" --calc"_s);
        Controllo<QPushButton>(w, u"Command1(0)"_s)->click();
        QTRY_VERIFY(!w.findChild<GesAppl*>());
        QCOMPARE(VociVisibili(w), (QStringList{u"Editor di testi"_s, u"Foglio"_s, u"Sito"_s}));
        QCOMPARE(w.SessioneAperta().pathExcel, (ComandoProgramma{foglio, {u"--calc"_s}}));
        w.findChild<QAction*>(u"Mprg_var(3)"_s)->trigger();
        ImpostaApriIndirizzo({});
        QCOMPARE(indirizzi, QStringList{u"http://www.esempio.it"_s});
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // A settings file that cannot be written: the window program works on its defaults in memory (the
    // country table and the first Applicativi entry included), quietly.
    void fileImpostazioniInSolaLettura()
    {
        Ini().Scrivi(Chiavi::PosX(u"STARTUP"_s), u"0"_s);
        QVERIFY(QFile::setPermissions(m_cartella->File(u"tarvel.ini"_s), QFile::ReadOwner));
        Startup w;
        QCOMPARE(w.SessioneAperta().nazioni.ControlloFormatoVAT(u"IT0074311015"_s).messaggio,
                 u"*** Lunghezza VAT errata 11-11"_s);
        QCOMPARE(VociVisibili(w), QStringList{u"Editor di Testi"_s});
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Only a 0 (missing, empty, not a number) takes a grid colour's default, as COLORE0 and COLORE2 do; other
    // values are rounded, halves to even, and keep their low 24 bits. Defaults are not written back.
    void colori_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<uint>("colore");
        QTest::newRow("halves to even") << u"2.5"_s << 2u;
        QTest::newRow("a half is black") << u"0.5"_s << 0u;
        QTest::newRow("negative: low 24 bits") << u"-1"_s << 0xFFFFFFu;
    }
    void colori()
    {
        QFETCH(QString, valore);
        QFETCH(uint, colore);
        Ini().Scrivi(Chiavi::Colore(1), valore);
        Startup w;
        QCOMPARE(w.SessioneAperta().colori, (std::array<std::uint32_t, 3>{15400938u, colore, 12582399u}));
        QCOMPARE(Ini().Leggi(Chiavi::Colore(0)), QString());
    }

    // Qt's own dialogs speak Italian: the print dialog and the folder picker, made as the program's
    // dialogs make them.
    void dialoghiInItaliano()
    {
        QVERIFY(CaricaTraduzioniQt());
        QPrintDialog stampa;
        QFileDialog cartella;
        cartella.setFileMode(QFileDialog::Directory);
        QStringList trovati{stampa.windowTitle()};
        for (const QWidget* c : stampa.findChildren<QWidget*>() + cartella.findChildren<QWidget*>())
            trovati << c->property("text").toString().remove(u'&')
                    << c->property("title").toString().remove(u'&');
        for (const QString& italiano :
             {u"Stampa"_s, u"Stampante"_s, u"Opzioni >>"_s, u"Cerca in:"_s, u"Scegli"_s})
            QVERIFY2(trovati.contains(italiano), qPrintable(trovati.join(u" | "_s)));
    }

    // The country window opens beside the main window, once: the entry brings the open one forward.
    void finestraNazioni()
    {
        Startup w;
        QVERIFY(Mostra(w));
        QAction* voce = w.findChild<QAction*>(u"Mu_Nazioni"_s);
        voce->trigger();
        QPointer<GesNaz> finestra = w.findChild<GesNaz*>(u"GesNaz"_s);
        QVERIFY(finestra && finestra->isVisible() && !finestra->isModal());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        voce->trigger();
        QVERIFY(QTest::qWaitForWindowActive(finestra));
        QCOMPARE(w.findChildren<GesNaz*>().size(), 1);
        finestra->close();
        QTRY_VERIFY(!finestra);
        voce->trigger();
        QCOMPARE(w.findChildren<GesNaz*>().size(), 1);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
