#include "app/Startup.h"
#include "core/CartellaProgramma.h"
#include "core/ChiaviIni.h"
#include "core/FinestraLavoro.h"
#include "core/TastiComuni.h"
#include "core/Twips.h"
#include "core/UtilitaFile.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QtWidgets>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// A working window with a text box, an exit button and a resizable border; it remembers its place.
struct Prova : FinestraLavoro {
    Prova(Impostazioni& ini, const QString& nome, QWidget* padre = nullptr) : FinestraLavoro(ini, nome, padre)
    {
        setWindowTitle(u"Prova"_s);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(casella = new QLineEdit(this));
        layout->addWidget(uscita = new QPushButton(u"&USCITA"_s, this));
        resize(300, 200);
        SalvaPosizioneInChiusura();
    }
    QLineEdit* casella;
    QPushButton* uscita;
};

int Tw(int px)
{
    return TwipsDaPixel(px, QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

} // namespace

class TestFinestreComuni : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    DialoghiProva* m_dialoghi = nullptr;

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        ImpostaCartellaProgramma(m_cartella->Percorso());
        m_dialoghi = DialoghiProva::Installa();
    }

    void tasti()
    {
        Prova a(m_cartella->Ini(), u"EleVATok"_s);
        Prova b(m_cartella->Ini(), u"B"_s, &a);
        QVERIFY(Mostra(a) && Mostra(b));
        QSignalSpy premutoA(a.uscita, &QPushButton::clicked), premutoB(b.uscita, &QPushButton::clicked);
        // F2 presses the exit button of its own window only, not one of a window it opened; only Ctrl
        // counts among the modifiers.
        QTest::keyClick(a.casella, Qt::Key_F2);
        QTest::keyClick(a.casella, Qt::Key_F2, Qt::ShiftModifier);
        a.uscita->setEnabled(false);
        QTest::keyClick(a.casella, Qt::Key_F2);
        QCOMPARE(premutoA.count(), 2);
        QCOMPARE(premutoB.count(), 0);
        // Ctrl+F8 shows the internal name and back; F8 alone is the window's.
        QTest::keyClick(a.casella, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(a.windowTitle(), u"EleVATok !"_s);
        QTest::keyClick(a.casella, Qt::Key_F8);
        QCOMPARE(a.windowTitle(), u"EleVATok !"_s);
        QTest::keyClick(a.casella, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(a.windowTitle(), u"Prova"_s);

        // Ctrl+F2 asks; only Yes ends the program, at once and without pressing the exit button.
        int fine = 0;
        ImpostaFineProgramma([&fine] { ++fine; });
        m_dialoghi->ProssimaRisposta(Risposta::No);
        m_dialoghi->ProssimaRisposta(Risposta::Si);
        QTest::keyClick(b.casella, Qt::Key_F2, Qt::ControlModifier);
        const int dopoNo = fine;
        QTest::keyClick(b.casella, Qt::Key_F2, Qt::ControlModifier);
        ImpostaFineProgramma([] { QFAIL("the program would have ended"); });
        QCOMPARE(dopoNo, 0);
        QCOMPARE(fine, 1);
        QCOMPARE(premutoB.count(), 0);
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        const Messaggio& m = m_dialoghi->Messaggi().first();
        QCOMPARE(m.titolo + u": "_s + m.testo, u"USCITA FORZATA: FINE DI tarvel?"_s);
        QVERIFY(m.pulsanti == Pulsanti::SiNo && m.icona == Icona::Esclamazione &&
                m.predefinita == Risposta::No);
    }

    // The forced exit ends the program at once, but what was written to files ApriArchivio opened
    // reaches the disk first; a file already gone is no trouble.
    void uscitaForzataScriveIFile()
    {
        Prova finestra(m_cartella->Ini(), u"EleVat"_s);
        QVERIFY(Mostra(finestra));
        const QString nome = m_cartella->File(u"EsitiDaEle.txt"_s);
        QFile esiti;
        QVERIFY(ApriArchivio(esiti, nome, kModoScrittura));
        QVERIFY(esiti.write("IT00743110157;VALIDA\r\n") > 0);
        {
            QFile chiusa;
            QVERIFY(ApriArchivio(chiusa, m_cartella->File(u"altro.txt"_s), kModoAccodamento));
        }
        QByteArray suDisco;
        ImpostaFineProgramma([&] {
            QFile letto(nome);
            QVERIFY(letto.open(QIODevice::ReadOnly));
            suDisco = letto.readAll();
        });
        m_dialoghi->ProssimaRisposta(Risposta::Si);
        QTest::keyClick(finestra.casella, Qt::Key_F2, Qt::ControlModifier);
        ImpostaFineProgramma([] { QFAIL("the program would have ended"); });
        QCOMPARE(suDisco, "IT00743110157;VALIDA\r\n"_ba);
        QVERIFY(!esiti.isOpen());
    }

    void posizioneSalvataERipristinata_data()
    {
        QTest::addColumn<Qt::WindowState>("stato");
        QTest::newRow("normal") << Qt::WindowNoState;
        QTest::newRow("minimized reopens maximized") << Qt::WindowMinimized;
    }
    void posizioneSalvataERipristinata()
    {
        QFETCH(Qt::WindowState, stato);
        const bool normale = stato == Qt::WindowNoState;
        Startup principale; // its frame stands in for the frame of a window not yet shown
        QVERIFY(Mostra(principale));
        int esterna = 0; // outer width, in twips
        {
            Prova a(m_cartella->Ini(), u"EleVATok"_s);
            QVERIFY(Mostra(a));
            a.resize(400, 250);
            esterna = Tw(a.frameGeometry().width());
            a.setWindowState(stato);
            a.close();
        }
        // In the file, where another reader of it (the main window's session) finds it.
        const Impostazioni& altro = principale.SessioneAperta().impostazioni;
        QCOMPARE(altro.Leggi(Chiavi::WState(u"EleVATok"_s)), normale ? u"0"_s : u"2"_s);
        QCOMPARE(altro.Leggi(Chiavi::DimX(u"EleVATok"_s)), normale ? QString::number(esterna) : QString());

        Prova b(m_cartella->Ini(), u"EleVATok"_s);
        QVERIFY(Mostra(b));
        QCOMPARE(b.isMaximized(), !normale);
        if (!normale)
            return;
        QCOMPARE(b.size(), QSize(400, 250));
        // Left on the main window's client area; top lower than its menu bar by its bottom border.
        const QPoint cliente = principale.centralWidget()->mapToGlobal(QPoint(0, 0));
        const int bordo = principale.frameGeometry().bottom() - principale.geometry().bottom();
        QCOMPARE(Tw(b.frameGeometry().left()), Tw(cliente.x()));
        QCOMPARE(Tw(b.frameGeometry().top()), Tw(cliente.y() + bordo) - 90);
    }
};

QTEST_MAIN(TestFinestreComuni)
#include "tst_FinestreComuni.moc"
