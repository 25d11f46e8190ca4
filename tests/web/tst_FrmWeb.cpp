#include "app/Globali.h"
#include "core/Attese.h"
#include "core/FileIni.h"
#include "core/Twips.h"
#include "results/StampanteCorrente.h"
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
    std::unique_ptr<QTemporaryDir> m_dir;
    ServerProva m_server;
    DialoghiProva* m_dialoghi = nullptr;
    QList<QUrl> m_aperti;

    QString Pagina(const QByteArray& esito)
    {
        m_server.Imposta(u"/vies"_s, PaginaProva::Html("<html><body><p>" + esito + "</p></body></html>"));
        return m_server.Indirizzo(u"/vies?IT00743110157"_s).toString();
    }
    // Web options of use 1; a save folder makes it print to PDF there.
    static void Opzioni(int view, int print, const QString& dirSave = {})
    {
        gTipoWeb = 1;
        gParametriWeb = {};
        gParametriWeb.View[1] = std::int16_t(view);
        gParametriWeb.Print[1] = std::int16_t(print);
        gParametriWeb.DirSave[1] = dirSave;
    }
    static void Prepara(FrmWeb& f, const QString& url, const QString& tipo)
    {
        f.plUrl(url);
        f.plObject(u"IT00743110157"_s);
        f.plTipo(tipo);
    }

private Q_SLOTS:
    void initTestCase() { QDesktopServices::setUrlHandler(u"http"_s, this, "Apri"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"http"_s); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        gFileIni = m_dir->filePath(u"tarvel.ini"_s);
        gDirTemp = m_dir->path() + u'/';
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
        Opzioni(1, 0);
        FrmWeb f;
        Prepara(f, Pagina("Partita IVA valida"), tipo);
        f.show();
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
        Opzioni(1, 1, m_dir->path());
        Attese().paginaMs = 300;
        PaginaProva muta;
        muta.maiRisposta = true;
        m_server.Imposta(u"/muta"_s, muta);
        m_dialoghi->ProssimaRisposta(Risposta::Si);
        m_dialoghi->ProssimaRisposta(Risposta::No);
        FrmWeb f;
        Prepara(f, m_server.Indirizzo(u"/muta"_s).toString(), tipo);
        f.show();
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        for (const Messaggio& m : m_dialoghi->Messaggi())
            QVERIFY(m.testo == domanda && m.titolo == u"ATTESA PAGINA WEB"_s && m.pulsanti == Pulsanti::SiNo);
        QCOMPARE(f.windowTitle(), u"Pagina WEB"_s);
        QCOMPARE(QDir(m_dir->path()).entryList({u"*.pdf"_s}), QStringList());
        QTRY_COMPARE(m_aperti, QList<QUrl>{m_server.Indirizzo(u"/muta"_s)});
    }

    // View 0, Print 1, as a query opens the window: it prints to the "PDF" printer while loading and
    // closes at once; the PDF is named after the number, and a second print replaces it.
    void stampaPdf()
    {
        Opzioni(0, 1, m_dir->path());
        for (const QByteArray esito : {"Partita IVA valida", "Partita IVA cessata"}) {
            QVERIFY(MostraPagineFinestra().MostraNelBrowser(Pagina(esito), u"IT00743110157"_s, u"pi"_s));
            QCOMPARE(QDir(m_dir->path()).entryList({u"*.pdf"_s}), QStringList{u"IT_00743110157.pdf"_s});
            QProcess testo;
            testo.start(u"pdftotext"_s, {m_dir->filePath(u"IT_00743110157.pdf"_s), u"-"_s});
            QVERIFY(testo.waitForFinished() && testo.exitCode() == 0);
            QVERIFY(testo.readAllStandardOutput().contains(esito));
        }
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    void cartellaPdfMancante()
    {
        Opzioni(0, 1, m_dir->filePath(u"manca"_s));
        MostraPagineFinestra().MostraNelBrowser(Pagina("Partita IVA valida"), u"IT00743110157"_s, u"pi"_s);
        QCOMPARE(m_dialoghi->Messaggi().size(), 1);
        QVERIFY(m_dialoghi->Messaggi().first().testo.startsWith(u"IMPOSSIBILE SCRIVERE IL FILE PDF"_s));
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
        Opzioni(1, 0);
        const QList<QPair<QString, int>> chiavi{
            {u"POSY"_s, 1500}, {u"POSX"_s, 3000}, {u"DIMY"_s, 5100}, {u"DIMX"_s, 7200}};
        for (const auto& [chiave, valore] : chiavi)
            ScriviIni(gFileIni, u"FrmWeb"_s, chiave, QString::number(valore));
        FrmWeb f;
        Prepara(f, Pagina("Partita IVA valida"), u"pi"_s);
        f.show();
        const double dpi = f.screen()->logicalDotsPerInch();
        QCOMPARE(TwipsDaPixel(f.frameGeometry().width(), dpi), 7200);
        QTest::mouseClick(f.findChild<QWidget*>(u"Command1"_s), Qt::LeftButton);
        QVERIFY(!f.isVisible());
        for (const auto& [chiave, valore] : chiavi)
            QCOMPARE(LeggiIni(gFileIni, u"FrmWeb"_s, chiave).toInt(), valore);
    }
};

QTEST_MAIN(TestFrmWeb)
#include "tst_FrmWeb.moc"
