#include "core/Attese.h"
#include "core/ChiaviIni.h"
#include "core/StampanteCorrente.h"
#include "core/Twips.h"
#include "support/DialoghiProva.h"
#include "support/ServerProva.h"
#include "web/FrmWeb.h"
#include "web/MostraPagineFinestra.h"

#include <QDesktopServices>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

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
    DialoghiProva* m_dialoghi = nullptr;
    QList<QUrl> m_aperti;

    QString Pagina(const QByteArray& esito)
    {
        m_server.Imposta(u"/vies"_s, PaginaProva::Html("<html><body><p>" + esito + "</p></body></html>"));
        return m_server.Indirizzo(u"/vies?IT00743110157"_s).toString();
    }
    // The single check's options; PDF prints go to `dirSave`.
    static OpzioniPagina Opzioni(int view, int print, const QString& dirSave = {})
    {
        return {.uso = 1,
                .View = std::int16_t(view),
                .Print = std::int16_t(print),
                .Stampante = {},
                .DirSave = dirSave};
    }
    void Carica(FrmWeb& f, const QString& url, const QString& tipo)
    {
        f.plUrl(url);
        f.plObject(u"IT00743110157"_s);
        f.plTipo(tipo);
        f.show();
    }
    QStringList Pdf() const { return QDir(m_dir.path()).entryList({u"*.pdf"_s}); }

private Q_SLOTS:
    void initTestCase() { QDesktopServices::setUrlHandler(u"http"_s, this, "Apri"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"http"_s); }
    void init()
    {
        for (const QString& pdf : Pdf())
            QFile::remove(m_dir.filePath(pdf));
        m_dialoghi = DialoghiProva::Installa();
        m_aperti.clear();
        Attese().paginaMs = 15000; // the browser's first start is slow
        ImpostaStampanteCorrente(u"PDF"_s);
    }

    void titoloPerTipo_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("vies") << u"pi"_s << u"P.IVA Comunitaria 'IT00743110157'"_s;
        QTest::newRow("export") << u"ex"_s << u"MRN Esportazione 'IT00743110157'"_s;
        QTest::newRow("transit") << u"tr"_s << u"MRN Transito 'IT00743110157'"_s;
        QTest::newRow("unknown") << u"PI"_s << u"  ERRORE"_s;
    }
    void titoloPerTipo()
    {
        QFETCH(QString, tipo);
        FrmWeb f(m_ini, Opzioni(1, 0), m_dir.path() + u'/');
        Carica(f, Pagina("Partita IVA valida"), tipo);
        QTEST(f.windowTitle(), "titolo");
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // A page that never completes: the question comes back after each wait until "No"; then nothing
    // is printed and the address goes to the system's browser once the window is active.
    void attesaPagina_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("domanda");
        QTest::newRow("vies") << u"pi"_s
                              << u"Pagina WEB per VAT  IT00743110157\nnon ricevuta\nAttendi ancora?"_s;
        QTest::newRow("other") << u"zz"_s
                               << u"Pagina WEB per MRN IT00743110157\nnon ricevuta\nAttendi ancora?"_s;
    }
    void attesaPagina()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, domanda);
        Attese().paginaMs = 300;
        PaginaProva muta;
        muta.maiRisposta = true;
        m_server.Imposta(u"/muta"_s, muta);
        m_dialoghi->ProssimaRisposta(Risposta::Si);
        m_dialoghi->ProssimaRisposta(Risposta::No);
        FrmWeb f(m_ini, Opzioni(1, 1, m_dir.path()), m_dir.path() + u'/');
        Carica(f, m_server.Indirizzo(u"/muta"_s).toString(), tipo);
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        for (const Messaggio& m : m_dialoghi->Messaggi())
            QVERIFY(m.testo == domanda && m.titolo == u"ATTESA PAGINA WEB"_s && m.pulsanti == Pulsanti::SiNo);
        QCOMPARE(f.windowTitle(), u"Pagina WEB"_s);
        QCOMPARE(Pdf(), QStringList());
        QTRY_COMPARE(m_aperti, QList<QUrl>{m_server.Indirizzo(u"/muta"_s)});
    }

    // View 0, Print 1, as a query opens the window: it prints to the "PDF" printer while loading and
    // closes at once; the PDF is named after the number, a second print replaces it, and a missing
    // folder is reported.
    void stampaPdf()
    {
        MostraPagineFinestra mostra(m_ini, m_dir.path() + u'/');
        for (const QByteArray esito : {"Partita IVA valida", "Partita IVA cessata"}) {
            QVERIFY(mostra.MostraNelBrowser(
                {Pagina(esito), u"IT00743110157"_s, u"pi"_s, Opzioni(0, 1, m_dir.path())}));
            QCOMPARE(Pdf(), QStringList{u"IT_00743110157.pdf"_s});
            QProcess testo;
            testo.start(u"pdftotext"_s, {m_dir.filePath(Pdf().value(0)), u"-"_s});
            QVERIFY2(testo.waitForFinished(30000), qPrintable(testo.errorString()));
            QVERIFY(testo.exitStatus() == QProcess::NormalExit && testo.exitCode() == 0);
            QVERIFY(testo.readAllStandardOutput().contains(esito));
        }
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
        const QString manca = m_dir.filePath(u"manca"_s);
        mostra.MostraNelBrowser({Pagina("x"), u"IT00743110157"_s, u"pi"_s, Opzioni(0, 1, manca)});
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QVERIFY(m_dialoghi->Messaggi()[0].testo.startsWith(u"IMPOSSIBILE SCRIVERE IL FILE PDF\n"_s + manca));
    }

    void correzioniPosizione_data()
    {
        QTest::addColumn<QList<int>>("salvata"); // top, left, height, width on a 12000 x 9000 screen
        QTest::addColumn<QRect>("attesa");
        QTest::newRow("inside") << QList{8599, 11399, 8999, 11999} << QRect(11399, 8599, 11999, 8999);
        QTest::newRow("at bounds") << QList{8600, 11400, 9000, 12000} << QRect(0, 0, 6000, 4000);
        QTest::newRow("below") << QList{-1, -1, 0, 0} << QRect(0, 0, 6000, 4000);
    }
    void correzioniPosizione()
    {
        QFETCH(QList<int>, salvata);
        QTEST(CorreggiPosizioneWeb(salvata[0], salvata[1], salvata[2], salvata[3], QSize(12000, 9000)),
              "attesa");
    }

    // The window opens where it was closed, and closing it writes the same place back: the frame
    // must not make it grow from one opening to the next.
    void posizioneRipristinataESalvata()
    {
        const QList<std::pair<Chiave, int>> chiavi{{Chiavi::PosY(u"FrmWeb"_s), 1500},
                                                   {Chiavi::PosX(u"FrmWeb"_s), 3000},
                                                   {Chiavi::DimY(u"FrmWeb"_s), 5100},
                                                   {Chiavi::DimX(u"FrmWeb"_s), 7200}};
        for (const auto& [chiave, valore] : chiavi)
            m_ini.Scrivi(chiave, QString::number(valore));
        FrmWeb f(m_ini, Opzioni(1, 0), m_dir.path() + u'/');
        Carica(f, Pagina("Partita IVA valida"), u"pi"_s);
        QCOMPARE(TwipsDaPixel(f.frameGeometry().width(), f.screen()->logicalDotsPerInch()), 7200);
        QTest::mouseClick(f.findChild<QWidget*>(u"Command1"_s), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        for (const auto& [chiave, valore] : chiavi)
            QCOMPARE(m_ini.Numero(chiave), valore);
    }
};

QTEST_MAIN(TestFrmWeb)
#include "tst_FrmWeb.moc"
