// Mouse events through the window system, as the pointer makes them: moves without a button too.
#define QTEST_QPA_MOUSE_HANDLING

#include "core/ChiaviIni.h"
#include "core/ColoreQt.h"
#include "core/ScalaTwips.h"
#include "results/ColonneRisultati.h"
#include "results/EleVATok.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// The results browser over a program folder of its own, driven through its controls.
class TestEleVATok : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;

    void Inserisci(const QString& codice, int ok, const QString& richiesta,
                   const QString& tabella = u"PartiteIVA"_s)
    {
        QVERIFY(m_sessione->database.Esegui(
            u"INSERT INTO "_s + tabella +
                u" (Codice, Nazione, VAT, Denominazione, OK, DataRichiesta) VALUES (?, ?, ?, ?, ?, ?)"_s,
            {codice, codice.left(2), codice.mid(2), QString(u"DITTA "_s + codice.mid(2)), ok, richiesta}));
    }
    std::unique_ptr<EleVATok> Apri(TabellaSfogliata tabella = TabellaSfogliata::Risultati)
    {
        auto w = std::make_unique<EleVATok>(*m_sessione, tabella);
        if (!Mostra(*w))
            qFatal("window not shown");
        return w;
    }
    static QTableView* Griglia(const EleVATok& w) { return Controllo<QTableView>(w, u"TDBGrid1"_s); }
    static QStringList Colonna(const EleVATok& w, int colonna)
    {
        const QAbstractItemModel* m = Griglia(w)->model();
        QStringList testi;
        for (int r = 0; r < m->rowCount(); ++r)
            testi << m->index(r, colonna).data().toString();
        return testi;
    }
    static void Scegli(const EleVATok& w, const QString& nome, int indice)
    {
        Controllo<QComboBox>(w, nome)->setCurrentIndex(indice);
    }
    // A release of `tasto` on the headings at `x` pixels from the left of the headings' band.
    static void ClicIntestazione(const EleVATok& w, int x, Qt::MouseButton tasto = Qt::LeftButton)
    {
        QTest::mouseClick(Griglia(w)->horizontalHeader()->viewport(), tasto, {}, QPoint(x, 5));
    }
    static int Bordo(const EleVATok& w, int colonna, bool destro)
    {
        const QHeaderView* h = Griglia(w)->horizontalHeader();
        return h->sectionViewportPosition(colonna) + (destro ? h->sectionSize(colonna) : 0);
    }
    static int Pixel(const QWidget& w, int twips) { return ScalaTwips(w.screen()).PixelX(twips); }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_sessione = ApriSessione(m_cartella->Percorso(), ModoSessione::Finestre);
        m_dialoghi = DialoghiProva::Installa();
        Inserisci(u"IT00000000001"_s, 0, u"2008-12-20 10:00:00"_s);
        Inserisci(u"IT00000000002"_s, 1, u"2008-12-13 00:00:00"_s);
        Inserisci(u"FR00000000003"_s, 1, u"2008-12-14 15:30:00"_s);
        Inserisci(u"DE00000000004"_s, 2, u"2008-12-12 09:00:00"_s);
        Inserisci(u"IT00000000005"_s, 1, u"2008-12-01 08:00:00"_s);
    }
    void cleanup()
    {
        m_sessione.reset();
        m_cartella.reset();
    }

    // Loading sets every control without reading a row; the first show reads them once.
    void caricamento()
    {
        EleVATok w(*m_sessione, TabellaSfogliata::Risultati);
        QCOMPARE(w.objectName(), u"EleVATok"_s);
        QCOMPARE(w.windowTitle(), u"RISULTATO CONTROLLO PARTITE IVA CEE"_s);
        auto* stato = Controllo<QComboBox>(w, u"cbStato"_s);
        QCOMPARE(stato->currentText(), u"TUTTE"_s);
        QCOMPARE(stato->itemText(3), u"CESSATE"_s);
        auto* data = Controllo<QComboBox>(w, u"Combo1"_s);
        QCOMPARE((QStringList{data->itemText(0), data->itemText(1), data->itemText(2)}),
                 (QStringList{u" "_s, u"Prima del"_s, u"Dal  "_s}));
        auto* nazioni = Controllo<QComboBox>(w, u"cbNazioni"_s);
        QCOMPARE(nazioni->count(), 28);
        QCOMPARE(nazioni->itemText(0), u" "_s);
        QCOMPARE(nazioni->itemText(1), u"AT - AUSTRIA"_s);
        QCOMPARE(nazioni->currentIndex(), -1);
        QCOMPARE(Controllo<QDateTimeEdit>(w, u"DTPicker1"_s)->dateTime(),
                 QDateTime(QDate(2008, 12, 13), QTime(0, 0)));
        QCOMPARE(Controllo<QLabel>(w, u"lbToolTip"_s)->text(),
                 u" Ordinamento: Click SINISTRO =  crescente\n"_s + QString(24, u' ') +
                     u"Click  DESTRO  = decrescente "_s);
        QVERIFY(Controllo<QFrame>(w, u"pctToolTip"_s)->isHidden() &&
                Controllo<QFrame>(w, u"pctLayOut"_s)->isHidden());
        QSignalSpy letture(Griglia(w)->model(), &QAbstractItemModel::modelReset);
        QCOMPARE(Griglia(w)->model()->rowCount(), 0);
        QVERIFY(Mostra(w));
        QCOMPARE(letture.count(), 1);
        QCOMPARE(Controllo<QLabel>(w, u"lbNUmRec"_s)->text(), u"Totale = 5"_s);
    }

    // The example of the filter text, then any filter change returning to the first column.
    void filtri()
    {
        auto w = Apri();
        Controllo<QDateTimeEdit>(*w, u"DTPicker1"_s)
            ->setDateTime(QDateTime(QDate(2008, 12, 13), QTime(0, 0)));
        Scegli(*w, u"cbStato"_s, 2);
        Scegli(*w, u"cbNazioni"_s,
               Controllo<QComboBox>(*w, u"cbNazioni"_s)->findText(u"IT - "_s, Qt::MatchStartsWith));
        Scegli(*w, u"Combo1"_s, 2);
        QCOMPARE(w->SorgenteRecord(), u"Select * FROM PartiteIVA WHERE OK = 1 AND Nazione = 'IT' AND "
                                      u"DataRichiesta >= 39795 ORDER BY Nazione ASC"_s);
        QCOMPARE(Colonna(*w, kColVat), QStringList{u"00000000002"_s});
        QCOMPARE(Colonna(*w, kColDataRichiesta), QStringList{u"13/12/2008"_s});

        ClicIntestazione(*w, Bordo(*w, kColDenominazione, false) + Pixel(*w, 500), Qt::RightButton);
        QVERIFY(w->SorgenteRecord().endsWith(u"ORDER BY Denominazione DESC, Nazione, VAT"_s));
        Scegli(*w, u"Combo1"_s, 1); // before the day: the zero date and everything up to its midnight
        QCOMPARE(w->SqlFiltro(), u"Select * FROM PartiteIVA WHERE OK = 1 AND Nazione = 'IT' AND "
                                 u"DataRichiesta <= 39795"_s);
        QVERIFY(w->SorgenteRecord().endsWith(u"ORDER BY Nazione ASC"_s));
        QCOMPARE(Colonna(*w, kColVat), (QStringList{u"00000000002"_s, u"00000000005"_s}));
        Scegli(*w, u"cbNazioni"_s, 0); // the blank country adds nothing
        QCOMPARE(w->SqlFiltro(), u"Select * FROM PartiteIVA WHERE OK = 1 AND DataRichiesta <= 39795"_s);
    }

    void ordinamento_data()
    {
        QTest::addColumn<int>("colonna");
        QTest::addColumn<bool>("destro");  // measured from the right edge
        QTest::addColumn<int>("distanza"); // twips
        QTest::addColumn<Qt::MouseButton>("tasto");
        QTest::addColumn<QString>("ordine"); // "" when the release does not sort
        QTest::newRow("left: ascending") << int(kColDenominazione) << false << 500 << Qt::LeftButton
                                         << u"Denominazione ASC, Nazione, VAT"_s;
        QTest::newRow("right: descending")
            << int(kColOk) << false << 150 << Qt::RightButton << u"OK DESC, Nazione, VAT"_s;
        QTest::newRow("middle: descending, the number alone")
            << int(kColVat) << true << 150 << Qt::MiddleButton << u"VAT DESC"_s;
        QTest::newRow("left band") << int(kColDenominazione) << false << 50 << Qt::LeftButton << QString();
        QTest::newRow("right band") << int(kColDenominazione) << true << 50 << Qt::LeftButton << QString();
    }
    void ordinamento()
    {
        QFETCH(int, colonna);
        QFETCH(bool, destro);
        QFETCH(int, distanza);
        QFETCH(Qt::MouseButton, tasto);
        QFETCH(QString, ordine);
        auto w = Apri();
        Griglia(*w)->scrollTo(Griglia(*w)->model()->index(0, colonna));
        const int x = Bordo(*w, colonna, destro) + (destro ? -1 : 1) * Pixel(*w, distanza);
        ClicIntestazione(*w, x, tasto);
        QCOMPARE(w->SorgenteRecord(),
                 u"Select * FROM PartiteIVA ORDER BY "_s + (ordine.isEmpty() ? u"Nazione ASC"_s : ordine));
        if (colonna == kColOk && !ordine.isEmpty())
            QCOMPARE(Colonna(*w, kColOk), (QStringList{u"C"_s, u"E"_s, u"E"_s, u"E"_s, u" "_s}));
    }

    // The sort hint: over the headings only within 300 twips of the grid's top, kept inside the window.
    void suggerimento()
    {
        auto w = Apri();
        QHeaderView* h = Griglia(*w)->horizontalHeader();
        const int banda = ScalaTwips(w->screen()).PixelY(300) - h->mapTo(Griglia(*w), QPoint()).y();
        h->setFixedHeight(2 * banda); // taller headings than the band
        auto* box = Controllo<QFrame>(*w, u"pctToolTip"_s);
        QTest::mouseMove(h->viewport(), QPoint(40, banda - 1));
        QVERIFY(box->isVisible());
        QCOMPARE(box->x(), h->viewport()->mapTo(w.get(), QPoint(40, 0)).x());
        QTest::mouseMove(h->viewport(), QPoint(40, banda));
        QVERIFY(!box->isVisible());
        QTest::mouseMove(h->viewport(), QPoint(h->viewport()->width() - 2, 2));
        QCOMPARE(box->geometry().right(), w->width() - 1);
        QTest::mouseMove(Griglia(*w)->viewport(), QPoint(40, 5));
        QVERIFY(!box->isVisible());
    }

    // Buttons as the rows shown and the validity filter allow.
    void pulsanti_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<bool>("foglio");
        QTest::addColumn<bool>("analizza");
        QTest::addColumn<bool>("csv");
        QTest::newRow("all, spreadsheet") << 0 << true << false << true;
        QTest::newRow("active, no spreadsheet") << 1 << false << false << false;
        QTest::newRow("not existing") << 2 << true << true << true;
        QTest::newRow("ceased") << 3 << false << true << false;
    }
    void pulsanti()
    {
        QFETCH(int, stato);
        QFETCH(bool, foglio);
        QFETCH(bool, analizza);
        QFETCH(bool, csv);
        if (foglio)
            m_sessione->pathExcel = {u"/bin/true"_s, {}};
        auto w = Apri();
        Scegli(*w, u"cbStato"_s, stato);
        QCOMPARE(Controllo<QPushButton>(*w, u"CmdR(0)"_s)->isEnabled(), analizza);
        QCOMPARE(Controllo<QPushButton>(*w, u"CmdR(1)"_s)->isEnabled(), csv);
        Scegli(*w, u"cbNazioni"_s,
               Controllo<QComboBox>(*w, u"cbNazioni"_s)->findText(u"MT"_s, Qt::MatchStartsWith));
        QVERIFY(Controllo<QLabel>(*w, u"lbNUmRec"_s)->text().isEmpty());
        QVERIFY(!Controllo<QPushButton>(*w, u"CmdR(0)"_s)->isEnabled());
        QVERIFY(!Controllo<QPushButton>(*w, u"CmdR(1)"_s)->isEnabled());
    }

    // The visible columns: kept as S and N, so leading hidden columns keep their place.
    void layOut()
    {
        {
            auto w = Apri();
            QVERIFY(Griglia(*w)->isColumnHidden(kColConsultazione));
            w->findChild<QAction*>(u"Mu_layout"_s)->trigger();
            auto* lista = Controllo<QListWidget>(*w, u"lstLayOut"_s);
            QVERIFY(Controllo<QFrame>(*w, u"pctLayOut"_s)->isVisible());
            QCOMPARE(lista->item(0)->text(), u"S  N."_s);
            QCOMPARE(lista->item(9)->text(), u"   CONSULTAZIONE"_s);
            for (const int i : {0, 9})
                QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                                  lista->visualItemRect(lista->item(i)).center());
            Controllo<QPushButton>(*w, u"cmgLayOut(0)"_s)->click(); // the toggles stay, unapplied
            QVERIFY(!Griglia(*w)->isColumnHidden(kColNazione) &&
                    Griglia(*w)->isColumnHidden(kColConsultazione));
            w->findChild<QAction*>(u"Mu_layout"_s)->trigger();
            lista->setCurrentRow(1);
            QTest::keyClick(lista, Qt::Key_Space);
            Controllo<QPushButton>(*w, u"cmgLayOut(1)"_s)->click();
            QVERIFY(Controllo<QFrame>(*w, u"pctLayOut"_s)->isHidden());
            QVERIFY(Griglia(*w)->isColumnHidden(kColNazione) &&
                    !Griglia(*w)->isColumnHidden(kColConsultazione));
        }
        QCOMPARE(m_sessione->impostazioni.Leggi(Chiavi::LayOut()), u"NNSSSSSSSS"_s);
        m_sessione->impostazioni.Scrivi(Chiavi::LayOut(), u"NxS"_s); // short: the rest hidden
        auto w = Apri();
        QList<bool> nascoste;
        for (int i = 0; i < kColonneRisultati; ++i)
            nascoste << Griglia(*w)->isColumnHidden(i);
        QCOMPARE(nascoste, (QList<bool>{true, true, false, true, true, true, true, true, true, true}));
        QCOMPARE(Controllo<QListWidget>(*w, u"lstLayOut"_s)->item(1)->text(), u"   VAT"_s);
    }

    // Each row on the colour of its validity; the colour window opens where it should and its
    // choice shows when it closes.
    void colori()
    {
        auto w = Apri();
        QTableView* g = Griglia(*w);
        const auto sfondo = [g](int riga) {
            const QRect cella = g->visualRect(g->model()->index(riga, kColIndirizzo));
            return g->viewport()->grab().toImage().pixelColor(cella.center());
        };
        for (int r = 0; r < g->model()->rowCount(); ++r) {
            const QString es = g->model()->index(r, kColOk).data().toString();
            QCOMPARE(sfondo(r), ColoreQt(m_sessione->colori[es == u"E"_s ? 1 : es == u"C"_s ? 2 : 0]));
        }
        ClicIntestazione(*w, Bordo(*w, kColVat, false) + Pixel(*w, 500));
        w->findChild<QAction*>(u"Mu_Colori"_s)->trigger();
        auto* finestra = w->findChild<QDialog*>(u"ColorTdbg"_s);
        QVERIFY(finestra && finestra->isVisible());
        QCOMPARE(finestra->windowTitle(), u" Colori validità partite IVA"_s);
        const ScalaTwips scala(w->screen());
        QCOMPARE(finestra->frameGeometry().topLeft(),
                 scala.Pixel(scala.Twips(w->frameGeometry()).topLeft() + QPoint(100, 680)));
        QCOMPARE(Controllo<QLabel>(*finestra, u"lbColor(2)"_s)->text(), u"CESSATE"_s);
        QVERIFY(Controllo<QLabel>(*finestra, u"lbColor(3)"_s)->isHidden());
        m_dialoghi->ProssimoColore(0x000000FF);
        QTest::mouseClick(Controllo<QLabel>(*finestra, u"lbColor(2)"_s), Qt::LeftButton);
        Controllo<QPushButton>(*finestra, u"Command1(1)"_s)->click();
        QVERIFY(w->SorgenteRecord().endsWith(u"ORDER BY Nazione ASC"_s)); // activated again
        QCOMPARE(g->model()->index(0, kColNazione).data().toString(), u"DE"_s);
        QCOMPARE(sfondo(0), QColor(Qt::red));
    }

    // ANALIZZA after noon: the numbers shown go to the list check, then today's answers show.
    void analizza()
    {
        const QDateTime adesso(QDate::currentDate(), QTime(15, 0));
        auto w = Apri();
        w->ImpostaAdesso([adesso] { return adesso; });
        Scegli(*w, u"cbStato"_s, 2);
        QSignalSpy letture(Griglia(*w)->model(), &QAbstractItemModel::modelReset);
        QString lista;
        connect(w.get(), &EleVATok::ControllaElenco, this, [&](const QString& file) {
            QFile f(file);
            lista = f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
            // The list check answers one of them again, this morning.
            m_sessione->database.Esegui(
                u"UPDATE PartiteIVA SET DataRichiesta = ? WHERE Codice = 'IT00000000005'"_s,
                {adesso.date().toString(u"yyyy-MM-dd 09:00:00"_s)});
        });
        Controllo<QPushButton>(*w, u"CmdR(0)"_s)->click();
        QCOMPARE(lista, u"FR00000000003\r\nIT00000000002\r\nIT00000000005\r\n"_s);
        QCOMPARE(Controllo<QComboBox>(*w, u"Combo1"_s)->currentText(), u"Dal  "_s);
        QCOMPARE(Controllo<QDateTimeEdit>(*w, u"DTPicker1"_s)->dateTime(),
                 QDateTime(adesso.date(), QTime(0, 0)));
        QCOMPARE(letture.count(), 1); // one read: none while the window set its own controls
        QCOMPARE(Colonna(*w, kColVat), QStringList{u"00000000005"_s});
    }

    // A list that cannot be written stops ANALIZZA before the list check.
    void analizzaSenzaLista()
    {
        QVERIFY(QDir().mkpath(m_sessione->dirTemp + u"ListaVAT.txt"_s));
        auto w = Apri();
        Scegli(*w, u"cbStato"_s, 2);
        QSignalSpy controlli(w.get(), &EleVATok::ControllaElenco);
        Controllo<QPushButton>(*w, u"CmdR(0)"_s)->click();
        QCOMPARE(controlli.count(), 0);
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QVERIFY(m_dialoghi->Messaggi().first().testo.startsWith(u"IMPOSSIBILE SCRIVERE IL FILE"_s));
        QCOMPARE(Controllo<QComboBox>(*w, u"Combo1"_s)->currentIndex(), 0);
    }

    // The work table, its CSV of the visible columns, the consultation number among them.
    void tabellaLavoroECsv()
    {
        Inserisci(u"AT00000000009"_s, 0, u"2009-01-01 00:00:00"_s, u"WKPartiteIVA"_s);
        m_sessione->pathExcel = {u"/bin/true"_s, {}};
        m_sessione->impostazioni.Scrivi(Chiavi::LayOut(), u"SSNNNNNNNS"_s);
        auto w = Apri(TabellaSfogliata::Lavoro);
        QCOMPARE(w->SqlFiltro(), u"Select * FROM WkPartiteIVA"_s);
        Controllo<QPushButton>(*w, u"CmdR(1)"_s)->click();
        QFile csv(m_sessione->dirTemp + u"EXPWkPartiteIVA.csv"_s);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), "N.;VAT;CONSULTAZIONE;\r\nAT;00000000009;;\r\n"_ba);
    }

    // The grid fills the window but for 20 twips; a column's new width is kept when the drag ends,
    // without sorting; the window's place is kept when it closes.
    void dimensioni()
    {
        int larghezza = 0;
        {
            auto w = Apri();
            w->resize(700, 520);
            QTableView* g = Griglia(*w);
            QTRY_COMPARE(g->width(), w->width() - Pixel(*w, 20));
            QCOMPARE(g->height(), w->height() - g->y() - ScalaTwips(w->screen()).PixelY(20));
            QWidget* h = g->horizontalHeader()->viewport();
            const QPoint bordo(Bordo(*w, kColVat, true) - 1, 5);
            QTest::mousePress(h, Qt::LeftButton, {}, bordo);
            QTest::mouseMove(h, bordo + QPoint(30, 0));
            QTest::mouseRelease(h, Qt::LeftButton, {}, bordo + QPoint(30, 0));
            QVERIFY(w->SorgenteRecord().endsWith(u"Nazione ASC"_s));
            QSqlQuery q(m_sessione->database.Connessione());
            QVERIFY(q.exec(u"SELECT Col2 FROM LayOutCol WHERE Finestra = 'EleVATok'"_s) && q.next());
            QCOMPARE(q.value(0).toInt(),
                     ScalaTwips(w->screen()).Twips(QSize(g->columnWidth(kColVat), 0)).width());
            larghezza = ScalaTwips(w->screen()).Twips(w->frameGeometry()).width();
            w->close();
        }
        QCOMPARE(m_sessione->impostazioni.Leggi(Chiavi::DimX(u"EleVATok"_s)), QString::number(larghezza));
        QCOMPARE(m_sessione->impostazioni.Leggi(Chiavi::WState(u"EleVATok"_s)), u"0"_s);
        auto w = Apri();
        QVERIFY(Griglia(*w)->columnWidth(kColVat) > Pixel(*w, ColonneRisultati()[kColVat].larghezza) + 20);
    }
};

QTEST_MAIN(TestEleVATok)
#include "tst_EleVATok.moc"
