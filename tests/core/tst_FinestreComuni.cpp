#include "app/Globali.h"
#include "app/Startup.h"
#include "core/Attesa.h"
#include "core/CartellaProgramma.h"
#include "core/CaselleTesto.h"
#include "core/FileIni.h"
#include "core/FinestraLavoro.h"
#include "core/TastiComuni.h"
#include "core/Twips.h"
#include "support/DialoghiProva.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// A working window with a text box, an exit button and a resizable border.
class Prova : public FinestraLavoro
{
public:
    explicit Prova(const QString& nome, bool salva = false) : FinestraLavoro(nome)
    {
        setWindowTitle(u"Prova"_s);
        casella = new QLineEdit(this);
        uscita = new QPushButton(u"&USCITA"_s, this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(casella);
        layout->addWidget(uscita);
        resize(300, 200);
        if (salva)
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

public Q_SLOTS:
    void Apri(const QUrl& url) { m_aperti << url; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QUrl> m_aperti;

    static void Mostra(QWidget& w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ImpostaCartellaProgramma(m_dir->path());
        gFileIni = m_dir->filePath(u"tarvel.ini"_s);
        DialoghiProva::Installa();
    }

    void f2PremeUscitaDellaSolaFinestra()
    {
        Prova a(u"A"_s), b(u"B"_s);
        Mostra(a);
        Mostra(b);
        QSignalSpy premutoA(a.uscita, &QPushButton::clicked), premutoB(b.uscita, &QPushButton::clicked);
        a.casella->setFocus();
        QTest::keyClick(a.casella, Qt::Key_F2);
        QTest::keyClick(a.casella, Qt::Key_F2, Qt::ShiftModifier); // only Ctrl counts
        QCOMPARE(premutoA.count(), 2);
        QCOMPARE(premutoB.count(), 0);
        a.uscita->setEnabled(false);
        QTest::keyClick(a.casella, Qt::Key_F2);
        QCOMPARE(premutoA.count(), 2);
    }

    void ctrlF8MostraIlNomeInterno()
    {
        Prova a(u"EleVATok"_s);
        Mostra(a);
        QTest::keyClick(a.casella, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(a.windowTitle(), u"EleVATok !"_s);
        QCOMPARE(gTitoloSalvato, u"Prova"_s);
        QTest::keyClick(a.casella, Qt::Key_F8);
        QCOMPARE(a.windowTitle(), u"EleVATok !"_s); // F8 alone is the window's
        QTest::keyClick(a.casella, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(a.windowTitle(), u"Prova"_s);
    }

    void ctrlF2ChiedeUscitaForzata_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::newRow("no") << Risposta::No;
        QTest::newRow("yes") << Risposta::Si;
    }
    void ctrlF2ChiedeUscitaForzata()
    {
        QFETCH(Risposta, risposta);
        int fine = 0;
        ImpostaFineProgramma([&fine] { ++fine; });
        DialoghiProva* dialoghi = DialoghiProva::Installa();
        dialoghi->ProssimaRisposta(risposta);
        Prova a(u"A"_s);
        Mostra(a);
        QSignalSpy premuto(a.uscita, &QPushButton::clicked);
        QTest::keyClick(a.casella, Qt::Key_F2, Qt::ControlModifier);

        QCOMPARE(dialoghi->Messaggi().size(), 1);
        const Messaggio& m = dialoghi->Messaggi().first();
        QCOMPARE(m.testo, u"FINE DI tarvel?"_s);
        QCOMPARE(m.titolo, u"USCITA FORZATA"_s);
        QCOMPARE(m.pulsanti, Pulsanti::SiNo);
        QCOMPARE(m.icona, Icona::Esclamazione);
        QCOMPARE(m.predefinita, Risposta::No);
        QCOMPARE(fine, risposta == Risposta::Si ? 1 : 0);
        QCOMPARE(premuto.count(), 0);
        QVERIFY(a.isVisible());
        ImpostaFineProgramma([] { QFAIL("the program would have ended"); });
    }

    void ctrlFApreLaRadice()
    {
        QDesktopServices::setUrlHandler(u"file"_s, this, "Apri");
        Prova a(u"A"_s);
        Mostra(a);
        QTest::keyClick(a.casella, Qt::Key_F);
        QTest::keyClick(a.casella, Qt::Key_F, Qt::ControlModifier);
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(a.casella->text(), u"f"_s);
        QCOMPARE(m_aperti, QList<QUrl>{QUrl::fromLocalFile(u"/"_s)});
    }

    void tastiDellaFinestraPrincipale()
    {
        Startup w;
        Mostra(w);
        QTest::keyClick(&w, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(w.windowTitle(), u"Startup !"_s);
    }

    void caratteriFiltrati_data()
    {
        QTest::addColumn<bool>("cifre");
        QTest::addColumn<QString>("battuto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("digits only") << true << u"a1 b2-3.9"_s << u"1239"_s;
        QTest::newRow("upper case") << false << u"it 12-àz"_s << u"IT 12-àZ"_s;
    }
    void caratteriFiltrati()
    {
        QFETCH(bool, cifre);
        QFETCH(QString, battuto);
        QFETCH(QString, atteso);
        QLineEdit casella;
        FiltraCaratteri(&casella, cifre ? SoloCifre : Maiuscolo);
        for (QChar c : battuto) // keyClicks takes ASCII only
            QTest::sendKeyEvent(QTest::Click, &casella, Qt::Key(c.toUpper().unicode()), QString(c), {});
        QCOMPARE(casella.text(), atteso);
        QTest::keyClick(&casella, Qt::Key_Backspace);
        QTest::keyClick(&casella, Qt::Key_Home);
        QTest::keyClick(&casella, Qt::Key_Delete);
        QCOMPARE(casella.text(), atteso.mid(1, atteso.size() - 2));
    }

    void tabAutomatico()
    {
        QWidget w;
        auto* prima = new QLineEdit(&w);
        auto* seconda = new QLineEdit(&w);
        new QVBoxLayout(&w);
        w.layout()->addWidget(prima);
        w.layout()->addWidget(seconda);
        prima->setMaxLength(3);
        FiltraCaratteri(prima, SoloCifre);
        connect(prima, &QLineEdit::textChanged, prima, [prima] { TabAutomatico(prima); });
        connect(seconda, &QLineEdit::textChanged, seconda, [seconda] { TabAutomatico(seconda); });
        Mostra(w);
        prima->setFocus();
        QTest::keyClicks(prima, u"1x2"_s);
        QVERIFY(prima->hasFocus());
        QTest::keyClick(prima, Qt::Key_3);
        QVERIFY(seconda->hasFocus());
        QTest::keyClicks(seconda, u"abcdef"_s); // no length limit of its own: stays
        QVERIFY(seconda->hasFocus());
        QTest::keyClick(seconda, Qt::Key_Backtab);
        QVERIFY(prima->hasFocus()); // the digits filter leaves Tab alone
        QCOMPARE(prima->text(), u"123"_s);
    }

    void apreSottoLaFinestraPrincipale()
    {
        Startup principale;
        Mostra(principale);
        Prova a(u"A"_s);
        Mostra(a);
        // Left on the client area; top lower than the menu bar by the main window's bottom border.
        const QRect esterno = principale.frameGeometry();
        const QPoint cliente = principale.centralWidget()->mapToGlobal(QPoint(0, 0));
        QCOMPARE(Tw(a.frameGeometry().left()), Tw(cliente.x()));
        QCOMPARE(Tw(a.frameGeometry().top()),
                 Tw(cliente.y() + esterno.bottom() - principale.geometry().bottom()) - 90);
        QCOMPARE(a.size(), QSize(300, 200));
    }

    void posizioneSalvataERipristinata_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("wstate");
        QTest::newRow("normal") << int(Qt::WindowNoState) << u"0"_s;
        QTest::newRow("minimized reopens maximized") << int(Qt::WindowMinimized) << u"2"_s;
    }
    void posizioneSalvataERipristinata()
    {
        QFETCH(int, stato);
        QFETCH(QString, wstate);
        Startup principale; // its frame stands in for the frame of a window not yet shown
        Mostra(principale);
        {
            Prova a(u"EleVATok"_s, true);
            Mostra(a);
            a.resize(400, 250);
            a.setWindowState(Qt::WindowStates(stato));
            a.close();
        }
        const auto leggi = [&](const QString& chiave) { return LeggiIni(gFileIni, u"EleVATok"_s, chiave); };
        QCOMPARE(leggi(u"WSTATE"_s), wstate);
        QCOMPARE(leggi(u"DIMX"_s),
                 wstate == u"0"_s ? QString::number(Tw(400 + 4)) : QString()); // 2-pixel frame

        Prova b(u"EleVATok"_s);
        Mostra(b);
        QCOMPARE(b.isMaximized(), wstate == u"2"_s);
        if (!b.isMaximized())
            QCOMPARE(b.size(), QSize(400, 250));
    }

    void attesa()
    {
        Prova a(u"A"_s);
        Mostra(a);
        a.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&a));
        InizioAttesa();
        QCOMPARE(gFormAttesa.data(), &a);
        QCOMPARE(a.cursor().shape(), Qt::WaitCursor);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        FineAttesa();
        QCOMPARE(a.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestFinestreComuni)
#include "tst_FinestreComuni.moc"
