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

    // F2 presses the exit button of its own window only, not one of a window it opened; Ctrl+F8
    // shows the internal name and back.
    void tasti()
    {
        Prova a(m_cartella->Ini(), u"EleVATok"_s);
        Prova b(m_cartella->Ini(), u"B"_s, &a);
        QVERIFY(Mostra(a) && Mostra(b));
        QSignalSpy premutoA(a.uscita, &QPushButton::clicked), premutoB(b.uscita, &QPushButton::clicked);
        QTest::keyClick(a.casella, Qt::Key_F2);
        QCOMPARE(premutoA.count() + 10 * premutoB.count(), 1);
        QTest::keyClick(a.casella, Qt::Key_F8, Qt::ControlModifier);
        const QString interno = a.windowTitle();
        QTest::keyClick(a.casella, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(interno + u'|' + a.windowTitle(), u"EleVATok !|Prova"_s);
    }

    // Ctrl+F2 asks; only Yes ends the program, at once and without pressing the exit button. What
    // was written to files ApriArchivio opened reaches the disk first; a file already gone is no trouble.
    void uscitaForzata()
    {
        Prova finestra(m_cartella->Ini(), u"EleVat"_s);
        QVERIFY(Mostra(finestra));
        QSignalSpy premuto(finestra.uscita, &QPushButton::clicked);
        const QString nome = m_cartella->File(u"EsitiDaEle.txt"_s);
        QFile esiti;
        QVERIFY(ApriArchivio(esiti, nome, kModoScrittura) && esiti.write("IT00743110157;VALIDA\r\n") > 0);
        {
            QFile chiusa;
            QVERIFY(ApriArchivio(chiusa, m_cartella->File(u"altro.txt"_s), kModoAccodamento));
        }
        QList<QByteArray> fine; // what the file held each time the program ended
        ImpostaFineProgramma([&] {
            QFile letto(nome);
            fine << (letto.open(QIODevice::ReadOnly) ? letto.readAll() : "?");
        });
        m_dialoghi->ProssimaRisposta(Risposta::No);
        m_dialoghi->ProssimaRisposta(Risposta::Si);
        QTest::keyClick(finestra.casella, Qt::Key_F2, Qt::ControlModifier);
        QTest::keyClick(finestra.casella, Qt::Key_F2, Qt::ControlModifier);
        ImpostaFineProgramma([] { QFAIL("the program would have ended"); });
        QCOMPARE(fine, QList<QByteArray>{"IT00743110157;VALIDA\r\n"});
        QVERIFY(!esiti.isOpen() && premuto.isEmpty());
        QCOMPARE(m_dialoghi->Messaggi().size(), 2);
        QVERIFY(m_dialoghi->Messaggi()[0].pulsanti == Pulsanti::SiNo &&
                m_dialoghi->Messaggi()[0].predefinita == Risposta::No);
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
        QCOMPARE(altro.Leggi(Chiavi::WState(u"EleVATok"_s)) + u' ' + altro.Leggi(Chiavi::DimX(u"EleVATok"_s)),
                 normale ? u"0 "_s + QString::number(esterna) : u"2 "_s);

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
