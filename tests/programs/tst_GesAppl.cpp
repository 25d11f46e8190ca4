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

    // The window opened on the settings written so far, active so the focus moves.
    void Apri()
    {
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
            return;
        }
        QTest::mousePress(m_w->windowHandle(), Qt::LeftButton, {}, dove); // runs pending events after
        QTest::mouseRelease(m_w->windowHandle(), Qt::LeftButton, {}, dove);
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

    // An entry without a program loses its name; the main menu follows what was loaded.
    void caricamento()
    {
        m_cartella->Ini().Scrivi({{Chiavi::NomeVarie(1), u" Editor "_s},
                                  {Chiavi::Varie(1), u"/bin/sh"_s},
                                  {Chiavi::NomeVarie(2), u"Solo nome"_s},
                                  {Chiavi::NomeVarie(3), u"Sito"_s},
                                  {Chiavi::Varie(3), u"www.esempio.it"_s}});
        Apri();
        QCOMPARE(m_w->windowTitle(), u" GESTIONE APPLICATIVI"_s);
        QCOMPARE(Txt(1)->text(), u"Editor"_s);
        QCOMPARE(Txt(2)->text(), QString());
        QCOMPARE(Txt(14)->text(), u"www.esempio.it"_s);
        QVERIFY(Pulsante(u"cmdTrova(1)"_s)->isVisible());
        QVERIFY(!Pulsante(u"cmdTrova(2)"_s)->isVisible());
        QCOMPARE(m_voci->size(), 11);
        QCOMPARE(m_voci->at(0), (QVariantList{1, u"Editor"_s, true}));
        QCOMPARE(m_voci->at(1), (QVariantList{2, QString(), false}));
        QCOMPARE(m_voci->at(2), (QVariantList{3, u"Sito"_s, true}));

        // A name typed in shows the browse button once the field is left.
        Txt(2)->setFocus();
        QTest::keyClicks(Txt(2), u"Calcolo"_s);
        QTest::keyClick(Txt(2), Qt::Key_Tab);
        QVERIFY(Pulsante(u"cmdTrova(2)"_s)->isVisible());
        QVERIFY(Txt(13)->hasFocus());
    }

    // Leaving a program field checks it; an error keeps the focus on the field to mend.
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
        Apri();
        Scrivi(2, nome, programma.replace(u"%C"_s, m_cartella->Percorso()));
        QTest::keyClick(Txt(13), Qt::Key_Tab);
        QCoreApplication::processEvents(); // the check runs once the focus has moved
        if (messaggio.isEmpty()) {
            QCOMPARE(Messaggi(), QStringList());
            QVERIFY(Txt(3)->hasFocus());
            return;
        }
        QCOMPARE(Messaggi(), (QStringList{messaggio, u"ERRORE N. %1"_s.arg(campo)}));
        QCOMPARE(m_dialoghi->Messaggi().first().icona, Icona::Critica);
        QCOMPARE(QApplication::focusWidget(), Txt(campo));
    }

    // The mouse going to "&USCITA", "&RIPRISTINA" or a browse button leaves a wrong field unchecked;
    // the access key of "&USCITA" leaves the focus where it is.
    void uscitaSenzaControllo_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::newRow("USCITA") << u"Command1(2)"_s;
        QTest::newRow("Alt+U") << u"Alt+U"_s;
        QTest::newRow("RIPRISTINA") << u"Command1(1)"_s;
        QTest::newRow("browse") << u"cmdTrova(2)"_s;
    }
    void uscitaSenzaControllo()
    {
        QFETCH(QString, pulsante);
        m_cartella->Ini().Scrivi({{Chiavi::NomeVarie(2), u"Prog"_s}, {Chiavi::Varie(2), u"/bin/sh"_s}});
        Apri();
        Scrivi(2, u"Prog"_s, u"/non/esiste"_s);
        if (pulsante == u"Alt+U"_s)
            QTest::keyClick(Txt(13), Qt::Key_U, Qt::AltModifier);
        else
            Clicca(Pulsante(pulsante));
        QCoreApplication::processEvents();
        QCOMPARE(Messaggi(), QStringList());
        if (pulsante == u"Command1(1)"_s) {
            QCOMPARE(Txt(13)->text(), u"/bin/sh"_s); // edits dropped
        } else if (pulsante == u"cmdTrova(2)"_s) {
            QCOMPARE(m_dialoghi->ProgrammiChiesti(), (QList<QStringList>{{u"PROG"_s, u"/non"_s}}));
            QCOMPARE(Txt(13)->text(), u"/non/esiste"_s); // cancelled
        } else {
            QTRY_VERIFY(!m_w->isVisible());
            QCOMPARE(m_w->result(), int(QDialog::Rejected));
            QCOMPARE(Ini(Chiavi::Varie(2)), u"/bin/sh"_s);
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
        m_cartella->Ini().Scrivi({{Chiavi::NomeVarie(2), u"Vecchio"_s}, {Chiavi::Varie(2), u"/bin/sh"_s}});
        Apri();
        Scrivi(3, u"Calcolo"_s, u"/non/esiste"_s);
        Scrivi(2, u"Sito"_s, u"www.esempio.it"_s);
        Txt(4)->setText(u"Solo nome"_s);
        Txt(14)->setFocus();
        m_voci->clear();
        Clicca(Pulsante(u"Command1(0)"_s), insieme);
        QCoreApplication::processEvents();
        QCOMPARE(Messaggi(), (QStringList{u"IL PERCORSO INDICATO NON ESISTE"_s, u"ERRORE N. 14"_s}));
        QCOMPARE(QApplication::focusWidget(), Txt(14));
        QVERIFY(m_w->isVisible());
        QCOMPARE(Ini(Chiavi::NomeVarie(2)), u"Vecchio"_s);
        QVERIFY(m_voci->isEmpty());

        Txt(14)->setText(u"%1/con spazi/prog"_s.arg(m_cartella->Percorso()));
        Clicca(Pulsante(u"Command1(0)"_s));
        QTRY_VERIFY(!m_w->isVisible());
        QCOMPARE(m_w->result(), int(QDialog::Accepted));
        QCOMPARE(Ini(Chiavi::NomeVarie(2)), u"Sito"_s);
        QCOMPARE(Ini(Chiavi::Varie(2)), u"www.esempio.it"_s);
        QCOMPARE(Ini(Chiavi::Varie(3)), m_cartella->File(u"con spazi/prog"_s));
        QCOMPARE(Ini(Chiavi::NomeVarie(4)), u"Solo nome"_s);
        QCOMPARE(m_voci->size(), 11);
        QCOMPARE(m_voci->at(1), (QVariantList{2, u"Sito"_s, true}));
        QCOMPARE(m_voci->at(3), (QVariantList{4, u"Solo nome"_s, false}));
    }

    // Enter moves on as Tab does and never presses "&CONFERMA".
    void invio()
    {
        Apri();
        Txt(1)->setFocus();
        QTest::keyClick(Txt(1), Qt::Key_Return);
        QVERIFY(Txt(12)->hasFocus());
        Txt(22)->setFocus();
        QTest::keyClick(Txt(22), Qt::Key_Enter);
        QCoreApplication::processEvents();
        QVERIFY(m_w->isVisible());
        QVERIFY(!QFileInfo::exists(m_cartella->Ini().File()));
    }

    // A browse starts at the entry's program, or its folder, or the programs' folder.
    void sfoglia_data()
    {
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QString>("scelto"); // "" cancels
        QTest::addColumn<QString>("iniziale");
        QTest::addColumn<QString>("risultato");
        QTest::newRow("empty") << QString() << u"/bin/sh"_s << u"/usr/bin"_s << u"/bin/sh"_s;
        QTest::newRow("program with arguments")
            << u"sh \"x\""_s << u"/bin/ls"_s << QStandardPaths::findExecutable(u"sh"_s) << u"/bin/ls"_s;
        QTest::newRow("missing, cancelled")
            << u"/opt/manca/prog"_s << QString() << u"/opt/manca"_s << u"/opt/manca/prog"_s;
    }
    void sfoglia()
    {
        QFETCH(QString, programma);
        QFETCH(QString, scelto);
        QFETCH(QString, iniziale);
        QFETCH(QString, risultato);
        Apri();
        Txt(5)->setFocus();
        QTest::keyClicks(Txt(5), u"Foglio"_s);
        QTest::keyClick(Txt(5), Qt::Key_Tab);
        Txt(16)->setText(programma);
        m_dialoghi->ProssimoFile(scelto);
        Clicca(Pulsante(u"cmdTrova(5)"_s));
        QCOMPARE(m_dialoghi->ProgrammiChiesti(), (QList<QStringList>{{u"FOGLIO"_s, iniziale}}));
        QCOMPARE(Txt(16)->text(), risultato);
        QCoreApplication::processEvents();
        QCOMPARE(Messaggi(), QStringList());
    }
};

QTEST_MAIN(TestGesAppl)
#include "tst_GesAppl.moc"
