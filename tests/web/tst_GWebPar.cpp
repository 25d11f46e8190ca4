#include "app/Globali.h"
#include "core/CartellaProgramma.h"
#include "core/ScalaTwips.h"
#include "results/FrmPRT.h"
#include "results/StampanteCorrente.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"
#include "web/GWebPar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QCheckBox* Check(const QWidget& finestra, int k)
{
    return Controllo<QCheckBox>(finestra, u"Check1(%1)"_s.arg(k));
}

// The ticks of Check1 0..2, then which of frmIEskede, frmPrint (with chkChiedi) and frmPath show: "110 110".
QString Stato(const GWebPar& finestra)
{
    QString stato;
    for (int k = 0; k < 3; ++k)
        stato += Check(finestra, k)->isChecked() ? u'1' : u'0';
    stato += u' ';
    for (const QString& nome : {u"frmIEskede"_s, u"frmPrint"_s, u"frmPath"_s})
        stato += Controllo<QWidget>(finestra, nome)->isVisible() ? u'1' : u'0';
    if (Controllo<QWidget>(finestra, u"chkChiedi"_s)->isVisible() != (stato.at(5) == u'1'))
        stato += u'!';
    return stato;
}

} // namespace

class TestGWebPar : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    DialoghiProva* m_dialoghi = nullptr;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ImpostaCartellaProgramma(m_dir->path());
        gFileIni = m_dir->filePath(u"tarvel.ini"_s);
        gParametriWeb = {};
        gTipoWeb = 1;
        m_dialoghi = DialoghiProva::Installa();
        ImpostaStampanteCorrente(u"PDF"_s);
    }

    void regoleDeiClic_data()
    {
        QTest::addColumn<QString>("salvati"); // View, Print, Save of the use
        QTest::addColumn<QList<int>>("clic");
        QTest::addColumn<QString>("stato");
        QTest::newRow("nothing set") << u"000"_s << QList<int>{} << u"000 000"_s;
        QTest::newRow("print and save stored: save wins") << u"111"_s << QList<int>{} << u"101 101"_s;
        QTest::newRow("print then save") << u"000"_s << QList<int>{1, 2} << u"001 001"_s;
        QTest::newRow("save then print") << u"000"_s << QList<int>{2, 1} << u"010 010"_s;
        QTest::newRow("view with either") << u"100"_s << QList<int>{1, 2} << u"101 101"_s;
        QTest::newRow("print off") << u"010"_s << QList<int>{1} << u"000 000"_s;
    }
    void regoleDeiClic()
    {
        QFETCH(QString, salvati);
        QFETCH(QList<int>, clic);
        QFETCH(QString, stato);
        gParametriWeb.View[1] = std::int16_t(salvati[0] == u'1');
        gParametriWeb.Print[1] = std::int16_t(salvati[1] == u'1');
        gParametriWeb.Save[1] = std::int16_t(salvati[2] == u'1');
        GWebPar finestra;
        QVERIFY(Mostra(finestra));
        QVERIFY(Controllo<QRadioButton>(finestra, u"optSkede(0)"_s)->isChecked());
        for (int k : clic)
            CliccaSegno(Check(finestra, k));
        QCOMPARE(Stato(finestra), stato);
    }

    void cartellaEConferma_data()
    {
        QTest::addColumn<int>("uso");
        QTest::addColumn<QString>("scelta"); // "" cancels the folder picker
        QTest::addColumn<QString>("cartella");
        QTest::newRow("single check takes the list's folder") << 1 << QString() << u"/dati/elenco"_s;
        QTest::newRow("list check takes the single's folder") << 2 << QString() << u"/dati/singola"_s;
        QTest::newRow("database list has none") << 0 << QString() << QString();
        QTest::newRow("folder picked") << 1 << u"/nuova"_s << u"/nuova"_s;
    }
    void cartellaEConferma()
    {
        QFETCH(int, uso);
        QFETCH(QString, scelta);
        QFETCH(QString, cartella);
        // Another use's keys, which confirming leaves alone.
        const QString altro = QString::number((uso + 1) % 3);
        const QStringList prima = {u"[WEBPARAM]"_s, u"View"_s + altro + u"=1"_s,
                                   u"DirSave"_s + altro + u"=/x"_s};
        QFile file(gFileIni);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(prima.join(u"\r\n"_s).toLatin1() + "\r\n");
        file.close();
        gTipoWeb = std::int16_t(uso);
        gParametriWeb.DirSave = {QString(), uso == 2 ? u"/dati/singola"_s : QString(), u"/dati/elenco"_s};
        gParametriWeb.DirSave[uso] = u"  "_s;
        gParametriWeb.Stampante[uso] = u"Laser ufficio"_s;

        GWebPar finestra;
        QVERIFY(Mostra(finestra));
        QCOMPARE(Controllo<QLabel>(finestra, u"Label1"_s)->text(), TitoloUso(uso));
        QCOMPARE(Controllo<QLabel>(finestra, u"lbPrinter"_s)->text(), u"Laser ufficio"_s);
        m_dialoghi->ProssimaCartella(scelta);
        QTest::mouseClick(Controllo<QLabel>(finestra, u"lbPath"_s), Qt::LeftButton);
        QCOMPARE(Controllo<QLabel>(finestra, u"lbPath"_s)->text().trimmed(), cartella);
        Controllo<QRadioButton>(finestra, u"optSkede(1)"_s)->setChecked(true);
        Check(finestra, 1)->setChecked(true);
        Controllo<QCheckBox>(finestra, u"chkChiedi"_s)->setChecked(true);
        QTest::mouseClick(Controllo<QPushButton>(finestra, u"Command1(1)"_s), Qt::LeftButton);
        QVERIFY(!finestra.isVisible());

        const QString n = QString::number(uso);
        const QStringList scritte = {u"IESkede=1"_s,
                                     u"View"_s + n + u"=0"_s,
                                     u"Save"_s + n + u"=0"_s,
                                     u"DirSave"_s + n + u'=' + cartella,
                                     u"Print"_s + n + u"=1"_s,
                                     u"ChPrt"_s + n + u"=1"_s,
                                     u"Stampante"_s + n + u"=Laser ufficio"_s};
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(file.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts), prima + scritte);
        QCOMPARE(gParametriWeb.Print[uso], 1);
        QCOMPARE(gParametriWeb.DirSave[uso], cartella);
    }

    void f2NonScrive()
    {
        GWebPar finestra;
        QVERIFY(Mostra(finestra));
        Check(finestra, 0)->setChecked(true);
        QTest::keyClick(Check(finestra, 0), Qt::Key_F2);
        QVERIFY(!finestra.isVisible());
        QCOMPARE(gParametriWeb.View[1], 0);
        QVERIFY(!QFile::exists(gFileIni));
    }

    void etichettaStampante()
    {
        gParametriWeb.Print[1] = 1;
        gParametriWeb.Stampante[1] = u"Laser ufficio"_s;
        GWebPar finestra;
        QVERIFY(Mostra(finestra));
        auto* stampante = Controllo<QLabel>(finestra, u"lbPrinter"_s);
        for (const QString& pulsante : {u"cmds_NO"_s, u"cmds_SI"_s}) {
            QTest::mouseClick(stampante, Qt::LeftButton);
            auto* opzioni = finestra.findChild<FrmPRT*>();
            QVERIFY(opzioni && opzioni->isVisible());
            QCOMPARE(opzioni->windowTitle(), u"INTERROGAZIONE SINGOLO ELEMENTO"_s);
            const ScalaTwips scala(finestra.screen());
            QCOMPARE(opzioni->pos(),
                     scala.Pixel(scala.Twips(finestra.frameGeometry()).topLeft() + QPoint(6000, 0)));
            QTest::mouseClick(Controllo<QPushButton>(*opzioni, pulsante), Qt::LeftButton);
            QTRY_VERIFY(!finestra.findChild<FrmPRT*>());
            // Leaving the options keeps the name; confirming them shows the printer in use.
            const QString attesa = pulsante == u"cmds_NO"_s ? u"Laser ufficio"_s : NomeStampanteCorrente();
            QCOMPARE(stampante->text(), attesa);
            QCOMPARE(gParametriWeb.Stampante[1], attesa);
        }
    }
};

QTEST_MAIN(TestGWebPar)
#include "tst_GWebPar.moc"
