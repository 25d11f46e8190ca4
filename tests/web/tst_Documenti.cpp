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

    // A file opens through the system, found in the folder given; a missing one is told with its path.
    void runFile()
    {
        QDesktopServices::setUrlHandler(u"file"_s, this, "Apri");
        const QString manca = m_dir.filePath(u"manca.txt"_s);
        QCOMPARE(RunFile(Crea(u"esiti.txt"_s).section(u'/', -1), u"/p"_s, m_dir.path()), kAperturaRiuscita);
        QCOMPARE(RunFile(manca, u"/p"_s), 2);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_aperti, QList{QUrl::fromLocalFile(m_dir.filePath(u"esiti.txt"_s))});
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QVERIFY(m_dialoghi->Messaggi()[0].testo.startsWith(u"Impossibile trovare il file. \n\nPercorso: '"_s +
                                                           manca));
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

    // PDFCreator's autosave folder counts only for that printer, with its own file name pattern; the
    // file it writes a moment later takes the number's name over an earlier one, and when none comes
    // within the limit everything stays as it was, silently.
    void pdfCreator()
    {
        Impostazioni ini(m_dir.filePath(u"tarvel.ini"_s));
        ini.Scrivi({{Chiavi::PdfCreator(u"UseAutosave"_s), u"1"_s},
                    {Chiavi::PdfCreator(u"AutosaveDirectory"_s), u" C:\\PDF\\ "_s}});
        QCOMPARE(LeggiPdfCreator(ini, u"PdfCreator"_s) + u'|' + LeggiPdfCreator(ini, u"Laser"_s),
                 u"C:\\PDF|"_s);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
        ini.Scrivi(Chiavi::PdfCreator(u"AutosaveFilename"_s), u"<Author>"_s);
        QCOMPARE(LeggiPdfCreator(ini, u"PDFCREATOR"_s), QString());
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QCOMPARE(NomePdf(u"tr"_s, u"../a\\b:*?\"<>|\t"_s), u"TR_.._a_b________.pdf"_s);

        Attese().pdfMs = 300;
        QFile finale(Crea(u"IT_00743110157.pdf"_s));
        const QString scritto = u"http___host_servizi_vies_vies.htm_act=piva&st.pdf"_s;
        RinominaPdfCreator(m_dir.path(), u"pi"_s, u"IT00743110157"_s, u"host"_s);
        QVERIFY(finale.open(QIODevice::ReadOnly) && finale.readAll() == "IT_00743110157.pdf");
        finale.close();
        QTimer::singleShot(50, this, [&] { Crea(scritto); });
        RinominaPdfCreator(m_dir.path(), u"pi"_s, u"IT00743110157"_s, u"host"_s);
        QVERIFY(finale.open(QIODevice::ReadOnly) && finale.readAll() == scritto.toUtf8());
        QVERIFY(!QFile::exists(m_dir.filePath(scritto)) && m_dialoghi->Messaggi().size() == 1);
    }
};

QTEST_MAIN(TestDocumenti)
#include "tst_Documenti.moc"
