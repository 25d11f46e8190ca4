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
    std::unique_ptr<EleVATok> m_w;

    void Inserisci(const QString& codice, int ok, const QString& richiesta, const QString& tabella)
    {
        QVERIFY(m_sessione->database.Esegui(
            u"INSERT INTO %1 (Codice, Nazione, VAT, Denominazione, OK, DataRichiesta) VALUES (?, ?, ?, ?, ?, ?)"_s
                .arg(tabella),
            {codice, codice.left(2), codice.mid(2), QString(u"DITTA "_s + codice.mid(2)), ok, richiesta}));
    }
    EleVATok& Apri(TabellaSfogliata tabella = TabellaSfogliata::Risultati)
    {
        m_w.reset(); // the window saves its layout as it closes
        m_w = std::make_unique<EleVATok>(*m_sessione, tabella);
        if (!Mostra(*m_w))
            qFatal("window not shown");
        return *m_w;
    }
    template <typename T = QComboBox> T* C(const QString& nome) { return Controllo<T>(*m_w, nome); }
    QTableView* Griglia() { return C<QTableView>(u"TDBGrid1"_s); }
    QStringList Colonna(int colonna)
    {
        QStringList testi;
        for (int r = 0; r < Griglia()->model()->rowCount(); ++r)
            testi << Griglia()->model()->index(r, colonna).data().toString();
        return testi;
    }
    void Nazione(const QString& codice)
    {
        C(u"cbNazioni"_s)->setCurrentIndex(C(u"cbNazioni"_s)->findText(codice, Qt::MatchStartsWith));
    }
    // A release of `tasto` on the headings at `x` pixels from the left of the headings' band.
    void ClicIntestazione(int x, Qt::MouseButton tasto = Qt::LeftButton)
    {
        QTest::mouseClick(Griglia()->horizontalHeader()->viewport(), tasto, {}, QPoint(x, 5));
    }
    int Bordo(int colonna, bool destro)
    {
        const QHeaderView* h = Griglia()->horizontalHeader();
        return h->sectionViewportPosition(colonna) + (destro ? h->sectionSize(colonna) : 0);
    }
    int Pixel(int twips) { return ScalaTwips(m_w->screen()).PixelX(twips); }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_sessione = ApriSessione(m_cartella->Percorso(), ModoSessione::Finestre);
        m_dialoghi = DialoghiProva::Installa();
        for (const auto& [codice, ok, richiesta] :
             {std::tuple{u"IT00000000001"_s, 0, u"2008-12-20 10:00:00"_s},
              {u"IT00000000002"_s, 1, u"2008-12-13 00:00:00"_s},
              {u"FR00000000003"_s, 1, u"2008-12-14 15:30:00"_s},
              {u"DE00000000004"_s, 2, u"2008-12-12 09:00:00"_s},
              {u"IT00000000005"_s, 1, u"2008-12-01 08:00:00"_s}})
            Inserisci(codice, ok, richiesta, u"PartiteIVA"_s);
    }
    void cleanup()
    {
        m_w.reset();
        m_sessione.reset();
        m_cartella.reset();
    }

    // Loading sets the controls without reading a row; the first show reads them once. Then the
    // example of the filter text, and any filter change returning to the first column.
    void filtri()
    {
        m_w = std::make_unique<EleVATok>(*m_sessione, TabellaSfogliata::Risultati);
        QCOMPARE(C<QDateTimeEdit>(u"DTPicker1"_s)->dateTime(), QDateTime(QDate(2008, 12, 13), QTime(0, 0)));
        QCOMPARE(C<QLabel>(u"lbToolTip"_s)->text(), u" Ordinamento: Click SINISTRO =  crescente\n"_s +
                                                        QString(24, u' ') +
                                                        u"Click  DESTRO  = decrescente "_s);
        QSignalSpy letture(Griglia()->model(), &QAbstractItemModel::modelReset);
        QCOMPARE(Griglia()->model()->rowCount(), 0);
        QVERIFY(Mostra(*m_w));
        QCOMPARE(letture.count(), 1);
        QCOMPARE(C<QLabel>(u"lbNUmRec"_s)->text(), u"Totale = 5"_s);

        C(u"cbStato"_s)->setCurrentIndex(2);
        Nazione(u"IT - "_s);
        C(u"Combo1"_s)->setCurrentIndex(2);
        QCOMPARE(m_w->SorgenteRecord(), u"Select * FROM PartiteIVA WHERE OK = 1 AND Nazione = 'IT' AND "
                                        u"DataRichiesta >= 39795 ORDER BY Nazione ASC"_s);
        QCOMPARE(Colonna(kColVat), QStringList{u"00000000002"_s});
        ClicIntestazione(Bordo(kColDenominazione, false) + Pixel(500), Qt::RightButton);
        QVERIFY(m_w->SorgenteRecord().endsWith(u"ORDER BY Denominazione DESC, Nazione, VAT"_s));
        C(u"Combo1"_s)->setCurrentIndex(1); // before the day: everything up to its midnight
        QCOMPARE(m_w->SorgenteRecord(), u"Select * FROM PartiteIVA WHERE OK = 1 AND Nazione = 'IT' AND "
                                        u"DataRichiesta <= 39795 ORDER BY Nazione ASC"_s);
        QCOMPARE(Colonna(kColDataRichiesta), (QStringList{u"13/12/2008"_s, u"01/12/2008 08.00.00"_s}));
        C(u"cbNazioni"_s)->setCurrentIndex(0); // the blank country adds nothing
        QCOMPARE(m_w->SqlFiltro(), u"Select * FROM PartiteIVA WHERE OK = 1 AND DataRichiesta <= 39795"_s);
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
        Apri();
        Griglia()->scrollTo(Griglia()->model()->index(0, colonna));
        ClicIntestazione(Bordo(colonna, destro) + (destro ? -1 : 1) * Pixel(distanza), tasto);
        QCOMPARE(m_w->SorgenteRecord(),
                 u"Select * FROM PartiteIVA ORDER BY "_s + (ordine.isEmpty() ? u"Nazione ASC"_s : ordine));
        if (colonna == kColOk && !ordine.isEmpty())
            QCOMPARE(Colonna(kColOk), (QStringList{u"C"_s, u"E"_s, u"E"_s, u"E"_s, u" "_s}));
    }

    // The sort hint: over the headings only within 300 twips of the grid's top, kept inside the window.
    void suggerimento()
    {
        Apri();
        QHeaderView* h = Griglia()->horizontalHeader();
        const int banda = ScalaTwips(m_w->screen()).PixelY(300) - h->mapTo(Griglia(), QPoint()).y();
        h->setFixedHeight(2 * banda); // taller headings than the band
        auto* box = C<QFrame>(u"pctToolTip"_s);
        QTest::mouseMove(h->viewport(), QPoint(40, banda - 1));
        QVERIFY(box->isVisible());
        QCOMPARE(box->x(), h->viewport()->mapTo(m_w.get(), QPoint(40, 0)).x());
        QTest::mouseMove(h->viewport(), QPoint(40, banda));
        QVERIFY(!box->isVisible());
        QTest::mouseMove(h->viewport(), QPoint(h->viewport()->width() - 2, 2));
        QCOMPARE(box->geometry().right(), m_w->width() - 1);
        QTest::mouseMove(Griglia()->viewport(), QPoint(40, 5));
        QVERIFY(!box->isVisible());
    }

    // ANALIZZA for the not existing and the ceased, the CSV with a spreadsheet; neither without rows.
    void pulsanti()
    {
        Apri();
        for (const int stato : {3, 2, 1, 0}) {
            m_sessione->pathExcel = {stato % 2 ? QString() : u"/bin/true"_s, {}};
            C(u"cbStato"_s)->setCurrentIndex(stato);
            QCOMPARE(C<QPushButton>(u"CmdR(0)"_s)->isEnabled(), stato >= 2);
            QCOMPARE(C<QPushButton>(u"CmdR(1)"_s)->isEnabled(), stato % 2 == 0);
        }
        Nazione(u"MT"_s);
        QVERIFY(C<QLabel>(u"lbNUmRec"_s)->text().isEmpty());
        QVERIFY(!C<QPushButton>(u"CmdR(0)"_s)->isEnabled() && !C<QPushButton>(u"CmdR(1)"_s)->isEnabled());
    }

    // The visible columns: kept as S and N, so leading hidden columns keep their place; the CSV
    // holds them alone, here of the work table.
    void layOut()
    {
        Apri();
        m_w->findChild<QAction*>(u"Mu_layout"_s)->trigger();
        auto* lista = C<QListWidget>(u"lstLayOut"_s);
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(lista->item(1)).center());
        lista->setCurrentRow(9);
        QTest::keyClick(lista, Qt::Key_Space);
        C<QPushButton>(u"cmgLayOut(1)"_s)->click();
        QVERIFY(Griglia()->isColumnHidden(kColVat) && !Griglia()->isColumnHidden(kColConsultazione));
        m_w.reset();
        QCOMPARE(m_sessione->impostazioni.Leggi(Chiavi::LayOut()), u"SNSSSSSSSS"_s);

        m_sessione->impostazioni.Scrivi(Chiavi::LayOut(), u"NSx"_s); // short: the rest hidden
        m_sessione->pathExcel = {u"/bin/true"_s, {}};
        Inserisci(u"AT00000000009"_s, 0, u"2009-01-01 00:00:00"_s, u"WKPartiteIVA"_s);
        Apri(TabellaSfogliata::Lavoro);
        QCOMPARE(m_w->SqlFiltro(), u"Select * FROM WkPartiteIVA"_s);
        QList<bool> nascoste;
        for (int i = 0; i < kColonneRisultati; ++i)
            nascoste << Griglia()->isColumnHidden(i);
        QCOMPARE(nascoste, (QList<bool>{true, false, true, true, true, true, true, true, true, true}));
        QCOMPARE(C<QListWidget>(u"lstLayOut"_s)->item(2)->text(), u"   VALIDITA'"_s);
        C<QPushButton>(u"CmdR(1)"_s)->click();
        QFile csv(m_sessione->dirTemp + u"EXPWkPartiteIVA.csv"_s);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), "VAT;\r\n00000000009;\r\n"_ba);
    }

    // Each row on the colour of its validity. The colour window opens where it should; a click on a
    // label picks its colour (black or a cancelled dialog: none), saved when confirmed.
    void colori()
    {
        Apri();
        QTableView* g = Griglia();
        const auto sfondo = [g](int riga) {
            const QRect cella = g->visualRect(g->model()->index(riga, kColIndirizzo));
            return g->viewport()->grab().toImage().pixelColor(cella.center());
        };
        for (int r = 0; r < g->model()->rowCount(); ++r) {
            const QString es = g->model()->index(r, kColOk).data().toString();
            QCOMPARE(sfondo(r), ColoreQt(m_sessione->colori[es == u"E"_s ? 1 : es == u"C"_s ? 2 : 0]));
        }
        ClicIntestazione(Bordo(kColVat, false) + Pixel(500));
        m_w->findChild<QAction*>(u"Mu_Colori"_s)->trigger();
        auto* finestra = m_w->findChild<QDialog*>(u"ColorTdbg"_s);
        QVERIFY(finestra && finestra->isVisible());
        QCOMPARE(finestra->windowTitle(), u" Colori validità partite IVA"_s);
        const ScalaTwips scala(m_w->screen());
        QCOMPARE(finestra->frameGeometry().topLeft(),
                 scala.Pixel(scala.Twips(m_w->frameGeometry()).topLeft() + QPoint(100, 680)));
        auto* cessate = Controllo<QLabel>(*finestra, u"lbColor(2)"_s);
        QCOMPARE(cessate->text(), u"CESSATE"_s);
        QVERIFY(Controllo<QLabel>(*finestra, u"lbColor(3)"_s)->isHidden());
        for (const std::optional<ColoreRgb> colore : {std::optional<ColoreRgb>(0x000000FF), {0}, {}}) {
            m_dialoghi->ProssimoColore(colore);
            QTest::mouseClick(cessate, Qt::LeftButton);
        }
        Controllo<QPushButton>(*finestra, u"Command1(1)"_s)->click();
        QVERIFY(m_w->SorgenteRecord().endsWith(u"ORDER BY Nazione ASC"_s)); // activated again
        QCOMPARE(g->model()->index(0, kColNazione).data().toString(), u"DE"_s);
        QCOMPARE(sfondo(0), QColor(Qt::red));
        QCOMPARE(m_sessione->impostazioni.Leggi(Chiavi::Colore(2)), u"255"_s);
    }

    // ANALIZZA after noon: the numbers shown go to the list check, then today's answers show; a list
    // that cannot be written stops it before the list check.
    void analizza()
    {
        const QDateTime adesso(QDate::currentDate(), QTime(15, 0));
        Apri().ImpostaAdesso([adesso] { return adesso; });
        C(u"cbStato"_s)->setCurrentIndex(2);
        QSignalSpy letture(Griglia()->model(), &QAbstractItemModel::modelReset);
        QString lista;
        int elenchi = 0;
        connect(m_w.get(), &EleVATok::ControllaElenco, this, [&](const QString& file) {
            ++elenchi;
            QFile f(file);
            lista = f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
            // The list check answers one of them again, this morning.
            m_sessione->database.Esegui(
                u"UPDATE PartiteIVA SET DataRichiesta = ? WHERE Codice = 'IT00000000005'"_s,
                {adesso.date().toString(u"yyyy-MM-dd 09:00:00"_s)});
        });
        C<QPushButton>(u"CmdR(0)"_s)->click();
        QCOMPARE(lista, u"FR00000000003\r\nIT00000000002\r\nIT00000000005\r\n"_s);
        QCOMPARE(C(u"Combo1"_s)->currentText(), u"Dal  "_s);
        QCOMPARE(C<QDateTimeEdit>(u"DTPicker1"_s)->dateTime(), QDateTime(adesso.date(), QTime(0, 0)));
        QCOMPARE(letture.count(), 1); // one read: none while the window set its own controls
        QCOMPARE(Colonna(kColVat), QStringList{u"00000000005"_s});

        const QString file = m_sessione->dirTemp + u"ListaVAT.txt"_s;
        QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        C(u"Combo1"_s)->setCurrentIndex(0);
        C<QPushButton>(u"CmdR(0)"_s)->click();
        QCOMPARE(elenchi, 1);
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QVERIFY(m_dialoghi->Messaggi().first().testo.startsWith(u"IMPOSSIBILE SCRIVERE IL FILE"_s));
        QCOMPARE(C(u"Combo1"_s)->currentIndex(), 0);
    }

    // The grid fills the window but for 20 twips; a column's new width is kept, and the end of the drag
    // does not sort; the window's place is kept when it closes.
    void dimensioni()
    {
        Apri().resize(700, 520);
        const ScalaTwips scala(m_w->screen());
        QTableView* g = Griglia();
        QTRY_COMPARE(g->width(), m_w->width() - Pixel(20));
        QCOMPARE(g->height(), m_w->height() - g->y() - scala.PixelY(20));
        const QPoint bordo(Bordo(kColVat, true) - 1, 5);
        QTest::mousePress(g->horizontalHeader()->viewport(), Qt::LeftButton, {}, bordo);
        QTest::mouseMove(g->horizontalHeader()->viewport(), bordo + QPoint(30, 0));
        QTest::mouseRelease(g->horizontalHeader()->viewport(), Qt::LeftButton, {}, bordo + QPoint(30, 0));
        QVERIFY(m_w->SorgenteRecord().endsWith(u"Nazione ASC"_s));
        const int larghezza = scala.Twips(m_w->frameGeometry()).width();
        m_w->close();
        QCOMPARE(m_sessione->impostazioni.Leggi(Chiavi::DimX(u"EleVATok"_s)), QString::number(larghezza));
        Apri();
        QVERIFY(Griglia()->columnWidth(kColVat) > Pixel(ColonneRisultati()[kColVat].larghezza) + 20);
    }
};

QTEST_MAIN(TestEleVATok)
#include "tst_EleVATok.moc"
