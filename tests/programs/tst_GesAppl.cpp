#include "core/ChiaviIni.h"
#include "programs/GesAppl.h"
#include "support/CartellaProva.h"
#include "support/Controlli.h"
#include "support/DialoghiProva.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestGesAppl : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    DialoghiProva* m_dialoghi = nullptr;
    std::unique_ptr<GesAppl> m_w;
    std::unique_ptr<QSignalSpy> m_voci;

    QLineEdit* Txt(int n) const { return Controllo<QLineEdit>(*m_w, u"Txt(%1)"_s.arg(n)); }
    QPushButton* Pulsante(const QString& nome) const { return Controllo<QPushButton>(*m_w, nome); }
    QString Ini(const Chiave& chiave) const { return m_cartella->Ini().Leggi(chiave); }

    // The window opened on entry 2 = Prog, /bin/sh (when `voce2`), active so the focus moves.
    void Apri(bool voce2 = true)
    {
        if (voce2)
            m_cartella->Ini().Scrivi({{Chiavi::NomeVarie(2), u"Prog"_s}, {Chiavi::Varie(2), u"/bin/sh"_s}});
        m_w = std::make_unique<GesAppl>(m_cartella->Ini());
        m_voci = std::make_unique<QSignalSpy>(m_w.get(), &GesAppl::VoceMenu);
        QVERIFY(Mostra(*m_w));
        QApplication::setActiveWindow(m_w.get());
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    }
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
    // The menu entries announced, as index, name and whether shown.
    QStringList Voci() const
    {
        QStringList voci;
        for (const QList<QVariant>& v : *m_voci)
            voci << u"%1 %2 %3"_s.arg(v[0].toInt()).arg(v[1].toString()).arg(v[2].toBool());
        return voci.mid(0, 4);
    }

private Q_SLOTS:
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_dialoghi = DialoghiProva::Installa();
        QDir().mkpath(m_cartella->File(u"con spazi"_s));
        QVERIFY(QFile::copy(u"/bin/sh"_s, m_cartella->File(u"con spazi/prog"_s)));
    }
    void cleanup()
    {
        m_voci.reset();
        m_w.reset();
    }

    // An entry without a program loses its name; the main menu follows what was loaded; a browse
    // button shows beside a name, also one typed in once the field is left.
    void caricamento()
    {
        m_cartella->Ini().Scrivi({{Chiavi::NomeVarie(1), u" Editor "_s},
                                  {Chiavi::Varie(1), u"/bin/sh"_s},
                                  {Chiavi::NomeVarie(3), u"Solo nome"_s}});
        Apri(false);
        QCOMPARE(Txt(1)->text() + u'|' + Txt(3)->text(), u"Editor|"_s);
        QCOMPARE(Voci(), (QStringList{u"1 Editor 1"_s, u"2  0"_s, u"3  0"_s, u"4  0"_s}));
        QVERIFY(Pulsante(u"cmdTrova(1)"_s)->isVisible() && !Pulsante(u"cmdTrova(2)"_s)->isVisible());
        Txt(2)->setFocus();
        QTest::keyClicks(Txt(2), u"Calcolo"_s);
        QTest::keyClick(Txt(2), Qt::Key_Tab);
        QVERIFY(Pulsante(u"cmdTrova(2)"_s)->isVisible() && Txt(13)->hasFocus());
    }

    // Leaving a program field checks it as the launch reads it, the text before the first double
    // quote naming the program; an error keeps the focus on the field to mend.
    void uscitaDaCampo_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("programma"); // %C the program folder
        QTest::addColumn<QString>("messaggio"); // "" when correct
        QTest::addColumn<int>("campo");         // in error, and where the focus ends
        const QString inesistente = u"IL PERCORSO INDICATO NON ESISTE"_s;
        QTest::newRow("missing path") << u"Prog"_s << u"/non/esiste"_s << inesistente << 13;
        QTest::newRow("name missing") << QString() << u"/bin/sh"_s
                                      << u"INDICARE IL NOME DEL PROGRAMMA\nDA VISUALIZZARE NEL MENU"_s << 2;
        QTest::newRow("quoted argument") << u"Prog"_s << u"/bin/sh \"a b.txt\""_s << QString() << 0;
        QTest::newRow("starts with a quote") << u"Prog"_s << u"\"/bin/sh\" x"_s << inesistente << 13;
        QTest::newRow("bare name on PATH") << u"Prog"_s << u"sh -c true"_s << QString() << 0;
        QTest::newRow("path with spaces") << u"Prog"_s << u"%C/con spazi/prog"_s << QString() << 0;
        QTest::newRow("quote never closed")
            << u"Prog"_s << u"/bin/sh \"a"_s << u"VIRGOLETTE O APOSTROFI NON CHIUSI"_s << 13;
        QTest::newRow("directory") << u"Prog"_s << u"%C"_s << inesistente << 13;
        QTest::newRow("10 000 characters")
            << u"Prog"_s << u"/bin/sh "_s + QString(10000, u'x')
            << u"TESTO TROPPO LUNGO O CON CARATTERI NON AMMESSI\n"
               u"(AL MASSIMO 198 CARATTERI, SENZA |, TABULAZIONI O VIRGOLETTE AGLI ESTREMI)"_s
            << 13;
    }
    void uscitaDaCampo()
    {
        QFETCH(QString, nome);
        QFETCH(QString, programma);
        QFETCH(QString, messaggio);
        QFETCH(int, campo);
        Apri(false);
        Scrivi(2, nome, programma.replace(u"%C"_s, m_cartella->Percorso()));
        QTest::keyClick(Txt(13), Qt::Key_Tab);
        QCoreApplication::processEvents(); // the check runs once the focus has moved
        const QStringList errore{messaggio, u"ERRORE N. %1"_s.arg(campo)};
        QCOMPARE(Messaggi(), messaggio.isEmpty() ? QStringList() : errore);
        QCOMPARE(QApplication::focusWidget(), Txt(messaggio.isEmpty() ? 3 : campo));
    }

    // The mouse going to "&USCITA", "&RIPRISTINA" or a browse button leaves a wrong field unchecked.
    void uscitaSenzaControllo_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("programma"); // in the field afterwards
        QTest::newRow("USCITA") << u"Command1(2)"_s << QString();
        QTest::newRow("RIPRISTINA: edits dropped") << u"Command1(1)"_s << u"/bin/sh"_s;
        QTest::newRow("browse, cancelled") << u"cmdTrova(2)"_s << u"/non/esiste"_s;
    }
    void uscitaSenzaControllo()
    {
        QFETCH(QString, pulsante);
        Apri();
        Scrivi(2, u"Prog"_s, u"/non/esiste"_s);
        Clicca(Pulsante(pulsante));
        QCOMPARE(Messaggi(), QStringList());
        if (pulsante == u"Command1(2)"_s) {
            QTRY_VERIFY(!m_w->isVisible());
            QCOMPARE(m_w->result(), int(QDialog::Rejected));
            QCOMPARE(Ini(Chiavi::Varie(2)), u"/bin/sh"_s);
        } else {
            QTEST(Txt(13)->text(), "programma");
            // A browse starts in the folder of the program shown.
            QCOMPARE(m_dialoghi->ProgrammiChiesti().value(0).value(1),
                     pulsante == u"Command1(1)"_s ? QString() : u"/non"_s);
        }
    }

    // "&CONFERMA" saves every entry in one go and updates the menu; the first error stops it with
    // one message, even when the field left for the button is wrong too.
    void conferma_data()
    {
        QTest::addColumn<bool>("insieme");
        QTest::newRow("click") << false;
        QTest::newRow("press and release together") << true;
    }
    void conferma()
    {
        QFETCH(bool, insieme);
        Apri();
        Scrivi(3, u"Calcolo"_s, u"/non/esiste"_s);
        Scrivi(2, u"Sito"_s, u"www.esempio.it"_s);
        Txt(4)->setText(u"Solo nome"_s);
        Txt(14)->setFocus();
        m_voci->clear();
        Clicca(Pulsante(u"Command1(0)"_s), insieme);
        QCOMPARE(Messaggi(), (QStringList{u"IL PERCORSO INDICATO NON ESISTE"_s, u"ERRORE N. 14"_s}));
        QCOMPARE(QApplication::focusWidget(), Txt(14));
        QVERIFY(m_w->isVisible() && m_voci->isEmpty());
        QCOMPARE(Ini(Chiavi::NomeVarie(2)), u"Prog"_s);

        Txt(14)->setText(u"%1/con spazi/prog"_s.arg(m_cartella->Percorso()));
        Clicca(Pulsante(u"Command1(0)"_s));
        QTRY_VERIFY(!m_w->isVisible());
        QCOMPARE(m_w->result(), int(QDialog::Accepted));
        QCOMPARE((QStringList{Ini(Chiavi::NomeVarie(2)), Ini(Chiavi::Varie(2)), Ini(Chiavi::Varie(3)),
                              Ini(Chiavi::NomeVarie(4))}),
                 (QStringList{u"Sito"_s, u"www.esempio.it"_s, m_cartella->File(u"con spazi/prog"_s),
                              u"Solo nome"_s}));
        QCOMPARE(m_voci->size(), 11);
        QCOMPARE(Voci(), (QStringList{u"1  0"_s, u"2 Sito 1"_s, u"3 Calcolo 1"_s, u"4 Solo nome 0"_s}));
    }
};

QTEST_MAIN(TestGesAppl)
#include "tst_GesAppl.moc"
