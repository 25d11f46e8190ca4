#include "app/GeometriaStartup.h"
#include "app/Startup.h"
#include "app/Traduzioni.h"
#include "checks/EleVat.h"
#include "core/CartellaProgramma.h"
#include "core/ChiaviIni.h"
#include "core/Twips.h"
#include "core/Valori.h"
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
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// Start-up and closing of the whole main window, each in an empty program folder of its own.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CartellaProva> m_cartella;

    QString Leggi(const QString& sezione, const QString& chiave) const
    {
        return m_cartella->Ini().Leggi({sezione, chiave});
    }
    void Imposta(const QString& sezione, const QString& chiave, const QString& valore)
    {
        m_cartella->Ini().Scrivi({sezione, chiave}, valore);
    }
    static double Dpi() { return QGuiApplication::primaryScreen()->logicalDotsPerInch(); }
    static QSize Schermo()
    {
        const QSize px = QGuiApplication::primaryScreen()->geometry().size();
        return {TwipsDaPixel(px.width(), Dpi()), TwipsDaPixel(px.height(), Dpi())};
    }
    static QStringList VociVisibili(Startup& w)
    {
        QStringList voci;
        for (int i = 1; i <= kNumeroApplicativi; ++i) {
            QAction* a = w.findChild<QAction*>(u"Mprg_var(%1)"_s.arg(i));
            if (a->isVisible())
                voci << a->text();
        }
        return voci;
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        ImpostaCartellaProgramma(m_cartella->Percorso());
        DialoghiProva::Installa();
    }

    // A command run first leaves no settings file, so the first window start still centres itself.
    void primoAvvio_data()
    {
        QTest::addColumn<bool>("primaUnComando");
        QTest::newRow("first start") << false;
        QTest::newRow("after a command") << true;
    }
    void primoAvvio()
    {
        QFETCH(bool, primaUnComando);
        if (primaUnComando) {
            ApriSessione(m_cartella->Percorso(), ModoSessione::Comando);
            QVERIFY(!QFileInfo::exists(m_cartella->File(u"tarvel.ini"_s)));
        }
        Startup w;
        Sessione& s = w.SessioneAperta();
        QVERIFY(QFileInfo(m_cartella->File(u"TempFile"_s)).isDir());
        QCOMPARE(s.fileDb, m_cartella->File(u"tarvel.db"_s));
        QVERIFY(s.database.Aperto());
        QCOMPARE(QDir::currentPath(), QDir(m_cartella->Percorso()).canonicalPath());

        // Centred from the design size: the client area plus the menu bar.
        const int menu = TwipsDaPixel(w.menuBar()->sizeHint().height(), Dpi());
        QCOMPARE(ValNum(Leggi(u"STARTUP"_s, u"POSX"_s)), (Schermo().width() - 6360) / 2.0);
        QCOMPARE(ValNum(Leggi(u"STARTUP"_s, u"POSY"_s)), (Schermo().height() - 1860 - menu) / 2.0);
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"NomeVarie1"_s), u"Editor di testi"_s);
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"Varie1"_s), EditorDiTesti());
        QCOMPARE(Leggi(u"NAZIONI"_s, u"IT"_s), u"ITALIA,11,11,0,0,0,0"_s);
        QCOMPARE(s.nazioni.Righe().size(), 28);

        QCOMPARE(w.windowTitle(), u" CONTROLLO VALIDITA' PARTITA IVA CEE                  (1.0.0)"_s);
        QVERIFY(!w.windowIcon().pixmap(32).isNull());
        QCOMPARE(w.height(), PixelDaTwips(2550, Dpi()));
        QCOMPARE(w.width(), PixelDaTwips(6360, Dpi()));
        QCOMPARE(w.pos(), QPoint(PixelDaTwips(ValNum(Leggi(u"STARTUP"_s, u"POSX"_s)), Dpi()),
                                 PixelDaTwips(ValNum(Leggi(u"STARTUP"_s, u"POSY"_s)), Dpi())));
        // The size stays fixed, with the menu bar on one line.
        QVERIFY(Mostra(w));
        QCOMPARE(w.menuBar()->heightForWidth(w.width()), w.menuBar()->sizeHint().height());
        w.resize(w.width() + 100, w.height() + 100);
        QCOMPARE(w.size(), w.minimumSize());
    }

    // "&Elenco" opens the list check window, modally, over the main window's session.
    void elenco()
    {
        Startup w;
        QVERIFY(Mostra(w));
        QString aperta;
        QTimer::singleShot(0, &w, [&] {
            QWidget* modale = QApplication::activeModalWidget();
            aperta = modale ? modale->objectName() : QString();
            if (modale)
                modale->close();
        });
        w.findChild<QAction*>(u"Mu_MrnEle"_s)->trigger();
        QCOMPARE(aperta, u"EleVat"_s);
    }

    // "&DataBase" opens the results browser, modally, over the results table.
    void dataBase()
    {
        Startup w;
        QVERIFY(Mostra(w));
        QString aperta;
        QTimer::singleShot(0, &w, [&] {
            auto* modale = qobject_cast<EleVATok*>(QApplication::activeModalWidget());
            aperta = modale ? modale->objectName() + u' ' + modale->NomeTabella() : QString();
            if (modale)
                modale->close();
        });
        w.findChild<QAction*>(u"Mu_dataBase"_s)->trigger();
        QCOMPARE(aperta, u"EleVATok PartiteIVA"_s);
    }

    // The list check's "D.B." ending shows its answers in the browser, whose ANALIZZA hands the
    // numbers shown back to the list check and then shows today's answers.
    void elencoERisultati()
    {
        ServerProva server;
        server.Imposta(
            u"/vies?stato=IT&piva=00743110157"_s,
            PaginaProva::Html("<p class=\"vies_ok\">Valida</p><th>Stato</th><td>IT</td><th>Nome</th>"
                              "<td>ROSSI</td><th>Via</th><td>PO</td><th>Inizio</th><td>-</td>"
                              "<th>Fine</th><td>-</td>"));
        server.Imposta(u"/vies?stato=IT&piva=01234567890"_s,
                       PaginaProva::Html("<p class=\"vies_er\">Numero non valido</p>"));
        m_cartella->IndirizziVerso(server, 5);
        m_cartella->Ini().Scrivi(Chiavi::ElencoCome(), u"2"_s);
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
            if (auto* elenco = qobject_cast<EleVat*>(modale); elenco && visto.isEmpty()) {
                visto << elenco->objectName();
                Controllo<QLabel>(*elenco, u"lbPathEle"_s)->setText(lista);
                Controllo<QPushButton>(*elenco, u"Command1(0)"_s)->click();
            } else if (auto* risultati = qobject_cast<EleVATok*>(modale)) {
                passo.stop();
                const auto vat = [risultati] {
                    const QAbstractItemModel* m = Controllo<QTableView>(*risultati, u"TDBGrid1"_s)->model();
                    QStringList vat;
                    for (int r = 0; r < m->rowCount(); ++r)
                        vat << m->index(r, 1).data().toString();
                    return vat.join(u' ');
                };
                visto << risultati->NomeTabella() << vat();
                Controllo<QComboBox>(*risultati, u"cbStato"_s)->setCurrentIndex(2);
                Controllo<QPushButton>(*risultati, u"CmdR(0)"_s)
                    ->click(); // returns once the list check closed
                visto << Controllo<QComboBox>(*risultati, u"Combo1"_s)->currentText() << vat();
                risultati->close();
            }
        });
        passo.start(10);
        w.findChild<QAction*>(u"Mu_MrnEle"_s)->trigger();
        QCOMPARE(visto, (QStringList{u"EleVat"_s, u"WkPartiteIVA"_s, u"00743110157 01234567890"_s, u"Dal  "_s,
                                     u"01234567890"_s}));
        QCOMPARE(server.Richieste().size(), 3);
    }

    // A menu bar that wraps makes the frame taller; the window widens to give it one line.
    void larghezzaFissa_data()
    {
        QTest::addColumn<int>("cornice");
        QTest::addColumn<int>("larghezza");
        QTest::newRow("800") << 800 << 7000;
        QTest::newRow("801") << 801 << 6600;
        QTest::newRow("1000") << 1000 << 6600;
        QTest::newRow("1001") << 1001 << 8100;
    }
    void larghezzaFissa()
    {
        QFETCH(int, cornice);
        QFETCH(int, larghezza);
        QCOMPARE(LarghezzaFissa(7000, cornice), larghezza);
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
        QTest::newRow("TAB before the number") << u"\t2000"_s << u"300"_s << true << false;
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
        QTest::addColumn<QPoint>("dove"); // pixels
        QTest::addColumn<QString>("posx");
        QTest::addColumn<QString>("posy");
        const QString y = QString::number(TwipsDaPixel(80, Dpi()));
        QTest::newRow("normal") << int(Qt::WindowNoState) << QPoint(200, 80)
                                << QString::number(TwipsDaPixel(200, Dpi())) << y;
        QTest::newRow("off the left edge") << int(Qt::WindowNoState) << QPoint(-40, 80) << u"0"_s << y;
        QTest::newRow("minimized") << int(Qt::WindowMinimized) << QPoint(200, 80) << u"1500"_s << u"750"_s;
        QTest::newRow("maximized") << int(Qt::WindowMaximized) << QPoint(200, 80) << u"1500"_s << u"750"_s;
    }
    void chiusura()
    {
        QFETCH(int, stato);
        QFETCH(QPoint, dove);
        QFETCH(QString, posx);
        QFETCH(QString, posy);
        Imposta(u"STARTUP"_s, u"POSX"_s, u"1500"_s);
        Imposta(u"STARTUP"_s, u"POSY"_s, u"750"_s);
        Startup w;
        QVERIFY(Mostra(w));
        w.move(dove);
        w.setWindowState(Qt::WindowStates(stato));
        QVERIFY(w.close());
        QVERIFY(!w.SessioneAperta().database.Aperto());
        QCOMPARE(Leggi(u"STARTUP"_s, u"POSX"_s), posx);
        QCOMPARE(Leggi(u"STARTUP"_s, u"POSY"_s), posy);
        const bool normale = stato == Qt::WindowNoState;
        QCOMPARE(Leggi(u"Startup"_s, u"DIMY"_s),
                 normale ? QString::number(TwipsDaPixel(w.frameGeometry().height(), Dpi())) : QString());
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
        QCOMPARE(w.SessioneAperta().pathExcel.programma, excel);
        QVERIFY(w.findChild<QAction*>(u"Mprg_base"_s)->isVisible());
    }

    // "Imposta Applicativi" edits the entries; once it closes the menu and the spreadsheet program
    // follow the settings file, and the entries launch.
    void applicativiDalMenu()
    {
        const QString foglio = m_cartella->File(u"localc"_s);
        QVERIFY(QFile::copy(u"/bin/sh"_s, foglio));
        Imposta(u"APPLICATIVI"_s, u"Varie1"_s, u"/bin/sh"_s); // an editor this machine surely has
        DialoghiProva* dialoghi = DialoghiProva::Installa();
        QStringList indirizzi;
        ImpostaApriIndirizzo([&indirizzi](const QUrl& indirizzo) {
            indirizzi.append(indirizzo.toString());
            return true;
        });
        Startup w;
        QVERIFY(Mostra(w));
        QVERIFY(w.findChild<QAction*>(u"Mprg_var(1)"_s)->isEnabled());
        QVERIFY(w.findChild<QAction*>(u"Mu_ParAppl"_s)->isEnabled());
        w.findChild<QAction*>(u"Mu_ParAppl"_s)->trigger();
        auto* finestra = w.findChild<GesAppl*>(u"GesAppl"_s);
        QVERIFY(finestra && finestra->isVisible());
        Controllo<QLineEdit>(*finestra, u"Txt(3)"_s)->setText(u"Sito"_s);
        Controllo<QLineEdit>(*finestra, u"Txt(14)"_s)->setText(u"www.esempio.it"_s);
        Controllo<QLineEdit>(*finestra, u"Txt(5)"_s)->setText(u"Calcolo"_s);
        Controllo<QLineEdit>(*finestra, u"Txt(16)"_s)->setText(foglio + u" --calc"_s);
        Controllo<QPushButton>(*finestra, u"Command1(0)"_s)->click();
        QVERIFY(dialoghi->Messaggi().isEmpty());
        QTRY_VERIFY(!w.findChild<GesAppl*>());
        QCOMPARE(VociVisibili(w), (QStringList{u"Editor di testi"_s, u"Sito"_s, u"Calcolo"_s}));
        QCOMPARE(w.SessioneAperta().pathExcel, (ComandoProgramma{foglio, {u"--calc"_s}}));

        w.findChild<QAction*>(u"Mprg_var(3)"_s)->trigger();
        ImpostaApriIndirizzo({});
        QCOMPARE(indirizzi, QStringList{u"http://www.esempio.it"_s});
    }

    void applicativiConFileSolaLettura()
    {
        Imposta(u"STARTUP"_s, u"POSX"_s, u"0"_s);
        QVERIFY(QFile::setPermissions(m_cartella->File(u"tarvel.ini"_s), QFile::ReadOwner));
        Startup w;
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"NomeVarie1"_s), QString());
        QCOMPARE(VociVisibili(w), QStringList{u"Editor di Testi"_s});
        QVERIFY(w.close()); // nothing written, nothing broken
        QCOMPARE(Leggi(u"STARTUP"_s, u"DIMX"_s), QString());
    }

    // A settings file that cannot be written, or is too large to read, is told once, naming it; the
    // program works on its defaults (the country table included) and leaves the file as it was.
    // The window program works on the default country table, quietly, and never touches the file.
    void fileImpostazioniInutilizzabile_data()
    {
        QTest::addColumn<bool>("enorme");
        QTest::newRow("read-only") << false;
        QTest::newRow("over the size limit") << true;
    }
    void fileImpostazioniInutilizzabile()
    {
        QFETCH(bool, enorme);
        const QString file = m_cartella->File(u"tarvel.ini"_s);
        Imposta(u"STARTUP"_s, u"POSX"_s, u"0"_s);
        if (enorme)
            QVERIFY(QFile::resize(file, 17 * 1024 * 1024));
        QVERIFY(
            QFile::setPermissions(file, enorme ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray prima = f.readAll();
        f.close();
        DialoghiProva* prova = DialoghiProva::Installa();

        auto w = std::make_unique<Startup>();
        const Nazioni& nazioni = w->SessioneAperta().nazioni;
        QCOMPARE(nazioni.ControlloFormatoVAT(u"IT00743110157"_s).messaggio, QString());
        QCOMPARE(nazioni.ControlloFormatoVAT(u"IT0074311015"_s).messaggio,
                 u"*** Lunghezza VAT errata 11-11"_s);
        QVERIFY(w->close());
        w.reset();
        QVERIFY(prova->Messaggi().isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == prima);
    }

    void colori_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<uint>("colore");
        QTest::newRow("missing") << QString() << 13684991u;
        QTest::newRow("letters") << u"rosso"_s << 13684991u;
        QTest::newRow("zero") << u"0"_s << 13684991u;
        QTest::newRow("255") << u"255"_s << 255u;
        QTest::newRow("halves to even") << u"2.5"_s << 2u;
        QTest::newRow("a half is black") << u"0.5"_s << 0u;
        QTest::newRow("negative: low 24 bits") << u"-1"_s << 0xFFFFFFu;
        QTest::newRow("too large: low 24 bits") << u"16777473"_s << 257u;
    }
    void colori()
    {
        QFETCH(QString, valore);
        QFETCH(uint, colore);
        QLocale::setDefault(QLocale::c());
        if (!valore.isNull())
            Imposta(u"COLORIGRID"_s, u"COLORE1"_s, valore);
        Startup w;
        QCOMPARE(w.SessioneAperta().colori, (std::array<std::uint32_t, 3>{15400938u, colore, 12582399u}));
        QCOMPARE(Leggi(u"COLORIGRID"_s, u"COLORE0"_s), QString()); // defaults are not written back
    }

    // Qt's own dialogs speak Italian: the print dialog and the folder picker, made as the program's
    // dialogs make them.
    void dialoghiInItaliano()
    {
        QVERIFY(CaricaTraduzioniQt());
        QPrinter stampante;
        QPrintDialog stampa(&stampante);
        QFileDialog cartella(nullptr, u"Cartella salvataggio pagine HTML"_s, QDir::tempPath());
        cartella.setFileMode(QFileDialog::Directory);
        cartella.setOption(QFileDialog::ShowDirsOnly);
        const auto testi = [](QDialog& dialogo) {
            dialogo.show();
            QStringList t{dialogo.windowTitle()};
            for (const QAbstractButton* b : dialogo.findChildren<QAbstractButton*>())
                t << b->text().remove(u'&');
            for (const QLabel* l : dialogo.findChildren<QLabel*>())
                t << l->text().remove(u'&');
            for (const QGroupBox* g : dialogo.findChildren<QGroupBox*>())
                t << g->title().remove(u'&');
            dialogo.close();
            return t;
        };
        const QStringList diStampa = testi(stampa);
        for (const QString& italiano : {u"Stampa"_s, u"Stampante"_s, u"Opzioni >>"_s})
            QVERIFY2(diStampa.contains(italiano), qPrintable(diStampa.join(u" | "_s)));
        const QStringList diCartella = testi(cartella);
        for (const QString& italiano : {u"Cerca in:"_s, u"Scegli"_s})
            QVERIFY2(diCartella.contains(italiano), qPrintable(diCartella.join(u" | "_s)));
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
        QCOMPARE(Controllo<QComboBox>(*finestra, u"cbNazioni"_s)->count(), 27);
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

    void fileRovinati()
    {
        QFile ini(m_cartella->File(u"tarvel.ini"_s));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("\x00\xff[STARTUP\x00]\nPOSX=\x01\x02", 21));
        ini.close();
        // A file of the database's name that is no database stays as it is, and start-up says nothing.
        QFile db(m_cartella->File(u"tarvel.db"_s));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.write("non un database\r\n");
        db.close();
        DialoghiProva* prova = DialoghiProva::Installa();
        Startup w;
        QVERIFY(w.x() >= 0 && w.y() >= 0);
        QCOMPARE(Leggi(u"APPLICATIVI"_s, u"NomeVarie1"_s), u"Editor di testi"_s);
        QVERIFY(!w.SessioneAperta().database.Aperto());
        QVERIFY(prova->Messaggi().isEmpty());
        QVERIFY(db.open(QIODevice::ReadOnly));
        QCOMPARE(db.readAll(), QByteArray("non un database\r\n"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
