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
    QPushButton* Comando(int i) const { return Controllo<QPushButton>(*m_w, u"Command1(%1)"_s.arg(i)); }
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
    // Keys go where the focus is, as the keyboard's do.
    static void Premi(Qt::Key tasto) { QTest::keyClick(QApplication::focusWidget(), tasto); }
    static void Digita(const QString& testo)
    {
        for (QChar c : testo)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
    }
    // Enters box `i` by the keyboard, so that its text is selected and typing replaces it.
    void Entra(int i)
    {
        Txt(i)->setFocus();
        QTRY_COMPARE(Txt(i)->selectedText(), Txt(i)->text());
    }
    // The (text, title) of every message shown.
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
        QCOMPARE(Campi(), u",,,,,,,"_s);
        QVERIFY(!Bandiera()->isVisible() && !Elenco()->isVisible());
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
        QTest::newRow("GB, three ranges")
            << QString() << u"gB"_s << u"GB,GRAN BRETAGNA,5,5,9,9,12,12"_s << u"GB"_s;
        QTest::newRow("EL, Greece") << QString() << u"el"_s << u"EL,GRECIA,9,9,0,0,0,0"_s << u"EL"_s;
        QTest::newRow("no picture after one")
            << u"se"_s << u"xk"_s << u"XK,KOSOVO,1,9,0,0,0,0"_s << QString();
    }
    void codiceNoto()
    {
        QFETCH(QString, prima);
        QFETCH(QString, digitato);
        QFETCH(QString, campi);
        QFETCH(QString, bandiera);
        if (!prima.isEmpty()) {
            Digita(prima);
            QVERIFY(Bandiera()->isVisible());
            Entra(1);
        }
        Digita(digitato);
        QCOMPARE(Campi(), campi);
        QCOMPARE(Fuoco(), u"Txt(2)"_s);
        QTRY_COMPARE(Txt(2)->selectedText(), campi.section(u',', 1, 1));
        QCOMPARE(Bandiera()->isVisible(), !bandiera.isEmpty());
        if (!bandiera.isEmpty()) {
            const QImage immagine = Bandiera()->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(immagine.size(), QSize(48, 32));
            QCOMPARE(immagine,
                     QImage(u":/bandiere/%1.png"_s.arg(bandiera)).convertToFormat(QImage::Format_ARGB32));
        }
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
        QFETCH(Risposta, risposta);
        QFETCH(QStringList, messaggi);
        QFETCH(QString, fuoco);
        Digita(u"it"_s);
        Entra(1);
        m_dialoghi->ProssimaRisposta(risposta);
        Digita(u"xx"_s);
        QCOMPARE(Messaggi(), messaggi);
        QCOMPARE(m_dialoghi->Messaggi().first().pulsanti, Pulsanti::SiNo);
        QCOMPARE(m_dialoghi->Messaggi().last().icona,
                 risposta == Risposta::No ? Icona::Critica : Icona::Domanda);
        QCOMPARE(Fuoco(), fuoco);
        QCOMPARE(Campi(), u"XX,ITALIA,11,11,0,0,0,0"_s);
        QVERIFY(Bandiera()->isVisible());
    }

    // A length is 0 (range off) or 2 to 12; the box in error keeps its text and gets the focus back,
    // and is checked again when left again.
    void lunghezze_data()
    {
        QTest::addColumn<int>("casella");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<Qt::Key>("uscita");
        QTest::addColumn<bool>("errore");
        QTest::newRow("13, full box") << 3 << u"13"_s << Qt::Key_unknown << true;
        QTest::newRow("1, down arrow") << 4 << u"1"_s << Qt::Key_Down << true;
        QTest::newRow("1, Enter in the last box") << 8 << u"1"_s << Qt::Key_Return << true;
        QTest::newRow("0") << 5 << u"0"_s << Qt::Key_Up << false;
        QTest::newRow("empty") << 7 << QString() << Qt::Key_Down << false;
        QTest::newRow("2") << 8 << u"2"_s << Qt::Key_Down << false;
        QTest::newRow("12") << 3 << u"12"_s << Qt::Key_unknown << false;
    }
    void lunghezze()
    {
        QFETCH(int, casella);
        QFETCH(QString, digitato);
        QFETCH(Qt::Key, uscita);
        QFETCH(bool, errore);
        Entra(casella);
        Digita(digitato);
        if (uscita != Qt::Key_unknown)
            Premi(uscita);
        const QString titolo = u"TARVEL -ERRORE N. "_s + QString::number(casella);
        QCOMPARE(Messaggi(),
                 errore ? QStringList{u"NUMERO CARATTERI ERRATO (2-12)|"_s + titolo} : QStringList());
        QCOMPARE(Fuoco() == Txt(casella)->objectName(), errore);
        QCOMPARE(Txt(casella)->text(), digitato);
        if (!errore)
            return;
        QTRY_COMPARE(Txt(casella)->selectedText(), digitato);
        m_dialoghi->Svuota();
        Premi(Qt::Key_Up);
        QCOMPARE(Messaggi().size(), 1);
        QCOMPARE(Fuoco(), Txt(casella)->objectName());
    }

    // What each box lets through. Ctrl+V and Backspace arrive as their control characters, as a
    // keyboard sends them.
    void caratteri_data()
    {
        QTest::addColumn<int>("casella");
        QTest::addColumn<QString>("tasti"); // "^" is Ctrl+V, "<" Backspace
        QTest::addColumn<QString>("testo");
        QTest::newRow("letters and signs in a length") << 4 << u"a-b .x7"_s << u"7"_s;
        QTest::newRow("backspace in a length") << 5 << u"8<"_s << QString();
        QTest::newRow("paste in a length") << 6 << u"^"_s << u"4"_s;
        QTest::newRow("name upper-cased") << 2 << u"San marino 1"_s << u"SAN MARINO 1"_s;
        QTest::newRow("code upper-cased") << 1 << u"x"_s << u"X"_s;
    }
    void caratteri()
    {
        QFETCH(int, casella);
        QFETCH(QString, tasti);
        QFETCH(QString, testo);
        QGuiApplication::clipboard()->setText(u"4"_s);
        Entra(casella);
        for (QChar c : tasti) {
            if (c == u'^')
                QTest::sendKeyEvent(QTest::Click, Txt(casella), Qt::Key_V, QString(QChar(22)),
                                    Qt::ControlModifier);
            else if (c == u'<')
                QTest::sendKeyEvent(QTest::Click, Txt(casella), Qt::Key_Backspace, QString(QChar(8)), {});
            else
                QTest::keyClicks(Txt(casella), QString(c));
        }
        QCOMPARE(Txt(casella)->text(), testo);
    }

    // Up and down go round the eight boxes; Enter goes down, but leaves them from the last one.
    void frecce_data()
    {
        QTest::addColumn<int>("da");
        QTest::addColumn<Qt::Key>("tasto");
        QTest::addColumn<QString>("fuoco");
        QTest::newRow("up from the code") << 1 << Qt::Key_Up << u"Txt(8)"_s;
        QTest::newRow("down from the last") << 8 << Qt::Key_Down << u"Txt(1)"_s;
        QTest::newRow("up between rows") << 5 << Qt::Key_Up << u"Txt(4)"_s;
        QTest::newRow("Enter") << 3 << Qt::Key_Return << u"Txt(4)"_s;
        QTest::newRow("Enter in the last") << 8 << Qt::Key_Enter << u"Command1(1)"_s;
    }
    void frecce()
    {
        QFETCH(int, da);
        QFETCH(Qt::Key, tasto);
        QFETCH(QString, fuoco);
        Entra(da);
        Premi(tasto);
        QCOMPARE(Fuoco(), fuoco);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // F4 or a double click in the code box opens the list on the code shown; a choice fills the
    // form, and leaving the list hides it and goes to the name.
    void elenco_data()
    {
        QTest::addColumn<int>("casella");
        QTest::addColumn<bool>("doppioClic");
        QTest::addColumn<bool>("aperto");
        QTest::newRow("F4 in the code") << 1 << false << true;
        QTest::newRow("double click on the code") << 1 << true << true;
        QTest::newRow("F4 in the name") << 2 << false << false;
        QTest::newRow("double click on a length") << 3 << true << false;
    }
    void elenco()
    {
        QFETCH(int, casella);
        QFETCH(bool, doppioClic);
        QFETCH(bool, aperto);
        Digita(u"it"_s);
        Entra(casella);
        if (doppioClic)
            QTest::mouseDClick(Txt(casella), Qt::LeftButton);
        else
            Premi(Qt::Key_F4);
        QCOMPARE(Elenco()->isVisible(), aperto);
        if (!aperto)
            return;
        QCOMPARE(Fuoco(), u"cbNazioni"_s);
        QCOMPARE(Elenco()->currentText(), u"IT - ITALIA"_s);
        QCOMPARE(Elenco()->count(), 28);
        Premi(Qt::Key_Down); // the next country, Latvia
        QCOMPARE(Campi(), u"LV,LETTONIA,11,11,0,0,0,0"_s);
        Premi(Qt::Key_Return);
        QVERIFY(!Elenco()->isVisible());
        QCOMPARE(Fuoco(), u"Txt(2)"_s);
        QCOMPARE(Txt(1)->text(), u"LV"_s);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Leaving the list by a click on a length box goes to the name, without checking the box that
    // the focus only passed through.
    void elencoLasciatoColMouse()
    {
        Premi(Qt::Key_F4);
        Premi(Qt::Key_End); // the last country, whose minimum is 1
        QCOMPARE(Txt(3)->text(), u"1"_s);
        QTest::mouseClick(Txt(3), Qt::LeftButton);
        QVERIFY(!Elenco()->isVisible());
        QCOMPARE(Fuoco(), u"Txt(2)"_s);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // The exit button, by the mouse or by F2, leaves even a box in error without a word: closing
    // the window is no move between fields.
    void uscita_data()
    {
        QTest::addColumn<bool>("mouse");
        QTest::newRow("mouse") << true;
        QTest::newRow("F2") << false;
    }
    void uscita()
    {
        QFETCH(bool, mouse);
        Entra(5);
        Digita(u"1"_s);
        if (mouse)
            QTest::mouseClick(Comando(0), Qt::LeftButton);
        else
            Premi(Qt::Key_F2);
        QTRY_VERIFY(!m_w);
        QVERIFY(m_dialoghi->Messaggi().isEmpty());
    }

    // Confirm does not get past a box in error; otherwise it empties the form and writes nothing.
    void conferma()
    {
        QFile ini(m_cartella->File(u"tarvel.ini"_s));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray prima = ini.readAll();
        ini.close();
        Digita(u"gb"_s);
        Entra(3);
        Digita(u"1"_s);
        QTest::mouseClick(Comando(1), Qt::LeftButton);
        QCOMPARE(Messaggi(), QStringList{u"NUMERO CARATTERI ERRATO (2-12)|TARVEL -ERRORE N. 3"_s});
        QCOMPARE(Fuoco(), u"Txt(3)"_s);
        QCOMPARE(Txt(3)->text(), u"1"_s);

        Digita(u"7"_s);
        QTest::mouseClick(Comando(1), Qt::LeftButton);
        QCOMPARE(Campi(), u",,,,,,,"_s);
        QVERIFY(!Bandiera()->isVisible());
        QCOMPARE(Fuoco(), u"Txt(1)"_s);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), prima);
        QCOMPARE(Messaggi().size(), 1);
    }
};

QTEST_MAIN(TestGesNaz)
#include "tst_GesNaz.moc"
