#include "core/ChiaviIni.h"
#include "core/FrmPRT.h"
#include "core/ScalaTwips.h"
#include "core/SelPrint.h"
#include "core/StampaGriglia.h"
#include "core/StampanteCorrente.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QPrinter>
#include <QtWidgets>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestStampa : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void Apri(const QUrl& url) { m_aperti << url; }

private:
    std::unique_ptr<CartellaProva> m_cartella;
    QList<QUrl> m_aperti;

    // The four settings the print window confirms, as the file holds them.
    QStringList Confermate() const
    {
        QStringList valori;
        for (const QString& chiave : {u"STAMPANTE"_s, u"TIPO"_s, u"PREVIEW"_s, u"ZOOM"_s})
            valori << Impostazioni(m_cartella->File(u"tarvel.ini"_s)).Leggi(Chiavi::Stampa(chiave));
        return valori;
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_aperti.clear();
        DialoghiProva::Installa();
        QVERIFY(ImpostaStampanteCorrente(u"PDF"_s));
    }

    void stampaASullaGriglia()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the printed page");
        const QString pdf = m_cartella->File(u"griglia.pdf"_s);
        QVERIFY(ImpostaStampanteCorrente(u"PDF"_s, pdf));
        QVERIFY(IniziaStampa(m_cartella->Percorso()));
        StampaA(u"Dopo"_s, 20, 5, false); // printed first: what follows must not depend on it
        StampaA(u"Validità partita IVA: "_s, 3, 3, false);
        StampaA(u"IT-00743110157   "_s, 3, 28, true);
        StampaA(u"Denominazione"_s, 13, 28, false);
        FineStampa();

        // Where each word starts, in points from the page's top-left corner.
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
        QVERIFY(pdftotext.waitForFinished());
        static const QRegularExpression parola(
            uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]+)</word>)re"_s);
        QMap<QString, QPointF> p;
        for (const auto& m : parola.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())))
            p.insert(m.captured(3), {m.captured(1).toDouble(), m.captured(2).toDouble()});
        QCOMPARE(p.keys(), (QStringList{u"Denominazione"_s, u"Dopo"_s, u"IT-00743110157"_s, u"IVA:"_s,
                                        u"Validità"_s, u"partita"_s}));
        // The cell, from words 25 columns and 10 rows apart: "H" of the 12-point fixed-pitch font.
        const QPointF cella((p[u"IT-00743110157"_s].x() - p[u"Validità"_s].x()) / 25,
                            (p[u"Denominazione"_s].y() - p[u"IT-00743110157"_s].y()) / 10);
        const QFontMetricsF h(CarattereFisso(12), &StampanteCorrente());
        const QPointF atteso =
            QPointF(h.horizontalAdvance(u'H'), h.height()) * 72 / StampanteCorrente().resolution();
        QVERIFY2(qAbs(cella.x() / atteso.x() - 1) < 0.02 && qAbs(cella.y() / atteso.y() - 1) < 0.02 &&
                     cella.x() > 6.5 && cella.x() < 8,
                 qPrintable(u"%1 x %2"_s.arg(cella.x()).arg(cella.y())));
        const QPointF origine = StampanteCorrente().pageLayout().paintRect(QPageLayout::Point).topLeft();
        for (const auto& [testo, colonna, riga] : {std::tuple(u"Validità"_s, 3, 3),
                                                   {u"IT-00743110157"_s, 28, 3},
                                                   {u"Denominazione"_s, 28, 13},
                                                   {u"Dopo"_s, 5, 20}}) {
            const QPointF cellaParola = p.value(testo) - origine;
            QVERIFY2(qAbs(cellaParola.x() / cella.x() - colonna) < 0.1 &&
                         qAbs(cellaParola.y() / cella.y() - riga) < 0.1,
                     qPrintable(testo));
        }
    }

    // On "PDF" every print is a file: the one chosen for the printer, else one named after what is
    // printed (or the time) in the folder given; it goes to the system's viewer. A file that cannot
    // be written prints nothing, silently.
    void filePdf_data()
    {
        QTest::addColumn<QString>("scelto");
        QTest::addColumn<QString>("documento");
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<QString>("atteso"); // pattern of the file written, in the program folder
        QTest::newRow("chosen file") << u"scelto.pdf"_s << u"IT_1_esito"_s << u"TempFile"_s
                                     << u"scelto\\.pdf"_s;
        QTest::newRow("named after the document")
            << QString() << u"IT_1_esito"_s << u"TempFile"_s << u"TempFile/IT_1_esito\\.pdf"_s;
        QTest::newRow("no document: the time")
            << QString() << QString() << u"TempFile"_s << u"TempFile/Stampa_\\d{8}_\\d{6}\\.pdf"_s;
        QTest::newRow("stays in its folder")
            << QString() << u"../a:b"_s << u"TempFile"_s << u"TempFile/\\.\\._a_b\\.pdf"_s;
        QTest::newRow("folder cannot be made")
            << QString() << u"IT_1_esito"_s << u"bloccata/TempFile"_s << QString();
    }
    void filePdf()
    {
        QFETCH(QString, scelto);
        QFETCH(QString, documento);
        QFETCH(QString, cartella);
        QFETCH(QString, atteso);
        QFile bloccata(m_cartella->File(u"bloccata"_s)); // a file where the folder would go
        QVERIFY(bloccata.open(QIODevice::WriteOnly));
        bloccata.close();
        QVERIFY(ImpostaStampanteCorrente(u"PDF"_s, scelto.isEmpty() ? QString() : m_cartella->File(scelto)));
        QDesktopServices::setUrlHandler(u"file"_s, this, "Apri");
        if (IniziaStampa(m_cartella->File(cartella), documento)) {
            StampaA(u"Validità"_s, 3, 3, false);
            FineStampa();
        }
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QStringList scritti;
        QDirIterator file(m_cartella->Percorso(), {u"*.pdf"_s}, QDir::Files | QDir::Hidden,
                          QDirIterator::Subdirectories);
        while (file.hasNext())
            scritti << QDir(m_cartella->Percorso()).relativeFilePath(file.next());
        if (atteso.isEmpty()) {
            QVERIFY(scritti.isEmpty() && m_aperti.isEmpty());
            return;
        }
        QCOMPARE(scritti.size(), 1);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(atteso)).match(scritti[0]).hasMatch(),
                 qPrintable(scritti[0]));
        QCOMPARE(m_aperti, QList{QUrl::fromLocalFile(m_cartella->File(scritti[0]))});
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
        // Pulled back to end at the right screen edge; the list of every printer sits above the buttons.
        QCOMPARE(finestra.frameGeometry().right(), finestra.screen()->geometry().right());
        QCOMPARE(finestra.y(), scala.PixelY(600));
        auto* frame = Controllo<QGroupBox>(finestra, u"Frame1"_s);
        const auto opzioni = frame->findChildren<QRadioButton*>();
        QCOMPARE(opzioni.size(), ElencoStampanti().size());
        QVERIFY(frame->rect().contains(opzioni.last()->geometry()));
        QVERIFY(frame->geometry().bottom() < Controllo<QPushButton>(finestra, u"Command1(0)"_s)->y());
        QCOMPARE(std::any_of(opzioni.begin(), opzioni.end(), [](auto* o) { return o->isChecked(); }),
                 selezionata);
        CliccaSegno(Controllo<QAbstractButton>(finestra, pulsante));
        QVERIFY(!finestra.isVisible());
        QCOMPARE(finestra.pgPrinter(), attesa);
    }

    void frmPRTScelte() // the first print window of the run: nothing confirmed yet
    {
        {
            FrmPRT finestra(m_cartella->Ini());
            QVERIFY(Mostra(finestra));
            auto* tipo = Controllo<QComboBox>(finestra, u"Combo1"_s);
            auto* anteprima = Controllo<QGroupBox>(finestra, u"Frame1"_s);
            QCOMPARE(tipo->currentIndex(), -1);
            QCOMPARE(Controllo<QComboBox>(finestra, u"cmbZoom"_s)->currentText(), u" 100%"_s);
            QVERIFY(Controllo<QRadioButton>(finestra, u"Option1(0)"_s)->isChecked() &&
                    anteprima->isVisible());
            tipo->setCurrentIndex(1);
            QVERIFY(!anteprima->isVisible());
            tipo->setCurrentIndex(2);
            QVERIFY(anteprima->isVisible());
            CliccaSegno(Controllo<QRadioButton>(finestra, u"Option1(7)"_s));
            Controllo<QComboBox>(finestra, u"cmbZoom"_s)->setCurrentIndex(4);
            QTest::mouseClick(Controllo<QPushButton>(finestra, u"cmds_SI"_s), Qt::LeftButton);
            QCOMPARE(finestra.result(), int(QDialog::Accepted));
        }
        const QStringList confermate{u"PDF"_s, u"V"_s, u"7"_s, u"4"_s};
        QCOMPARE(Confermate(), confermate);

        // The next opening preselects the confirmed choices; "&USCITA" (F2) keeps them all.
        FrmPRT finestra(m_cartella->Ini());
        QVERIFY(Mostra(finestra));
        QCOMPARE(Controllo<QComboBox>(finestra, u"Combo1"_s)->currentIndex(), 2);
        QVERIFY(Controllo<QRadioButton>(finestra, u"Option1(7)"_s)->isChecked());
        QCOMPARE(Controllo<QComboBox>(finestra, u"cmbZoom"_s)->currentIndex(), 4);
        Controllo<QComboBox>(finestra, u"Combo1"_s)->setCurrentIndex(0);
        QTest::keyClick(&finestra, Qt::Key_F2);
        QVERIFY(!finestra.isVisible() && finestra.result() == QDialog::Rejected);
        QCOMPARE(Confermate(), confermate);
        QCOMPARE(Controllo<QComboBox>(FrmPRT(m_cartella->Ini()), u"Combo1"_s)->currentIndex(), 2);
    }

    void frmPRTStampante()
    {
        DialoghiProva* dialoghi = DialoghiProva::Installa();
        FrmPRT finestra(m_cartella->Ini());
        finestra.plTopForm(u"1500"_s);
        finestra.plLeftForm(u"750"_s);
        QVERIFY(Mostra(finestra));
        QCOMPARE(finestra.pos(), ScalaTwips(finestra.screen()).Pixel(QPoint(750, 1500)));

        // "&MODIFICA": an unknown printer (or a cancelled dialog) changes nothing.
        auto* testo = Controllo<QLineEdit>(finestra, u"Text1"_s);
        testo->setText(u"a mano"_s);
        dialoghi->ProssimaStampante(u"Nessuna stampante così"_s);
        QTest::mouseClick(Controllo<QPushButton>(finestra, u"Command1"_s), Qt::LeftButton);
        QVERIFY(testo->text() == u"a mano"_s && NomeStampanteCorrente() == u"PDF"_s);

        // F4 lists the printers beside the window; a cancel there empties the box.
        QTest::keyClick(testo, Qt::Key_F4);
        auto* scelta = finestra.findChild<SelPrint*>();
        QVERIFY(scelta && scelta->isVisible());
        QCOMPARE(scelta->windowTitle(), u"STAMPANTE PREDEFINITA"_s);
        QVERIFY(scelta->y() == finestra.y() && scelta->x() > finestra.frameGeometry().right());
        QTest::mouseClick(Controllo<QPushButton>(*scelta, u"Command1(1)"_s), Qt::LeftButton);
        QCOMPARE(testo->text(), QString());
    }
};

QTEST_MAIN(TestStampa)
#include "tst_Stampa.moc"
