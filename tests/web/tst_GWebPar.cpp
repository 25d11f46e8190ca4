#include "core/FrmPRT.h"
#include "core/Impostazioni.h"
#include "core/StampanteCorrente.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"
#include "web/GWebPar.h"
#include "web/ParametriWeb.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

class TestGWebPar : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ParametriWeb m_parametri;
    DialoghiProva* m_dialoghi = nullptr;

    QString File() const { return m_dir.filePath(u"tarvel.ini"_s); }
    static QCheckBox* Check(const QWidget& finestra, int k)
    {
        return Controllo<QCheckBox>(finestra, u"Check1(%1)"_s.arg(k));
    }
    // The ticks of Check1 0..2, then which of frmIEskede, frmPrint (with chkChiedi) and frmPath show.
    static QString Stato(const GWebPar& finestra)
    {
        QString stato;
        for (int k = 0; k < 3; ++k)
            stato += Check(finestra, k)->isChecked() ? u'1' : u'0';
        stato += u' ';
        for (const QString& nome : {u"frmIEskede"_s, u"frmPrint"_s, u"frmPath"_s})
            stato += Controllo<QWidget>(finestra, nome)->isVisible() ? u'1' : u'0';
        return Controllo<QWidget>(finestra, u"chkChiedi"_s)->isVisible() == (stato[5] == u'1') ? stato
                                                                                               : u"!"_s;
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(File());
        m_parametri = {};
        m_dialoghi = DialoghiProva::Installa();
        ImpostaStampanteCorrente(u"PDF"_s);
    }

    // Printing and saving exclude each other; viewing goes with either.
    void regoleDeiClic_data()
    {
        QTest::addColumn<QString>("salvati"); // View, Print, Save of the use
        QTest::addColumn<QList<int>>("clic");
        QTest::addColumn<QString>("stato");
        QTest::newRow("print and save stored") << u"111"_s << QList<int>{} << u"101 101"_s;
        QTest::newRow("save then print") << u"000"_s << QList{2, 1} << u"010 010"_s;
        QTest::newRow("view with either") << u"100"_s << QList{1, 2} << u"101 101"_s;
    }
    void regoleDeiClic()
    {
        QFETCH(QString, salvati);
        QFETCH(QList<int>, clic);
        m_parametri.View[1] = std::int16_t(salvati[0] == u'1');
        m_parametri.Print[1] = std::int16_t(salvati[1] == u'1');
        m_parametri.Save[1] = std::int16_t(salvati[2] == u'1');
        Impostazioni ini(File());
        GWebPar finestra(ini, m_parametri, 1);
        QVERIFY(Mostra(finestra));
        for (int k : clic)
            CliccaSegno(Check(finestra, k));
        QTEST(Stato(finestra), "stato");
    }

    // A check use without a folder shows the other check use's; confirming writes this use's keys
    // only; F2 closes without writing.
    void conferma_data()
    {
        QTest::addColumn<int>("uso");
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<bool>("f2");
        QTest::newRow("single check takes the list's folder") << 1 << u"/dati/elenco"_s << false;
        QTest::newRow("database list has none") << 0 << QString() << false;
        QTest::newRow("F2") << 1 << u"/dati/elenco"_s << true;
    }
    void conferma()
    {
        QFETCH(int, uso);
        QFETCH(QString, cartella);
        const QString a = QString::number((uso + 1) % 3), n = QString::number(uso);
        const QByteArray prima =
            "[WEBPARAM]\r\nView" + a.toLatin1() + "=1\r\nDirSave" + a.toLatin1() + "=/x\r\n";
        QFile file(File());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(prima) == prima.size());
        file.close();
        m_parametri.DirSave = {QString(), u"/dati/singola"_s, u"/dati/elenco"_s};
        m_parametri.DirSave[uso] = u"  "_s;
        m_parametri.Stampante[uso] = u"Laser"_s;
        Impostazioni ini(File());
        GWebPar finestra(ini, m_parametri, uso);
        QVERIFY(Mostra(finestra));
        m_dialoghi->ProssimaCartella(QString()); // cancelled: the folder stays
        QTest::mouseClick(Controllo<QLabel>(finestra, u"lbPath"_s), Qt::LeftButton);
        Controllo<QRadioButton>(finestra, u"optSkede(1)"_s)->setChecked(true); // hidden while View is off
        CliccaSegno(Check(finestra, 1));
        CliccaSegno(Controllo<QCheckBox>(finestra, u"chkChiedi"_s));
        QCOMPARE(Controllo<QLabel>(finestra, u"lbPath"_s)->text().trimmed(), cartella);
        QFETCH(bool, f2);
        if (f2) {
            QTest::keyClick(Check(finestra, 1), Qt::Key_F2);
            QVERIFY(!finestra.isVisible());
            QCOMPARE(m_parametri.Print[1], 0);
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == prima);
            return;
        }
        QTest::mouseClick(Controllo<QPushButton>(finestra, u"Command1(1)"_s), Qt::LeftButton);
        QVERIFY(!finestra.isVisible());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString scritte =
            u"IESkede=1\r\nView%1=0\r\nSave%1=0\r\nDirSave%1=%2\r\nPrint%1=1\r\nChPrt%1=1\r\n"
            u"Stampante%1=Laser\r\n"_s;
        QCOMPARE(QString::fromLatin1(file.readAll()), QString::fromLatin1(prima) + scritte.arg(n, cartella));
        QCOMPARE(m_parametri.DirSave[uso], cartella);
    }

    // The label shows the use's printer name, blank when it is blank; the print options, confirmed,
    // change neither the name nor what "&CONFERMA" writes.
    void etichettaStampante_data()
    {
        QTest::addColumn<QString>("stampante");
        QTest::newRow("named") << u"Laser"_s;
        QTest::newRow("blank") << QString();
    }
    void etichettaStampante()
    {
        QFETCH(QString, stampante);
        m_parametri.Print[1] = 1;
        m_parametri.Stampante[1] = stampante;
        Impostazioni ini(File());
        GWebPar finestra(ini, m_parametri, 1);
        QVERIFY(Mostra(finestra));
        auto* etichetta = Controllo<QLabel>(finestra, u"lbPrinter"_s);
        QCOMPARE(etichetta->text(), stampante);
        QTest::mouseClick(etichetta, Qt::LeftButton);
        auto* opzioni = finestra.findChild<FrmPRT*>();
        QVERIFY(opzioni && opzioni->isVisible());
        QTest::mouseClick(Controllo<QPushButton>(*opzioni, u"cmds_SI"_s), Qt::LeftButton);
        QTRY_VERIFY(!finestra.findChild<FrmPRT*>());
        QCOMPARE(etichetta->text(), stampante);
        QCOMPARE(m_parametri.Stampante[1], stampante);
        QTest::mouseClick(Controllo<QPushButton>(finestra, u"Command1(1)"_s), Qt::LeftButton);
        QCOMPARE(ini.Leggi({u"WEBPARAM"_s, u"Stampante1"_s}), stampante);
        QCOMPARE(ini.Leggi({u"STAMPA"_s, u"STAMPANTE"_s}), NomeStampanteCorrente());
    }
};

QTEST_MAIN(TestGWebPar)
#include "tst_GWebPar.moc"
