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
    QComboBox* Elenco() const { return Controllo<QComboBox>(*m_w, u"cbNazioni"_s); }
    // The eight boxes' texts, comma-separated.
    QString Campi() const
    {
        QStringList campi;
        for (int i = 1; i <= 8; ++i)
            campi << Txt(i)->text();
        return campi.join(u',');
    }
    static QString Fuoco()
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    // Keys go where the focus is, as the keyboard's do: "^" is Ctrl+V, "<" Backspace, "↑", "↓", "⏎"
    // and U+F704 the arrows, Enter and F4, each as a keyboard sends them.
    static void Digita(const QString& tasti)
    {
        for (QChar c : tasti) {
            QWidget* w = QApplication::focusWidget();
            if (c == u'^')
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
            else if (c == u'<')
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_Backspace, QString(QChar(8)), {});
            else if (const int i = u"↑↓⏎\uF704"_s.indexOf(c); i >= 0)
                QTest::keyClick(w, std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_F4}[i]);
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
        Txt(1)->setFocus();
    }
    void cleanup() { delete m_w; }

    // Typing a code fills the form as the second letter moves the focus on; what the form writes
    // does not move it further.
    void codiceNoto_data()
    {
        QTest::addColumn<QString>("prima"); // a code shown before, or none
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("campi");
        QTest::addColumn<QString>("bandiera"); // "" when none shows
        QTest::newRow("IT") << QString() << u"it"_s << u"IT,ITALIA,11,11,0,0,0,0"_s << u"IT"_s;
        QTest::newRow("EL, Greece") << QString() << u"el"_s << u"EL,GRECIA,9,9,0,0,0,0"_s << u"EL"_s;
        QTest::newRow("no picture after one")
            << u"se"_s << u"xk"_s << u"XK,KOSOVO,1,9,0,0,0,0"_s << QString();
    }
    void codiceNoto()
    {
        QFETCH(QString, prima);
        QFETCH(QString, campi);
        QFETCH(QString, bandiera);
        if (!prima.isEmpty()) {
            Digita(prima);
            QVERIFY(Bandiera()->isVisible());
            Entra(1);
        }
        QFETCH(QString, digitato);
        Digita(digitato);
        QCOMPARE(Campi(), campi);
        QCOMPARE(Fuoco(), u"Txt(2)"_s);
        QTRY_COMPARE(Txt(2)->selectedText(), campi.section(u',', 1, 1));
        QCOMPARE(Bandiera()->isVisible(), !bandiera.isEmpty());
        if (!bandiera.isEmpty())
            QCOMPARE(Bandiera()->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                     QImage(u":/bandiere/%1.png"_s.arg(bandiera)).convertToFormat(QImage::Format_ARGB32));
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // An unknown code asks whether to insert it: No is an error on the code, Yes goes on to the
    // name; either way the fields keep what they showed.
    void codiceSconosciuto_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<QStringList>("messaggi");
        QTest::addColumn<QString>("fuoco");
        const QString domanda = u"NAZIONE INESISTENTE\nLa inserisco|NUOVA NAZIONE"_s;
        QTest::newRow("No") << Risposta::No
                            << QStringList{domanda, u"NAZIONE NON CODIFICATA|TARVEL -ERRORE N. 1"_s}
                            << u"Txt(1)"_s;
        QTest::newRow("Yes") << Risposta::Si << QStringList{domanda} << u"Txt(2)"_s;
    }
    void codiceSconosciuto()
    {
        Digita(u"it"_s);
        Entra(1);
        QFETCH(Risposta, risposta);
        m_dialoghi->ProssimaRisposta(risposta);
        Digita(u"xx"_s);
        QTEST(Messaggi(), "messaggi");
        QCOMPARE(m_dialoghi->Messaggi().first().pulsanti, Pulsanti::SiNo);
        QTEST(Fuoco(), "fuoco");
        QCOMPARE(Campi(), u"XX,ITALIA,11,11,0,0,0,0"_s);
        QVERIFY(Bandiera()->isVisible());
    }

    // What each box lets through, where the keys move the focus, and the length check on leaving a
    // box: 0 (range off) or 2 to 12; the box in error keeps its text and the focus, and is checked
    // again when left again.
    void tastiera_data()
    {
        QTest::addColumn<int>("casella");
        QTest::addColumn<QString>("tasti"); // as Digita takes them
        QTest::addColumn<QString>("campi");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<int>("errori"); // length messages on this box
        QTest::newRow("letters and signs in a length")
            << 4 << u"a-b .x7"_s << u",,,7,,,,"_s << u"Txt(4)"_s << 0;
        QTest::newRow("backspace and paste in a length")
            << 6 << u"8<^"_s << u",,,,,4,,"_s << u"Txt(6)"_s << 0;
        QTest::newRow("name upper-cased")
            << 2 << u"San marino 1"_s << u",SAN MARINO 1,,,,,,"_s << u"Txt(2)"_s << 0;
        QTest::newRow("up from the code goes round") << 1 << u"↑"_s << u",,,,,,,"_s << u"Txt(8)"_s << 0;
        QTest::newRow("down from the last goes round") << 8 << u"↓"_s << u",,,,,,,"_s << u"Txt(1)"_s << 0;
        QTest::newRow("Enter goes down") << 3 << u"⏎"_s << u",,,,,,,"_s << u"Txt(4)"_s << 0;
        QTest::newRow("Enter leaves the last box") << 8 << u"⏎"_s << u",,,,,,,"_s << u"Command1(1)"_s << 0;
        QTest::newRow("0 is no range") << 5 << u"0↑"_s << u",,,,0,,,"_s << u"Txt(4)"_s << 0;
        QTest::newRow("13, then up: checked twice") << 3 << u"13↑"_s << u",,13,,,,,"_s << u"Txt(3)"_s << 2;
        QTest::newRow("1, down") << 4 << u"1↓"_s << u",,,1,,,,"_s << u"Txt(4)"_s << 1;
    }
    void tastiera()
    {
        QFETCH(int, casella);
        QFETCH(QString, tasti);
        QFETCH(int, errori);
        QGuiApplication::clipboard()->setText(u"4"_s);
        Entra(casella);
        Digita(tasti);
        QTEST(Campi(), "campi");
        QTEST(Fuoco(), "fuoco");
        QCOMPARE(Messaggi(),
                 QStringList(errori, u"NUMERO CARATTERI ERRATO (2-12)|TARVEL -ERRORE N. %1"_s.arg(casella)));
    }

    // F4 in the code box opens the list on the code shown; a choice fills the form, and leaving the
    // list hides it and goes to the name.
    void elenco()
    {
        Digita(u"it"_s);
        Entra(1);
        Digita(u"\uF704"_s);
        QCOMPARE(Fuoco() + u' ' + Elenco()->currentText(), u"cbNazioni IT - ITALIA"_s);
        Digita(u"↓"_s); // the next country, Latvia
        QCOMPARE(Campi(), u"LV,LETTONIA,11,11,0,0,0,0"_s);
        Digita(u"⏎"_s);
        QCOMPARE(Fuoco() + u' ' + QString::number(Elenco()->isVisible()), u"Txt(2) 0"_s);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // A click on the exit button leaves even a box in error without a word: closing the window is
    // no move between fields.
    void uscita()
    {
        Entra(5);
        Digita(u"1"_s);
        QTest::mouseClick(Controllo<QPushButton>(*m_w, u"Command1(0)"_s), Qt::LeftButton);
        QTRY_VERIFY(!m_w);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Confirm does not get past a box in error; otherwise it empties the form and writes nothing.
    void conferma()
    {
        const auto ini = [this] {
            QFile f(m_cartella->File(u"tarvel.ini"_s));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray prima = ini();
        auto* conferma = Controllo<QPushButton>(*m_w, u"Command1(1)"_s);
        Digita(u"gb"_s);
        Entra(3);
        Digita(u"1"_s);
        QTest::mouseClick(conferma, Qt::LeftButton);
        QCOMPARE(Messaggi(), QStringList{u"NUMERO CARATTERI ERRATO (2-12)|TARVEL -ERRORE N. 3"_s});
        QCOMPARE(Fuoco() + u' ' + Txt(3)->text(), u"Txt(3) 1"_s);
        Digita(u"7"_s);
        QTest::mouseClick(conferma, Qt::LeftButton);
        QCOMPARE(Campi(), u",,,,,,,"_s);
        QVERIFY(!Bandiera()->isVisible());
        QCOMPARE(Fuoco(), u"Txt(1)"_s);
        QCOMPARE(Messaggi().size(), 1);
        QCOMPARE(ini(), prima);
    }
};

QTEST_MAIN(TestGesNaz)
#include "tst_GesNaz.moc"
