// Mouse presses go through the window, as a real mouse's do, so the window sees them before the
// focus moves.
#define QTEST_QPA_MOUSE_HANDLING

#include "core/ChiaviIni.h"
#include "countries/GesNaz.h"
#include "countries/Nazioni.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestGesNaz : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    Nazioni m_nazioni;
    DialoghiProva* m_dialoghi = nullptr;
    QPointer<GesNaz> m_w;

    QLineEdit* Txt(int i) const { return Controllo<QLineEdit>(*m_w, u"Txt(%1)"_s.arg(i)); }
    QLabel* Bandiera() const { return Controllo<QLabel>(*m_w, u"PctFlag"_s); }
    // The eight boxes' texts, comma-separated, then the control with the focus.
    QString Stato() const
    {
        QStringList campi;
        for (int i = 1; i <= 8; ++i)
            campi << Txt(i)->text();
        const QWidget* fuoco = QApplication::focusWidget();
        return campi.join(u',') + u' ' + (fuoco ? fuoco->objectName() : QString());
    }
    // Keys go where the focus is, as the keyboard's do: "^" is Ctrl+V; "↑", "↓", "⏎", U+F704 and "<" the
    // arrows, Enter, F4 and Backspace.
    static void Digita(const QString& tasti)
    {
        for (QChar c : tasti) {
            QWidget* w = QApplication::focusWidget();
            if (c == u'^')
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
            else if (const int i = u"↑↓⏎\uF704<"_s.indexOf(c); i >= 0)
                QTest::keyClick(w, std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_F4,
                                              Qt::Key_Backspace}[i]);
            else
                QTest::keyClicks(w, QString(c));
        }
    }
    // Enters box `i` by the keyboard, so that its text is selected and typing replaces it.
    void Entra(int i)
    {
        Txt(i)->setFocus();
        QTRY_COMPARE(Txt(i)->selectedText(), Txt(i)->text());
    }
    // The text and title of every message shown.
    QStringList Messaggi() const
    {
        QStringList messaggi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            messaggi << m.testo + u'|' + m.titolo;
        return messaggi;
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_nazioni.Carica(m_cartella->Ini());
        // One more country, without a flag picture and with a length the window would refuse.
        const QString codici = m_cartella->Ini().Leggi(Chiavi::Codici());
        m_cartella->Ini().Scrivi(
            {{Chiavi::Codici(), codici + u"XK,"_s}, {Chiavi::Nazione(u"XK"_s), u"KOSOVO,1,9,0,0,0,0"_s}});
        m_nazioni.Carica(m_cartella->Ini());
        m_dialoghi = DialoghiProva::Installa();
        m_w = new GesNaz(m_cartella->Ini(), m_nazioni);
        m_w->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(Mostra(*m_w));
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w));
    }
    void cleanup() { delete m_w; }

    // A code typed fills the form as its second letter moves the focus on (what the form writes does not
    // move it further); one without a picture shows no flag. F4 opens the list (all rows but the empty
    // last) on the code shown. An unknown code asks: No is an error on the code, Yes goes on.
    void codice()
    {
        Digita(u"it"_s);
        QCOMPARE(Stato(), u"IT,ITALIA,11,11,0,0,0,0 Txt(2)"_s);
        QVERIFY(Bandiera()->isVisible() &&
                Bandiera()->pixmap().toImage() == QPixmap(u":/bandiere/IT.png"_s).toImage());
        Entra(1);
        Digita(u"\uF704"_s);
        auto* elenco = Controllo<QComboBox>(*m_w, u"cbNazioni"_s);
        QVERIFY(elenco->hasFocus());
        QCOMPARE(elenco->currentText() + u' ' + QString::number(elenco->count()), u"IT - ITALIA 28"_s);
        Digita(u"↓⏎"_s); // the next country, Latvia
        QCOMPARE(Stato(), u"LV,LETTONIA,11,11,0,0,0,0 Txt(2)"_s);
        QVERIFY(!elenco->isVisible());

        const QString domanda = u"NAZIONE INESISTENTE\nLa inserisco|NUOVA NAZIONE"_s;
        m_dialoghi->ProssimaRisposta(Risposta::No);
        Entra(1);
        Digita(u"xx"_s);
        QCOMPARE(Messaggi(), (QStringList{domanda, u"NAZIONE NON CODIFICATA|TARVEL -ERRORE N. 1"_s}));
        QCOMPARE(m_dialoghi->Messaggi().first().pulsanti, Pulsanti::SiNo);
        QCOMPARE(Stato(), u"XX,LETTONIA,11,11,0,0,0,0 Txt(1)"_s);
        m_dialoghi->Svuota();
        Entra(1);
        Digita(u"xk"_s);
        QCOMPARE(Stato(), u"XK,KOSOVO,1,9,0,0,0,0 Txt(2)"_s);
        QVERIFY(!Bandiera()->isVisible() && m_dialoghi->Messaggi().isEmpty());
        m_dialoghi->ProssimaRisposta(Risposta::Si);
        Entra(1);
        Digita(u"xx"_s);
        QCOMPARE(Messaggi(), QStringList{domanda});
        QCOMPARE(Stato(), u"XX,KOSOVO,1,9,0,0,0,0 Txt(2)"_s);
    }

    // What each box lets through and where the keys move the focus; a length of 0 switches its range off.
    void tastiera_data()
    {
        QTest::addColumn<int>("casella");
        QTest::addColumn<QString>("tasti"); // as Digita takes them
        QTest::addColumn<QString>("stato"); // as Stato gives it
        QTest::newRow("a length takes digits, backspace and paste")
            << 4 << u"a-b .x7<^"_s << u",,,4,,,, Txt(4)"_s;
        QTest::newRow("name upper-cased") << 2 << u"San marino 1"_s << u",SAN MARINO 1,,,,,, Txt(2)"_s;
        QTest::newRow("up from the code goes round") << 1 << u"↑"_s << u",,,,,,, Txt(8)"_s;
        QTest::newRow("down from the last goes round") << 8 << u"↓"_s << u",,,,,,, Txt(1)"_s;
        QTest::newRow("Enter goes down") << 3 << u"⏎"_s << u",,,,,,, Txt(4)"_s;
        QTest::newRow("Enter leaves the last box") << 8 << u"⏎"_s << u",,,,,,, Command1(1)"_s;
        QTest::newRow("0 is no range") << 5 << u"0↑"_s << u",,,,0,,, Txt(4)"_s;
    }
    void tastiera()
    {
        QFETCH(int, casella);
        QFETCH(QString, tasti);
        QGuiApplication::clipboard()->setText(u"4"_s);
        Entra(casella);
        Digita(tasti);
        QTEST(Stato(), "stato");
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // A length outside 2 to 12 is an error on leaving its box, which keeps its text and the focus and is
    // checked again when left again; Confirm does not get past it, otherwise it empties the form and
    // writes nothing. The exit button leaves even a box in error without a word.
    void confermaEUscita()
    {
        auto* conferma = Controllo<QPushButton>(*m_w, u"Command1(1)"_s);
        Digita(u"gb"_s);
        Entra(3);
        Digita(u"13↑"_s); // left as the second digit moves on, then by the arrow
        QCOMPARE(Stato(), u"GB,GRAN BRETAGNA,13,5,9,9,12,12 Txt(3)"_s);
        Entra(3);
        Digita(u"1"_s);
        QTest::mouseClick(conferma, Qt::LeftButton);
        QCOMPARE(Messaggi(), QStringList(3, u"NUMERO CARATTERI ERRATO (2-12)|TARVEL -ERRORE N. 3"_s));
        QCOMPARE(Stato(), u"GB,GRAN BRETAGNA,1,5,9,9,12,12 Txt(3)"_s);
        Digita(u"7"_s);
        QTest::mouseClick(conferma, Qt::LeftButton);
        QCOMPARE(Stato(), u",,,,,,, Txt(1)"_s);
        QVERIFY(!Bandiera()->isVisible());
        QCOMPARE(m_cartella->Ini().Leggi(Chiavi::Nazione(u"GB"_s)), u"GRAN BRETAGNA,5,5,9,9,12,12"_s);
        Entra(5);
        Digita(u"1"_s);
        QTest::mouseClick(Controllo<QPushButton>(*m_w, u"Command1(0)"_s), Qt::LeftButton);
        QTRY_VERIFY(!m_w);
        QCOMPARE(Messaggi().size(), 3);
    }
};

QTEST_MAIN(TestGesNaz)
#include "tst_GesNaz.moc"
