#include "core/Attese.h"
#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"
#include "support/DialoghiProva.h"
#include "web/MostraPagineFinestra.h"
#include "web/PdfCreator.h"
#include "web/RunFile.h"

#include <QDesktopServices>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestDocumenti : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void Apri(const QUrl& url) { m_aperti << url; }

private:
    QTemporaryDir m_dir;
    DialoghiProva* m_dialoghi = nullptr;
    QList<QUrl> m_aperti;

    QString Crea(const QString& nome) const
    {
        QFile f(m_dir.filePath(nome));
        return f.open(QIODevice::WriteOnly) && f.write(nome.toUtf8()) > 0 ? f.fileName() : QString();
    }

private Q_SLOTS:
    void init()
    {
        m_dialoghi = DialoghiProva::Installa();
        m_aperti.clear();
    }

    // Offscreen nothing opens by itself: without a handler an opening fails as "no program associated".
    void runFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<int>("codice");
        QTest::addColumn<QString>("messaggio"); // its beginning; null when none
        const QString d = m_dir.path();
        QTest::newRow("opened") << Crea(u"esiti.txt"_s).section(u'/', -1) << d << kAperturaRiuscita
                                << QString();
        QTest::newRow("no file") << d + u"/manca.txt"_s << QString() << 2
                                 << u"Impossibile trovare il file. \n\nPercorso: '"_s + d +
                                        u"/manca.txt'\n"_s;
        QTest::newRow("no folder")
            << u" x.txt "_s << d + u"/manca"_s << 3
            << u"Impossibile trovare la cartella. \n\nPercorso: 'x.txt'\nCartella: '"_s + d + u"/manca'\n"_s;
        QTest::newRow("no program") << Crea(u"esiti.xyz"_s) << QString() << 31
                                    << u"Il sistema in uso non presenta alcuna associazione"_s;
    }
    void runFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, cartella);
        QFETCH(int, codice);
        QFETCH(QString, messaggio);
        if (codice != 31)
            QDesktopServices::setUrlHandler(u"file"_s, this, "Apri");
        QCOMPARE(RunFile(file, u"/p"_s, cartella), codice);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_aperti, codice == kAperturaRiuscita ? QList{QUrl::fromLocalFile(m_dir.filePath(file))}
                                                       : QList<QUrl>());
        QCOMPARE(m_dialoghi->Messaggi().size(), messaggio.isNull() ? 0 : 1);
        if (!messaggio.isNull()) {
            const Messaggio m = m_dialoghi->Messaggi().first();
            QVERIFY2(m.testo.startsWith(messaggio) && m.testo.endsWith(u"Parametri: '/p'"_s),
                     qPrintable(m.testo));
            QVERIFY(m.titolo == u"RunFile: Errore di esecuzione"_s && m.icona == Icona::Critica);
        }
    }

    // A saved answer page opens without a word: no box when the folder is missing or no program
    // opens pages.
    void apriPagina_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("gestore"); // a program opens files
        QTest::newRow("opened") << Crea(u"PI_IT00743110157.htm"_s) << true;
        QTest::newRow("save folder missing") << m_dir.filePath(u"manca/PI_IT1.htm"_s) << true;
        QTest::newRow("no program") << Crea(u"tmp_html.htm"_s) << false;
    }
    void apriPagina()
    {
        QFETCH(QString, file);
        QFETCH(bool, gestore);
        Impostazioni ini(m_dir.filePath(u"tarvel.ini"_s));
        MostraPagineFinestra mostra(ini, m_dir.path() + u'/');
        if (gestore)
            QDesktopServices::setUrlHandler(u"file"_s, this, "Apri");
        mostra.ApriDocumento(file);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_aperti, gestore && QFile::exists(file) ? QList{QUrl::fromLocalFile(file)} : QList<QUrl>());
        QCOMPARE(m_dialoghi->Messaggi().size(), 0);
    }

    void nomePdf_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("nome");
        QTest::newRow("export") << u"ex"_s << u"18IT000000000012A1"_s << u"EX_18IT000000000012A1.pdf"_s;
        QTest::newRow("stays in folder") << u"tr"_s << u"../a\\b:*?\"<>|\t"_s << u"TR_.._a_b________.pdf"_s;
    }
    void nomePdf()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, numero);
        QTEST(NomePdf(tipo, numero), "nome");
    }

    void leggiPdfCreator_data()
    {
        QTest::addColumn<QString>("stampante");
        QTest::addColumn<QStringList>("valori"); // UseAutosave, AutosaveFilename, AutosaveDirectory
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<int>("messaggi");
        const QString pdfCreator = u"PDFCREATOR"_s;
        QTest::newRow("name in any case")
            << u"PdfCreator"_s << QStringList{u"1"_s, u""_s, u" C:\\PDF\\ "_s} << u"C:\\PDF"_s << 0;
        QTest::newRow("other printer") << u"Laser"_s << QStringList{u"1"_s, u""_s, u"/srv"_s} << u""_s << 0;
        QTest::newRow("autosave off")
            << pdfCreator << QStringList{u"0"_s, u"<Title>"_s, u"/srv"_s} << u""_s << 0;
        QTest::newRow("other pattern")
            << pdfCreator << QStringList{u"1"_s, u"<Author>"_s, u"/srv"_s} << u""_s << 1;
    }
    void leggiPdfCreator()
    {
        QFETCH(QString, stampante);
        QFETCH(QStringList, valori);
        QTemporaryDir dir;
        Impostazioni ini(dir.filePath(u"tarvel.ini"_s));
        ini.Scrivi({{Chiavi::PdfCreator(u"UseAutosave"_s), valori[0]},
                    {Chiavi::PdfCreator(u"AutosaveFilename"_s), valori[1]},
                    {Chiavi::PdfCreator(u"AutosaveDirectory"_s), valori[2]}});
        QTEST(LeggiPdfCreator(ini, stampante), "cartella");
        QTEST(int(m_dialoghi->Messaggi().size()), "messaggi");
    }

    // PDFCreator's file, written a moment later, takes the number's name over an earlier one; when
    // no file comes within the limit everything stays as it was, silently.
    void rinominaPdfCreator()
    {
        Attese().pdfMs = 300;
        QFile finale(Crea(u"IT_00743110157.pdf"_s));
        const QString scritto = u"http___host_servizi_vies_vies.htm_act=piva&st.pdf"_s;
        RinominaPdfCreator(m_dir.path(), u"pi"_s, u"IT00743110157"_s, u"host"_s);
        QVERIFY(finale.open(QIODevice::ReadOnly) && finale.readAll() == "IT_00743110157.pdf");
        finale.close();
        QTimer::singleShot(50, this, [&] { Crea(scritto); });
        RinominaPdfCreator(m_dir.path(), u"pi"_s, u"IT00743110157"_s, u"host"_s);
        QVERIFY(finale.open(QIODevice::ReadOnly) && finale.readAll() == scritto.toUtf8());
        QVERIFY(!QFile::exists(m_dir.filePath(scritto)) && m_dialoghi->Messaggi().isEmpty());
    }
};

QTEST_MAIN(TestDocumenti)
#include "tst_Documenti.moc"
