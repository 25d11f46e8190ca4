#include "core/Attese.h"
#include "core/ChiaviIni.h"
#include "core/StampanteCorrente.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"
#include "support/StampantiProva.h"
#include "web/FabbricaBrowser.h"
#include "web/ModuloBrowser.h"
#include "web/MostraPagineFinestra.h"
#include "web/PdfCreator.h"
#include "web/RunFile.h"

#include <QDesktopServices>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The build's browser module.
const QString kCartellaBrowser = QStringLiteral(TARVEL_CARTELLA_BROWSER);

// The embedded browser needs this before the application object exists.
static void CondividiContestiOpenGl()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
Q_CONSTRUCTOR_FUNCTION(CondividiContestiOpenGl)

class TestFrmWeb : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void Apri(const QUrl& url) { m_aperti << url; }

private:
    QTemporaryDir m_dir;
    Impostazioni m_ini{m_dir.filePath(u"tarvel.ini"_s)};
    ServerProva m_server;
    StampantiProva m_stampanti{{u"PROVA"_s, u"PDFCreator"_s}};
    DialoghiProva* m_dialoghi = nullptr;
    FabbricaBrowser* m_browser = nullptr;
    QList<QUrl> m_aperti;

    QString Pagina(const QByteArray& esito)
    {
        m_server.Imposta(u"/vies"_s, PaginaProva::Html("<html><body><p>" + esito + "</p></body></html>"));
        return m_server.Indirizzo(u"/vies?IT00743110157"_s).toString();
    }
    // View 0, Print 1, as the single check asks; PDF prints go to `dirSave`.
    static OpzioniPagina Stampa(const QString& dirSave)
    {
        return {.uso = 1, .View = 0, .Print = 1, .Stampante = {}, .DirSave = dirSave};
    }
    QString Crea(const QString& nome) const
    {
        QFile f(m_dir.filePath(nome));
        return f.open(QIODevice::WriteOnly) && f.write(nome.toUtf8()) > 0 ? f.fileName() : QString();
    }
    QStringList Pdf() const { return QDir(m_dir.path()).entryList({u"*.pdf"_s}); }

private Q_SLOTS:
    void initTestCase()
    {
        m_stampanti.Usa();
        QDesktopServices::setUrlHandler(u"http"_s, this, "Apri");
        const ModuloBrowser modulo = CaricaModuloBrowser({kCartellaBrowser});
        QVERIFY2(modulo.fabbrica, qPrintable(modulo.motivo));
        m_browser = modulo.fabbrica;
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"http"_s); }
    void init()
    {
        for (const QString& pdf : Pdf())
            QFile::remove(m_dir.filePath(pdf));
        m_dialoghi = DialoghiProva::Installa();
        m_aperti.clear();
        m_stampanti.Svuota();
        Attese().paginaMs = 15000; // the browser's first start is slow
        ImpostaStampanteCorrente(u"PDF"_s);
    }

    // View 0, Print 1, as a query opens the window: it prints to the "PDF" printer while loading and
    // closes at once; the PDF is named after the number, a second print replaces it, and a missing
    // folder is reported.
    void stampaPdf()
    {
        MostraPagineFinestra mostra(m_ini, m_dir.path() + u'/', {kCartellaBrowser});
        for (const QByteArray esito : {"Partita IVA valida", "Partita IVA cessata"}) {
            QVERIFY(
                mostra.MostraNelBrowser({Pagina(esito), u"IT00743110157"_s, u"pi"_s, Stampa(m_dir.path())}));
            QCOMPARE(Pdf(), QStringList{u"IT_00743110157.pdf"_s});
            QProcess testo;
            testo.start(u"pdftotext"_s, {m_dir.filePath(Pdf().value(0)), u"-"_s});
            QVERIFY(testo.waitForFinished(30000) && testo.readAllStandardOutput().contains(esito));
        }
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
        const QString manca = m_dir.filePath(u"manca"_s);
        mostra.MostraNelBrowser({Pagina("x"), u"IT00743110157"_s, u"pi"_s, Stampa(manca)});
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QVERIFY(m_dialoghi->Messaggi()[0].testo.startsWith(u"IMPOSSIBILE SCRIVERE IL FILE PDF\n"_s + manca));
    }

    // Without a usable browser module (the executable copied alone, a damaged file) pages open in
    // the system's browser, and the user is told once why.
    void senzaModulo_data()
    {
        QTest::addColumn<QByteArray>("modulo"); // the module file's content; empty: no file
        QTest::addColumn<QString>("motivo");
        QTest::newRow("missing") << QByteArray() << u"manca il modulo tarvel_browser"_s;
        QTest::newRow("damaged") << QByteArray("non una libreria") << u"non si carica"_s;
    }
    void senzaModulo()
    {
        QFETCH(QByteArray, modulo);
        QTemporaryDir cartella;
        if (!modulo.isEmpty()) {
            QFile file(cartella.filePath(u"libtarvel_browser.so"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(modulo) == modulo.size());
        }
        MostraPagineFinestra mostra(m_ini, m_dir.path() + u'/', {cartella.path()});
        const QList<QUrl> pagine{m_server.Indirizzo(u"/vies?IT1"_s), m_server.Indirizzo(u"/vies?IT2"_s)};
        for (const QUrl& pagina : pagine)
            QVERIFY(mostra.MostraNelBrowser(
                {pagina.toString(), u"IT00743110157"_s, u"pi"_s, Stampa(m_dir.path())}));
        QCOMPARE(m_aperti, pagine);
        QCOMPARE(Pdf(), QStringList());
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        const Messaggio& m = m_dialoghi->Messaggi()[0];
        QFETCH(QString, motivo);
        QVERIFY2(m.testo.contains(motivo) && m.testo.contains(u"browser del sistema"_s), qPrintable(m.testo));
    }

    // "Con richiesta": the printer chosen in the dialog serves this print only, and the PDFCreator
    // follow-up goes by the printer that was in use before the dialog.
    void stampaConRichiesta_data()
    {
        QTest::addColumn<QString>("corrente");
        QTest::addColumn<QString>("scelta"); // "": the dialog is cancelled
        QTest::addColumn<QString>("lavoroSu");
        QTest::addColumn<QStringList>("pdf");
        const QStringList numero{u"IT_00743110157.pdf"_s};
        const QString attesa = TitoloStampa(u"pi"_s, u"127.0.0.1"_s) + u".pdf"_s; // PDFCreator's own name
        QTest::newRow("PDFCreator in use, another chosen")
            << u"PDFCreator"_s << u"PROVA"_s << u"PROVA"_s << numero;
        QTest::newRow("a printer in use, PDF chosen")
            << u"PROVA"_s << u"PDF"_s << QString() << QStringList{attesa, numero[0]};
        QTest::newRow("cancelled") << u"PDFCreator"_s << QString() << QString() << QStringList{attesa};
    }
    void stampaConRichiesta()
    {
        QFETCH(QString, corrente);
        QFETCH(QString, scelta);
        QFETCH(QString, lavoroSu);
        m_ini.Scrivi({{Chiavi::PdfCreator(u"UseAutosave"_s), u"1"_s},
                      {Chiavi::PdfCreator(u"AutosaveDirectory"_s), m_dir.path()}});
        // The file PDFCreator would write for this page, already there.
        QFile pdfCreator(m_dir.filePath(TitoloStampa(u"pi"_s, u"127.0.0.1"_s) + u".pdf"_s));
        QVERIFY(pdfCreator.open(QIODevice::WriteOnly));
        pdfCreator.close();
        QVERIFY(ImpostaStampanteCorrente(corrente));
        m_dialoghi->ProssimaStampante(scelta);

        OpzioniPagina opzioni = Stampa(m_dir.path());
        opzioni.ChPrt = 1;
        MostraPagineFinestra mostra(m_ini, m_dir.path() + u'/', {kCartellaBrowser});
        QVERIFY(
            mostra.MostraNelBrowser({Pagina("Partita IVA valida"), u"IT00743110157"_s, u"pi"_s, opzioni}));

        QCOMPARE(NomeStampanteCorrente(), corrente);
        QTEST(Pdf(), "pdf");
        const QList<LavoroProva> lavori = m_stampanti.Lavori();
        QCOMPARE(lavori.size(), lavoroSu.isEmpty() ? 0 : 1);
        if (!lavoroSu.isEmpty()) {
            QCOMPARE(lavori[0].stampante, lavoroSu);
            QCOMPARE(lavori[0].titolo, TitoloStampa(u"pi"_s, u"127.0.0.1"_s));
            QVERIFY(lavori[0].documento.startsWith("%PDF-")); // the page, drawn as an image
        }
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
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
        MostraPagineFinestra mostra(m_ini, m_dir.path() + u'/');
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
        m_ini.Scrivi({{Chiavi::PdfCreator(u"UseAutosave"_s), u"1"_s},
                      {Chiavi::PdfCreator(u"AutosaveDirectory"_s), u" C:\\PDF\\ "_s}});
        QCOMPARE(LeggiPdfCreator(m_ini, u"PdfCreator"_s) + u'|' + LeggiPdfCreator(m_ini, u"Laser"_s),
                 u"C:\\PDF|"_s);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
        m_ini.Scrivi(Chiavi::PdfCreator(u"AutosaveFilename"_s), u"<Author>"_s);
        QCOMPARE(LeggiPdfCreator(m_ini, u"PDFCREATOR"_s), QString());
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

QTEST_MAIN(TestFrmWeb)
#include "tst_FrmWeb.moc"
