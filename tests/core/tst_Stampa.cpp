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

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_aperti.clear();
        DialoghiProva::Installa();
        QVERIFY(ImpostaStampanteCorrente(u"PDF"_s));
    }

    // Each piece starts at its cell of the 12-point fixed-pitch font, whatever was printed before it.
    void stampaASullaGriglia()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the printed page");
        const QString pdf = m_cartella->File(u"griglia.pdf"_s);
        QVERIFY(ImpostaStampanteCorrente(u"PDF"_s, pdf));
        QVERIFY(IniziaStampa(m_cartella->Percorso()));
        StampaA(u"Dopo"_s, 20, 5, false);
        StampaA(u"Validità partita IVA: "_s, 3, 3, false);
        StampaA(u"IT-00743110157   "_s, 3, 28, true);
        StampaA(u"Denominazione"_s, 13, 28, false);
        FineStampa();

        // Where each word starts, in points from the page's top-left corner.
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
        QVERIFY(pdftotext.waitForFinished() && pdftotext.exitCode() == 0);
        static const QRegularExpression parola(
            uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]+)</word>)re"_s);
        QMap<QString, QPointF> p;
        for (const auto& m : parola.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())))
            p.insert(m.captured(3), {m.captured(1).toDouble(), m.captured(2).toDouble()});
        const QFontMetricsF h(CarattereFisso(12), &StampanteCorrente());
        const QPointF cella =
            QPointF(h.horizontalAdvance(u'H'), h.height()) * 72 / StampanteCorrente().resolution();
        QVERIFY2(cella.x() > 6.5 && cella.x() < 8, qPrintable(QString::number(cella.x())));
        const QPointF origine = StampanteCorrente().pageLayout().paintRect(QPageLayout::Point).topLeft();
        QStringList celle;
        double scarto = 0;
        for (auto w = p.cbegin(); w != p.cend(); ++w) {
            const QPointF c((w.value().x() - origine.x()) / cella.x(),
                            (w.value().y() - origine.y()) / cella.y());
            scarto = std::max({scarto, qAbs(c.x() - qRound(c.x())), qAbs(c.y() - qRound(c.y()))});
            celle << u"%1 %2,%3"_s.arg(w.key()).arg(qRound(c.x())).arg(qRound(c.y()));
        }
        QCOMPARE(celle, (QStringList{u"Denominazione 28,13"_s, u"Dopo 5,20"_s, u"IT-00743110157 28,3"_s,
                                     u"IVA: 20,3"_s, u"Validità 3,3"_s, u"partita 12,3"_s}));
        QVERIFY2(scarto < 0.1, qPrintable(QString::number(scarto)));
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
        QStringList scritti, aperti;
        QDirIterator file(m_cartella->Percorso(), {u"*.pdf"_s}, QDir::Files | QDir::Hidden,
                          QDirIterator::Subdirectories);
        while (file.hasNext())
            scritti << QDir(m_cartella->Percorso()).relativeFilePath(file.next());
        for (const QUrl& url : m_aperti)
            aperti << QDir(m_cartella->Percorso()).relativeFilePath(url.toLocalFile());
        QCOMPARE(aperti, scritti);
        const QRegularExpression modello(QRegularExpression::anchoredPattern(atteso));
        QVERIFY2(modello.match(scritti.join(u'|')).hasMatch(), qPrintable(scritti.join(u'|')));
    }

    // The print window: an unknown printer changes nothing; F4 lists the printers beside it, where
    // a pick fills the box and a cancel empties it; "&USCITA" (F2) writes none of the choices.
    void frmPRT()
    {
        DialoghiProva::Installa()->ProssimaStampante(u"Nessuna stampante così"_s);
        FrmPRT finestra(m_cartella->Ini());
        QVERIFY(Mostra(finestra));
        auto* testo = Controllo<QLineEdit>(finestra, u"Text1"_s);
        testo->setText(u"a mano"_s);
        QTest::mouseClick(Controllo<QPushButton>(finestra, u"Command1"_s), Qt::LeftButton);
        QVERIFY(testo->text() == u"a mano"_s && NomeStampanteCorrente() == u"PDF"_s);
        QStringList scelte;
        for (const QString& pulsante : {u"Option1(0)"_s, u"Command1(1)"_s}) {
            QTest::keyClick(testo, Qt::Key_F4);
            SelPrint* elenco = finestra.findChildren<SelPrint*>().value(scelte.size());
            QVERIFY(elenco && elenco->isVisible() && elenco->x() > finestra.frameGeometry().right());
            CliccaSegno(Controllo<QAbstractButton>(*elenco, pulsante));
            QTRY_VERIFY(!elenco->isVisible());
            scelte << testo->text();
        }
        QCOMPARE(scelte, (QStringList{ElencoStampanti().first(), QString()}));
        Controllo<QComboBox>(finestra, u"Combo1"_s)->setCurrentIndex(2);
        QTest::keyClick(&finestra, Qt::Key_F2);
        QVERIFY(!finestra.isVisible());
        QCOMPARE(m_cartella->Ini().Leggi(Chiavi::Stampa(u"TIPO"_s)), QString());
    }
};

QTEST_MAIN(TestStampa)
#include "tst_Stampa.moc"
