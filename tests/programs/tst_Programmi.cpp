#include "core/ChiaviIni.h"
#include "programs/Applicativi.h"
#include "programs/ModuliOpzionali.h"
#include "programs/RisolviProgramma.h"
#include "programs/ServiziSistema.h"
#include "session/Sessione.h"
#include "support/CartellaProva.h"
#include "support/DialoghiProva.h"

#include <QUrl>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A program that writes the count of its arguments, then each one followed by a NUL, to its own
// path + ".args", in one rename so the file is never read half written.
void ScriviRegistratore(const QString& percorso, bool eseguibile = true)
{
    QDir().mkpath(QFileInfo(percorso).path());
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n{ printf '%s\\n' \"$#\"; printf '%s\\0' \"$@\"; } > \"$0.tmp\" && "
            "mv \"$0.tmp\" \"$0.args\"\n");
    f.close();
    const auto lettura = QFile::ReadOwner | QFile::WriteOwner;
    QVERIFY(f.setPermissions(eseguibile ? lettura | QFile::ExeOwner : lettura));
}

// The arguments the program at `percorso` was started with; fails the test if it never starts.
QStringList Registrati(const QString& percorso)
{
    QFile f(percorso + u".args"_s);
    if (!QTest::qWaitFor([&] { return f.exists(); }) || !f.open(QIODevice::ReadOnly))
        return {u"(never started)"_s};
    const int quanti = f.readLine().trimmed().toInt();
    QStringList argomenti;
    for (const QByteArray& a : f.readAll().split('\0').mid(0, quanti))
        argomenti.append(QString::fromUtf8(a));
    return argomenti;
}

} // namespace

class TestProgrammi : public QObject
{
    Q_OBJECT

    std::unique_ptr<CartellaProva> m_cartella;
    std::unique_ptr<Sessione> m_sessione;
    DialoghiProva* m_dialoghi = nullptr;
    QTemporaryDir m_sulPath; // programs found by name
    QStringList m_indirizzi;

    // `testo` with %C the program folder and %P the folder on PATH.
    QString Espandi(QString testo) const
    {
        return testo.replace(u"%C"_s, m_cartella->Percorso()).replace(u"%P"_s, m_sulPath.path());
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("PATH", QFile::encodeName(m_sulPath.path()) + ':' + qgetenv("PATH"));
        for (const QString& nome : {u"registra-tarvel"_s, u"localc"_s, u"libreoffice"_s, u"soffice"_s})
            ScriviRegistratore(m_sulPath.filePath(nome));
        ImpostaApriIndirizzo([this](const QUrl& indirizzo) {
            m_indirizzi.append(indirizzo.toString());
            return true;
        });
    }
    void init()
    {
        m_cartella = std::make_unique<CartellaProva>();
        m_sessione = ApriSessione(m_cartella->Percorso(), ModoSessione::Comando);
        m_dialoghi = DialoghiProva::Installa();
        m_indirizzi.clear();
    }

    void dividiComando_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("parole"); // {"(none)"} for a quote that never closes
        QTest::newRow("blanks and tabs") << u"  a  b\tc "_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("double quotes") << u"gedit \"a b.txt\""_s << QStringList{u"gedit"_s, u"a b.txt"_s};
        QTest::newRow("single quotes keep backslashes")
            << u"x 'a \\\" b'"_s << QStringList{u"x"_s, u"a \\\" b"_s};
        QTest::newRow("escaped quote inside quotes") << u"\"a\\\"b\""_s << QStringList{u"a\"b"_s};
        QTest::newRow("backslash keeps a blank") << u"/opt/my\\ prog/x"_s << QStringList{u"/opt/my prog/x"_s};
        QTest::newRow("quotes join a word") << u"a\"b c\"d"_s << QStringList{u"ab cd"_s};
        QTest::newRow("empty quoted word") << u"x \"\""_s << QStringList{u"x"_s, QString()};
        QTest::newRow("empty text") << QString() << QStringList();
        QTest::newRow("double quote never closed") << u"gedit \"a b"_s << QStringList{u"(none)"_s};
        QTest::newRow("apostrophe never closed") << u"localc l'elenco.csv"_s << QStringList{u"(none)"_s};
    }
    void dividiComando()
    {
        QFETCH(QString, testo);
        QTEST(DividiComando(testo).value_or(QStringList{u"(none)"_s}), "parole");
    }

    // One entry launched as the menu and the list check launch it: the program records what it was
    // started with; addresses go to the default program; anything else ends in a message.
    void lancio_data()
    {
        QTest::addColumn<QString>("programma"); // Varie2
        QTest::addColumn<QString>("argomento");
        QTest::addColumn<QString>("registratore"); // the program expected to start, "" for none
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<QString>("messaggio"); // %I the settings file

        const QString r = u"%C/registra"_s;
        QTest::newRow("file argument kept whole")
            << r << u"/tmp/a b/elenco;1.txt"_s << r << QStringList{u"/tmp/a b/elenco;1.txt"_s} << QString()
            << QString();
        QTest::newRow("own arguments, then the file")
            << r + u" \"a b\" 'c d' e\\ f"_s << u"x"_s << r
            << QStringList{u"a b"_s, u"c d"_s, u"e f"_s, u"x"_s} << QString() << QString();
        QTest::newRow("path with spaces")
            << u"%C/con spazi/registra"_s << QString() << u"%C/con spazi/registra"_s << QStringList()
            << QString() << QString();
        QTest::newRow("name on PATH") << u"registra-tarvel --calc"_s << QString() << u"%P/registra-tarvel"_s
                                      << QStringList{u"--calc"_s} << QString() << QString();
        QTest::newRow("empty: the program named after the key")
            << QString() << u"f"_s << u"%C/Varie2"_s << QStringList{u"f"_s} << QString() << QString();
        QTest::newRow("missing: the program named after the key")
            << u"/non/esiste/prog"_s << QString() << u"%C/Varie2"_s << QStringList() << QString()
            << QString();
        QTest::newRow("10 000 character argument")
            << r << QString(10000, u'a') << r << QStringList{QString(10000, u'a')} << QString() << QString();
        QTest::newRow("www") << u"www.esempio.it/pagina"_s << u"f"_s << QString() << QStringList()
                             << u"http://www.esempio.it/pagina"_s << QString();
        QTest::newRow("mail") << u"mailto:ufficio@esempio.it"_s << QString() << QString() << QStringList()
                              << u"mailto:ufficio@esempio.it"_s << QString();
        QTest::newRow("missing") << u"/non/esiste/prog"_s << QString() << QString() << QStringList()
                                 << QString() << u"Varie2 non presente su %I"_s;
        QTest::newRow("quote never closed") << r + u" \"a b"_s << QString() << QString() << QStringList()
                                            << QString() << u"Varie2 non presente su %I"_s;
        QTest::newRow("directory") << u"%C"_s << QString() << QString() << QStringList() << QString()
                                   << u"Varie2 non presente su %I"_s;
        QTest::newRow("not runnable") << u"%C/fermo"_s << QString() << QString() << QStringList() << QString()
                                      << u"%C/fermo non trovato"_s;
        QTest::newRow("10 000 characters, read back cut")
            << r + u' ' + QString(10000, u'b') << QString() << QString() << QStringList() << QString()
            << u"Varie2 troppo lungo su %I"_s;
    }
    void lancio()
    {
        QFETCH(QString, programma);
        QFETCH(QString, argomento);
        QFETCH(QString, registratore);
        QFETCH(QStringList, argomenti);
        QFETCH(QString, indirizzo);
        QFETCH(QString, messaggio);
        ScriviRegistratore(m_cartella->File(u"registra"_s));
        ScriviRegistratore(m_cartella->File(u"con spazi/registra"_s));
        if (registratore.endsWith(u"/Varie2"_s))
            ScriviRegistratore(m_cartella->File(u"Varie2"_s));
        ScriviRegistratore(m_cartella->File(u"fermo"_s), false);
        QFile::remove(m_sulPath.filePath(u"registra-tarvel.args"_s));
        m_cartella->Ini().Scrivi(Chiavi::Varie(2), Espandi(programma));

        LanciaModulo(*m_sessione, u"Varie2"_s, argomento);

        QStringList messaggi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            messaggi.append(m.testo);
        const QString atteso = Espandi(messaggio).replace(u"%I"_s, m_sessione->fileIni);
        QCOMPARE(messaggi, atteso.isEmpty() ? QStringList() : QStringList{atteso});
        QCOMPARE(m_indirizzi, indirizzo.isEmpty() ? QStringList() : QStringList{indirizzo});
        if (!registratore.isEmpty())
            QCOMPARE(Registrati(Espandi(registratore)), argomenti);
    }

    // The argument belongs to one start: the next start of the same launcher goes without it.
    void argomentoDiUnSoloAvvio()
    {
        const QString registratore = m_cartella->File(u"registra"_s);
        ScriviRegistratore(registratore);
        m_cartella->Ini().Scrivi(Chiavi::Varie(1), registratore);
        ModuliOpzionali modulo(m_sessione->impostazioni, m_sessione->cartella);
        modulo.nomeProceduraChiamata(u"Varie1"_s);
        modulo.argModulo(u"/tmp/elenco.txt"_s);
        modulo.attivaProcedura();
        QCOMPARE(Registrati(registratore), QStringList{u"/tmp/elenco.txt"_s});
        QVERIFY(QFile::remove(registratore + u".args"_s));
        modulo.attivaProcedura();
        QCOMPARE(Registrati(registratore), QStringList());
    }

    // The program the CSV export starts, found among the entries' program texts.
    void foglioDiCalcolo_data()
    {
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QString>("eseguibile"); // "" when the text is no spreadsheet program
        QTest::addColumn<QStringList>("argomenti");
        QTest::newRow("localc on PATH") << u"localc"_s << u"%P/localc"_s << QStringList();
        QTest::newRow("libreoffice --calc") << u"libreoffice --calc --norestore"_s << u"%P/libreoffice"_s
                                            << QStringList{u"--calc"_s, u"--norestore"_s};
        QTest::newRow("soffice alone") << u"%P/soffice"_s << u"%P/soffice"_s << QStringList();
        QTest::newRow("libreoffice --writer") << u"libreoffice --writer"_s << QString() << QStringList();
        QTest::newRow("gnumeric not installed, kept as written")
            << u"/opt/gnumeric/bin/gnumeric -n"_s << u"/opt/gnumeric/bin/gnumeric"_s << QStringList{u"-n"_s};
        QTest::newRow("excel.exe") << u"D:\\Office\\excel.exe"_s << u"D:\\Office\\excel.exe"_s
                                   << QStringList();
        QTest::newRow("excel.exe with a switch")
            << u"D:\\Office\\EXCEL.EXE /e"_s << QString() << QStringList();
        QTest::newRow("another program") << u"sh -c localc"_s << QString() << QStringList();
        QTest::newRow("quote never closed") << u"localc \"x"_s << QString() << QStringList();
    }
    void foglioDiCalcolo()
    {
        QFETCH(QString, programma);
        QFETCH(QString, eseguibile);
        QFETCH(QStringList, argomenti);
        const ComandoProgramma atteso{Espandi(eseguibile), eseguibile.isEmpty() ? QStringList() : argomenti};
        QCOMPARE(ComandoFoglioDiCalcolo(Espandi(programma)), atteso);
    }

    // The export's start: the program's own arguments, then the file, which is never split.
    void avvioConFile()
    {
        const QString registratore = m_cartella->File(u"registra"_s);
        ScriviRegistratore(registratore);
        QVERIFY(AvviaProgramma({registratore, {u"--calc"_s}}, u"/tmp/EXP PartiteIVA.csv"_s));
        QCOMPARE(Registrati(registratore), (QStringList{u"--calc"_s, u"/tmp/EXP PartiteIVA.csv"_s}));
        QVERIFY(!AvviaProgramma({m_cartella->File(u"manca"_s), {}}, u"x"_s));
    }
};

QTEST_GUILESS_MAIN(TestProgrammi)
#include "tst_Programmi.moc"
