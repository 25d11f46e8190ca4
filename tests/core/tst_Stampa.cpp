#include "app/Globali.h"
#include "core/CartellaProgramma.h"
#include "core/FileIni.h"
#include "core/ScalaTwips.h"
#include "results/FrmPRT.h"
#include "results/SelPrint.h"
#include "results/StampaGriglia.h"
#include "results/StampanteCorrente.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Where each word of a PDF starts, in points from the page's top-left corner.
QMap<QString, QPointF> Parole(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    pdftotext.waitForFinished();
    static const QRegularExpression parola(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]+)</word>)re"_s);
    QMap<QString, QPointF> parole;
    for (const auto& m : parola.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())))
        parole.insert(m.captured(3), {m.captured(1).toDouble(), m.captured(2).toDouble()});
    return parole;
}

} // namespace

class TestStampa : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ImpostaCartellaProgramma(m_dir->path());
        gFileIni = m_dir->filePath(u"tarvel.ini"_s);
        DialoghiProva::Installa();
        QVERIFY(ImpostaStampanteCorrente(u"PDF"_s));
    }

    void stampanteCorrente()
    {
        QCOMPARE(ElencoStampanti(), QPrinterInfo::availablePrinterNames() << u"PDF"_s);
        QVERIFY(StampanteCorrentePdf());
        QVERIFY(!ImpostaStampanteCorrente(u"Nessuna stampante così"_s));
        QCOMPARE(NomeStampanteCorrente(), u"PDF"_s);
    }

    void stampaASullaGriglia()
    {
        const QString pdf = m_dir->filePath(u"griglia.pdf"_s);
        StampanteCorrente().setOutputFileName(pdf);
        QVERIFY(IniziaStampa());
        StampaA(u"Dopo"_s, 20, 5, false); // printed first: what follows must not depend on it
        StampaA(u"Validità partita IVA: "_s, 3, 3, false);
        StampaA(u"IT-00743110157   "_s, 3, 28, true);
        StampaA(u"Denominazione"_s, 13, 28, false);
        FineStampa();
        StampanteCorrente().setOutputFileName(QString());

        const QMap<QString, QPointF> parole = Parole(pdf);
        const double punti = 72.0 / StampanteCorrente().resolution();
        const QPointF cella(gLargCar * punti, gAltRiga * punti);
        QVERIFY(cella.x() > 6.5 && cella.x() < 8 && cella.y() > 12 && cella.y() < 16); // 12-point fixed pitch
        const QPointF origine = StampanteCorrente().pageLayout().paintRect(QPageLayout::Point).topLeft();
        const QList<std::tuple<QString, double, double>> attese = {{u"Validità"_s, 3, 3},
                                                                   {u"IT-00743110157"_s, 28, 3},
                                                                   {u"Denominazione"_s, 28, 13},
                                                                   {u"Dopo"_s, 5, 20}};
        for (const auto& [parola, colonna, riga] : attese) {
            QVERIFY2(parole.contains(parola), qPrintable(parola));
            const QPointF p = parole.value(parola) - origine;
            QVERIFY2(qAbs(p.x() / cella.x() - colonna) < 0.1 && qAbs(p.y() / cella.y() - riga) < 0.1,
                     qPrintable(parola));
        }
    }

    void selPrint_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<bool>("selezionata");
        QTest::addColumn<QString>("attesa");
        QTest::newRow("printer in use") << QString() << u"Command1(0)"_s << true << u"PDF"_s;
        QTest::newRow("unknown name kept") << u"Altrove"_s << u"Command1(0)"_s << false << u"Altrove"_s;
        QTest::newRow("cancelled") << QString() << u"Command1(1)"_s << true << QString();
        QTest::newRow("picked") << u"Altrove"_s << u"Option1(0)"_s << false << ElencoStampanti().first();
    }
    void selPrint()
    {
        QFETCH(QString, richiesta);
        QFETCH(QString, pulsante);
        QFETCH(bool, selezionata);
        QFETCH(QString, attesa);
        SelPrint finestra;
        const ScalaTwips scala(finestra.screen());
        finestra.plPrinter(richiesta);
        finestra.plTopForm(600);
        finestra.plLeftForm(std::int16_t(scala.Twips(finestra.screen()->geometry().size()).width() - 1000));
        QVERIFY(Mostra(finestra)); // preselecting is no click: the window stays
        // Pulled back to end at the right screen edge; the list sits above the buttons.
        QCOMPARE(finestra.frameGeometry().right(), finestra.screen()->geometry().right());
        QCOMPARE(finestra.y(), scala.PixelY(600));
        auto* frame = Controllo<QGroupBox>(finestra, u"Frame1"_s);
        const auto opzioni = frame->findChildren<QRadioButton*>();
        QVERIFY(frame->rect().contains(opzioni.last()->geometry()));
        QVERIFY(frame->geometry().bottom() < Controllo<QPushButton>(finestra, u"Command1(0)"_s)->y());
        QCOMPARE(std::any_of(opzioni.begin(), opzioni.end(), [](auto* o) { return o->isChecked(); }),
                 selezionata);

        CliccaSegno(Controllo<QAbstractButton>(finestra, pulsante));
        QVERIFY(!finestra.isVisible());
        QCOMPARE(finestra.pgPrinter(), attesa);
    }

    void frmPRTScelte()
    {
        gTipoStampa.clear();
        gPaginaAnteprima = 0;
        gZoomAnteprima = 0;
        {
            FrmPRT finestra;
            QVERIFY(Mostra(finestra));
            auto* tipo = Controllo<QComboBox>(finestra, u"Combo1"_s);
            auto* anteprima = Controllo<QGroupBox>(finestra, u"Frame1"_s);
            QCOMPARE(tipo->currentIndex(), -1);
            QCOMPARE(Controllo<QComboBox>(finestra, u"cmbZoom"_s)->currentText(), u" 100%"_s);
            QVERIFY(Controllo<QRadioButton>(finestra, u"Option1(0)"_s)->isChecked());
            QVERIFY(anteprima->isVisible());
            tipo->setCurrentIndex(1);
            QVERIFY(!anteprima->isVisible());
            tipo->setCurrentIndex(2);
            QVERIFY(anteprima->isVisible());
            CliccaSegno(Controllo<QRadioButton>(finestra, u"Option1(7)"_s));
            Controllo<QComboBox>(finestra, u"cmbZoom"_s)->setCurrentIndex(4);
            QTest::mouseClick(Controllo<QPushButton>(finestra, u"cmds_SI"_s), Qt::LeftButton);
        }
        QStringList scritte;
        for (const QString& chiave : {u"STAMPANTE"_s, u"TIPO"_s, u"PREVIEW"_s, u"ZOOM"_s})
            scritte << LeggiIni(gFileIni, u"STAMPA"_s, chiave);
        QCOMPARE(scritte, (QStringList{u"PDF"_s, u"V"_s, u"7"_s, u"4"_s}));

        FrmPRT finestra;
        QVERIFY(Mostra(finestra));
        QCOMPARE(Controllo<QComboBox>(finestra, u"Combo1"_s)->currentIndex(), 2);
        QVERIFY(Controllo<QRadioButton>(finestra, u"Option1(7)"_s)->isChecked());
        QCOMPARE(Controllo<QComboBox>(finestra, u"cmbZoom"_s)->currentIndex(), 4);
        Controllo<QComboBox>(finestra, u"Combo1"_s)->setCurrentIndex(0);
        QTest::keyClick(&finestra, Qt::Key_F2); // "&USCITA" stores nothing
        QVERIFY(!finestra.isVisible());
        QCOMPARE(gTipoStampa, u"V"_s);
        QCOMPARE(LeggiIni(gFileIni, u"STAMPA"_s, u"TIPO"_s), u"V"_s);
    }

    void frmPRTStampante()
    {
        DialoghiProva* dialoghi = DialoghiProva::Installa();
        FrmPRT finestra;
        finestra.plTopForm(u"1500"_s);
        finestra.plLeftForm(u"750"_s);
        QVERIFY(Mostra(finestra));
        QCOMPARE(finestra.pos(), ScalaTwips(finestra.screen()).Pixel(QPoint(750, 1500)));

        auto* testo = Controllo<QLineEdit>(finestra, u"Text1"_s);
        auto* modifica = Controllo<QPushButton>(finestra, u"Command1"_s);
        testo->setText(u"a mano"_s);
        QTest::mouseClick(modifica, Qt::LeftButton); // printer dialog cancelled
        QCOMPARE(testo->text(), u"a mano"_s);
        dialoghi->ProssimaStampante(u"PDF"_s);
        QTest::mouseClick(modifica, Qt::LeftButton);
        QCOMPARE(testo->text(), u"PDF"_s);

        // F4 lists the printers beside the window; a cancel there empties the box.
        QTest::keyClick(testo, Qt::Key_F4);
        auto* scelta = finestra.findChild<SelPrint*>();
        QVERIFY(scelta && scelta->isVisible());
        QCOMPARE(scelta->windowTitle(), u"STAMPANTE PREDEFINITA"_s);
        QCOMPARE(scelta->y(), finestra.y());
        QVERIFY(scelta->x() > finestra.frameGeometry().right());
        QTest::mouseClick(Controllo<QPushButton>(*scelta, u"Command1(1)"_s), Qt::LeftButton);
        QCOMPARE(testo->text(), QString());
    }
};

QTEST_MAIN(TestStampa)
#include "tst_Stampa.moc"
