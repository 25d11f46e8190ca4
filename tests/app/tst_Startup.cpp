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

    std::unique_ptr<CartellaProva> m_cartella;
    DialoghiProva* m_dialoghi = nullptr;

    QString Leggi(const QString& sezione, const QString& chiave) const
    {
        return m_cartella->Ini().Leggi({sezione, chiave});
    }
    void Imposta(const QString& sezione, const QString& chiave, const QString& valore)
    {
        m_cartella->Ini().Scrivi({sezione, chiave}, valore);
    }
    static int Tw(int pixel)
    {
        return TwipsDaPixel(pixel, QGuiApplication::primaryScreen()->logicalDotsPerInch());
    }
    static int Px(double twips)
    {
        return PixelDaTwips(twips, QGuiApplication::primaryScreen()->logicalDotsPerInch());
    }
    static QStringList VociVisibili(Startup& w)
    {
        QStringList voci;
        for (int i = 1; i <= kNumeroApplicativi; ++i) {
            if (QAction* a = w.findChild<QAction*>(u"Mprg_var(%1)"_s.arg(i)); a->isVisible())
                voci << a->text();
        }
        return voci;
    }
    QByteArray FileIni() const
    {
        QFile f(m_cartella->File(u"tarvel.ini"_s));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        ImpostaCartellaProgramma(m_cartella->Percorso());
        m_dialoghi = DialoghiProva::Installa();
        QLocale::setDefault(QLocale::c());
    }

    // A command run first leaves no settings file, so the first window start still centres itself,
    // by the design size (client area and menu bar), and keeps that size with the menu bar on one line.
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
        QVERIFY(w.SessioneAperta().database.Aperto() && QFileInfo(m_cartella->File(u"TempFile"_s)).isDir());
        const QSize schermo = QGuiApplication::primaryScreen()->geometry().size();
        const double x = ValNum(Leggi(u"STARTUP"_s, u"POSX"_s)), y = ValNum(Leggi(u"STARTUP"_s, u"POSY"_s));
        QCOMPARE(x, (Tw(schermo.width()) - 6360) / 2.0);
        QCOMPARE(y, (Tw(schermo.height()) - 1860 - Tw(w.menuBar()->sizeHint().height())) / 2.0);
        QCOMPARE(w.geometry(), QRect(Px(x), Px(y), Px(6360), Px(2550)));
        QVERIFY(Mostra(w));
        QCOMPARE(w.menuBar()->heightForWidth(w.width()), w.menuBar()->sizeHint().height());
        w.resize(w.width() + 100, w.height() + 100);
        QCOMPARE(w.size(), w.minimumSize());
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

    // A saved coordinate off the screen, or not a number as the settings file reads it, opens at 0.
    void posizioneSalvata_data()
    {
        QTest::addColumn<QString>("posx");
        QTest::addColumn<QString>("posy");
        QTest::addColumn<QPoint>("attesa"); // twips
        const QSize s(Tw(QGuiApplication::primaryScreen()->geometry().width()),
                      Tw(QGuiApplication::primaryScreen()->geometry().height()));
        QTest::newRow("inside") << u"150"_s << u"300"_s << QPoint(150, 300);
        QTest::newRow("at the screen's size")
            << QString::number(s.width()) << QString::number(s.height()) << QPoint(0, 0);
        QTest::newRow("negative and letters") << u"-45"_s << u"abc"_s << QPoint(0, 0);
        QTest::newRow("TAB before the number") << u"\t2000"_s << u"300"_s << QPoint(0, 300);
    }
    void posizioneSalvata()
    {
        QFETCH(QString, posx);
        QFETCH(QString, posy);
        QFETCH(QPoint, attesa);
        Imposta(u"startup"_s, u"posx"_s, posx);
        Imposta(u"startup"_s, u"posy"_s, posy);
        QCOMPARE(Startup().pos(), QPoint(Px(attesa.x()), Px(attesa.y())));
    }

    // The Applicativi menu shows the entries with a name and a program, and the exports start the
    // highest spreadsheet program among them. "Imposta Applicativi" edits the entries; once it
    // closes the menu and the spreadsheet program follow the settings file, and the entries launch.
    void applicativi()
    {
        const QString foglio = m_cartella->File(u"localc"_s);
        QVERIFY(QFile::copy(u"/bin/sh"_s, foglio));
        for (const auto& [chiave, valore] : {std::pair(u"Varie1"_s, u"/bin/sh"_s), // an editor surely here
                                             {u"NomeVarie2"_s, u"Foglio"_s},
                                             {u"Varie2"_s, foglio},
                                             {u"NomeVarie4"_s, u"Solo nome"_s}})
            Imposta(u"APPLICATIVI"_s, chiave, valore);
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
        auto* finestra = w.findChild<GesAppl*>(u"GesAppl"_s);
        QVERIFY(finestra && finestra->isVisible());
        for (const auto& [campo, testo] : {std::pair(3, u"Sito"_s),
                                           {14, u"www.esempio.it"_s},
                                           {5, u"Calcolo"_s},
                                           {16, foglio + u" --calc"_s}})
            Controllo<QLineEdit>(*finestra, u"Txt(%1)"_s.arg(campo))->setText(testo);
        Controllo<QPushButton>(*finestra, u"Command1(0)"_s)->click();
        QTRY_VERIFY(!w.findChild<GesAppl*>());
        QCOMPARE(VociVisibili(w), (QStringList{u"Editor di testi"_s, u"Foglio"_s, u"Sito"_s, u"Calcolo"_s}));
        QCOMPARE(w.SessioneAperta().pathExcel, (ComandoProgramma{foglio, {u"--calc"_s}}));
        w.findChild<QAction*>(u"Mprg_var(3)"_s)->trigger();
        ImpostaApriIndirizzo({});
        QCOMPARE(indirizzi, QStringList{u"http://www.esempio.it"_s});
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // A settings file that cannot be written, or is too large to read: the window program works on
    // its defaults in memory (the country table and the first Applicativi entry included), quietly,
    // and never touches the file.
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
        const QByteArray prima = FileIni();
        {
            Startup w;
            const Nazioni& nazioni = w.SessioneAperta().nazioni;
            QCOMPARE(nazioni.ControlloFormatoVAT(u"IT00743110157"_s).messaggio, QString());
            QCOMPARE(nazioni.ControlloFormatoVAT(u"IT0074311015"_s).messaggio,
                     u"*** Lunghezza VAT errata 11-11"_s);
            QCOMPARE(VociVisibili(w), QStringList{u"Editor di Testi"_s});
            QVERIFY(w.close());
        }
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
        QVERIFY(FileIni() == prima);
    }

    // Only a 0 (missing, empty, not a number) takes a grid colour's default; other values are
    // rounded, halves to even, and keep their low 24 bits. Defaults are not written back.
    void colori_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<uint>("colore");
        QTest::newRow("zero") << u"0"_s << 13684991u;
        QTest::newRow("halves to even") << u"2.5"_s << 2u;
        QTest::newRow("a half is black") << u"0.5"_s << 0u;
        QTest::newRow("negative: low 24 bits") << u"-1"_s << 0xFFFFFFu;
        QTest::newRow("too large: low 24 bits") << u"16777473"_s << 257u;
    }
    void colori()
    {
        QFETCH(QString, valore);
        QFETCH(uint, colore);
        if (!valore.isNull())
            Imposta(u"COLORIGRID"_s, u"COLORE1"_s, valore);
        Startup w;
        QCOMPARE(w.SessioneAperta().colori, (std::array<std::uint32_t, 3>{15400938u, colore, 12582399u}));
        QCOMPARE(Leggi(u"COLORIGRID"_s, u"COLORE0"_s), QString());
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
        const QStringList diStampa = testi(stampa), diCartella = testi(cartella);
        for (const QString& italiano : {u"Stampa"_s, u"Stampante"_s, u"Opzioni >>"_s})
            QVERIFY2(diStampa.contains(italiano), qPrintable(diStampa.join(u" | "_s)));
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
