#include "core/ChiaviIni.h"
#include "programs/GesAppl.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestGesAppl : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    DialoghiProva* m_dialoghi = nullptr;
    std::unique_ptr<GesAppl> m_w;

    QLineEdit* Txt(int n) const { return Controllo<QLineEdit>(*m_w, u"Txt(%1)"_s.arg(n)); }
    QPushButton* Pulsante(const QString& nome) const { return Controllo<QPushButton>(*m_w, nome); }
    QString Ini(const Chiave& chiave) const { return m_cartella->Ini().Leggi(chiave); }

    // A press and release through the window, where the user's mouse arrives, with what the press
    // started run in between, as it does unless the program is busy: then `insieme`.
    void Clicca(QWidget* controllo, bool insieme = false)
    {
        const QPoint dove = controllo->mapTo(m_w.get(), controllo->rect().center());
        if (insieme) {
            QTest::mouseClick(m_w->windowHandle(), Qt::LeftButton, {}, dove);
        } else {
            QTest::mousePress(m_w->windowHandle(), Qt::LeftButton, {}, dove); // runs pending events after
            QTest::mouseRelease(m_w->windowHandle(), Qt::LeftButton, {}, dove);
        }
        QCoreApplication::processEvents(); // a check runs once the focus has moved
    }
    // Text, then title, of each message shown.
    QStringList Messaggi() const
    {
        QStringList messaggi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            messaggi << m.testo << m.titolo;
        return messaggi;
    }
    // Fills entry `i` and puts the focus on its program field.
    void Scrivi(int i, const QString& nome, const QString& programma)
    {
        Txt(i)->setText(nome);
        Txt(i + 11)->setText(programma);
        Txt(i + 11)->setFocus();
    }

private Q_SLOTS:
    // The window opened on entry 2 = Prog, /bin/sh and entry 3 a name alone, active so the focus moves.
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_dialoghi = DialoghiProva::Installa();
        m_cartella->Ini().Scrivi({{Chiavi::NomeVarie(2), u"Prog"_s},
                                  {Chiavi::Varie(2), u"/bin/sh"_s},
                                  {Chiavi::NomeVarie(3), u"Solo nome"_s}});
        m_w = std::make_unique<GesAppl>(m_cartella->Ini());
        QVERIFY(Mostra(*m_w));
        QApplication::setActiveWindow(m_w.get());
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    }
    void cleanup() { m_w.reset(); }

    // Leaving a program field checks it as the launch reads it, the text before the first double
    // quote naming the program; an error keeps the focus on the field to mend.
    void uscitaDaCampo_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QString>("messaggio"); // "" when correct
        QTest::addColumn<int>("campo");         // in error, and where the focus ends
        const QString inesistente = u"IL PERCORSO INDICATO NON ESISTE"_s;
        QTest::newRow("missing path") << u"Prog"_s << u"/non/esiste"_s << inesistente << 15;
        QTest::newRow("name missing") << QString() << u"/bin/sh"_s
                                      << u"INDICARE IL NOME DEL PROGRAMMA\nDA VISUALIZZARE NEL MENU"_s << 4;
        QTest::newRow("quoted argument") << u"Prog"_s << u"/bin/sh \"a b.txt\""_s << QString() << 0;
        QTest::newRow("starts with a quote") << u"Prog"_s << u"\"/bin/sh\" x"_s << inesistente << 15;
        QTest::newRow("bare name on PATH") << u"Prog"_s << u"sh -c true"_s << QString() << 0;
        QTest::newRow("quote never closed")
            << u"Prog"_s << u"/bin/sh \"a"_s << u"VIRGOLETTE O APOSTROFI NON CHIUSI"_s << 15;
        QTest::newRow("10 000 characters")
            << u"Prog"_s << u"/bin/sh "_s + QString(10000, u'x')
            << u"TESTO TROPPO LUNGO O CON CARATTERI NON AMMESSI\n"
               u"(AL MASSIMO 198 CARATTERI, SENZA |, TABULAZIONI O VIRGOLETTE AGLI ESTREMI)"_s
            << 15;
    }
    void uscitaDaCampo()
    {
        QFETCH(QString, nome);
        QFETCH(QString, programma);
        QFETCH(QString, messaggio);
        QFETCH(int, campo);
        Scrivi(4, nome, programma);
        QTest::keyClick(Txt(15), Qt::Key_Tab);
        QCoreApplication::processEvents(); // the check runs once the focus has moved
        const QStringList errore{messaggio, u"ERRORE N. %1"_s.arg(campo)};
        QCOMPARE(Messaggi(), messaggio.isEmpty() ? QStringList() : errore);
        QCOMPARE(QApplication::focusWidget(), Txt(messaggio.isEmpty() ? 5 : campo));
    }

    // The mouse going to "&USCITA", "&RIPRISTINA" or a browse button leaves a wrong field unchecked,
    // and nothing is saved.
    void uscitaSenzaControllo_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("programma"); // in the field afterwards
        QTest::addColumn<QString>("cartella");  // where the browse started, the folder of the program shown
        QTest::newRow("USCITA") << u"Command1(2)"_s << u"/non/esiste"_s << QString();
        QTest::newRow("RIPRISTINA: edits dropped") << u"Command1(1)"_s << u"/bin/sh"_s << QString();
        QTest::newRow("browse, cancelled") << u"cmdTrova(2)"_s << u"/non/esiste"_s << u"/non"_s;
    }
    void uscitaSenzaControllo()
    {
        QFETCH(QString, pulsante);
        Scrivi(2, u"Prog"_s, u"/non/esiste"_s);
        Clicca(Pulsante(pulsante));
        QCOMPARE(Messaggi(), QStringList());
        QTEST(Txt(13)->text(), "programma");
        QTEST(m_dialoghi->ProgrammiChiesti().value(0).value(1), "cartella");
        QTRY_COMPARE(m_w->isVisible(), pulsante != u"Command1(2)"_s);
        QCOMPARE(Ini(Chiavi::Varie(2)), u"/bin/sh"_s);
    }

    // On loading, an entry without a program loses its name; a browse button shows beside a program,
    // and beside a name typed in once it is left. "&CONFERMA" saves every entry in one go; the first
    // error stops it with one message, even when the field left for the button is wrong too.
    void conferma_data()
    {
        QTest::addColumn<bool>("insieme");
        QTest::newRow("click") << false;
        QTest::newRow("press and release together") << true;
    }
    void conferma()
    {
        QFETCH(bool, insieme);
        QCOMPARE(Txt(3)->text(), QString());
        QVERIFY(Pulsante(u"cmdTrova(2)"_s)->isVisible() && !Pulsante(u"cmdTrova(3)"_s)->isVisible());
        Txt(3)->setFocus();
        QTest::keyClicks(Txt(3), u"Calcolo"_s);
        QTest::keyClick(Txt(3), Qt::Key_Tab);
        QVERIFY(Pulsante(u"cmdTrova(3)"_s)->isVisible() && Txt(14)->hasFocus());
        Txt(14)->setText(u"/non/esiste"_s);
        Scrivi(2, u"Sito"_s, u"www.esempio.it"_s);
        Txt(4)->setText(u"Solo nome"_s);
        Txt(14)->setFocus();
        Clicca(Pulsante(u"Command1(0)"_s), insieme);
        QCOMPARE(Messaggi(), (QStringList{u"IL PERCORSO INDICATO NON ESISTE"_s, u"ERRORE N. 14"_s}));
        QCOMPARE(QApplication::focusWidget(), Txt(14));
        QVERIFY(m_w->isVisible());
        QCOMPARE(Ini(Chiavi::NomeVarie(2)), u"Prog"_s);

        Txt(14)->setText(u"/bin/sh"_s);
        Clicca(Pulsante(u"Command1(0)"_s));
        QTRY_VERIFY(!m_w->isVisible());
        QCOMPARE(m_w->result(), int(QDialog::Accepted));
        QCOMPARE((QStringList{Ini(Chiavi::NomeVarie(2)), Ini(Chiavi::Varie(2)), Ini(Chiavi::NomeVarie(3)),
                              Ini(Chiavi::Varie(3)), Ini(Chiavi::NomeVarie(4))}),
                 (QStringList{u"Sito"_s, u"www.esempio.it"_s, u"Calcolo"_s, u"/bin/sh"_s, u"Solo nome"_s}));
    }
};

QTEST_MAIN(TestGesAppl)
#include "tst_GesAppl.moc"
