#include "core/ChiaviIni.h"
#include "programs/Applicativi.h"
#include "programs/ModuliOpzionali.h"
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

// The program at `percorso` followed by the arguments it was started with; nothing if it never starts.
QStringList Registrati(const QString& percorso)
{
    QFile f(percorso + u".args"_s);
    if (!QTest::qWaitFor([&] { return f.exists(); }) || !f.open(QIODevice::ReadOnly))
        return {};
    const int quanti = f.readLine().trimmed().toInt();
    QStringList avvio{percorso};
    for (const QByteArray& a : f.readAll().split('\0').mid(0, quanti))
        avvio.append(QString::fromUtf8(a));
    return avvio;
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

    // One entry launched as the menu and the list check launch it: the program records what it was
    // started with; addresses go to the default program; anything else ends in a message.
    void lancio_data()
    {
        QTest::addColumn<QString>("programma"); // Varie2; %C the program folder, %P the folder on PATH
        QTest::addColumn<QString>("argomento");
        QTest::addColumn<QStringList>("avvio"); // the program started, then its arguments
        QTest::addColumn<QString>("altro");     // the address opened, or the message (%I the settings file)
        const QString r = u"%C/registra"_s, manca = u"Varie2 non presente su %I"_s;
        QTest::newRow("file argument kept whole")
            << r << u"/tmp/a b/elenco;1.txt"_s << QStringList{r, u"/tmp/a b/elenco;1.txt"_s} << QString();
        QTest::newRow("own arguments, then the file")
            << r + u" \"a b\" 'c d' e\\ f"_s << u"x"_s << QStringList{r, u"a b"_s, u"c d"_s, u"e f"_s, u"x"_s}
            << QString();
        QTest::newRow("path with spaces") << u"%C/con spazi/registra"_s << QString()
                                          << QStringList{u"%C/con spazi/registra"_s} << QString();
        QTest::newRow("name on PATH") << u"registra-tarvel --calc"_s << QString()
                                      << QStringList{u"%P/registra-tarvel"_s, u"--calc"_s} << QString();
        QTest::newRow("empty: the program named after the key")
            << QString() << u"f"_s << QStringList{u"%C/Varie2"_s, u"f"_s} << QString();
        QTest::newRow("missing: the program named after the key")
            << u"/non/esiste/prog"_s << QString() << QStringList{u"%C/Varie2"_s} << QString();
        QTest::newRow("www") << u"www.esempio.it/pagina"_s << u"f"_s << QStringList()
                             << u"http://www.esempio.it/pagina"_s;
        QTest::newRow("mail") << u"mailto:ufficio@esempio.it"_s << QString() << QStringList()
                              << u"mailto:ufficio@esempio.it"_s;
        QTest::newRow("missing") << u"/non/esiste/prog"_s << QString() << QStringList() << manca;
        QTest::newRow("quote never closed") << r + u" \"a b"_s << QString() << QStringList() << manca;
        QTest::newRow("directory") << u"%C"_s << QString() << QStringList() << manca;
        QTest::newRow("not runnable")
            << u"%C/fermo"_s << QString() << QStringList() << u"%C/fermo non trovato"_s;
        QTest::newRow("10 000 characters, read back cut") << r + u' ' + QString(10000, u'b') << QString()
                                                          << QStringList() << u"Varie2 troppo lungo su %I"_s;
    }
    void lancio()
    {
        QFETCH(QString, programma);
        QFETCH(QString, argomento);
        QFETCH(QStringList, avvio);
        QFETCH(QString, altro);
        for (const QString& p : {u"registra"_s, u"con spazi/registra"_s, u"Varie2"_s})
            ScriviRegistratore(m_cartella->File(p));
        if (!avvio.value(0).endsWith(u"/Varie2"_s))
            QVERIFY(QFile::remove(m_cartella->File(u"Varie2"_s)));
        ScriviRegistratore(m_cartella->File(u"fermo"_s), false);
        QFile::remove(m_sulPath.filePath(u"registra-tarvel.args"_s));
        m_cartella->Ini().Scrivi(Chiavi::Varie(2), Espandi(programma));

        LanciaModulo(*m_sessione, u"Varie2"_s, argomento);

        QStringList detti = m_indirizzi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            detti.append(m.testo);
        QCOMPARE(detti.join(u'|'), Espandi(altro).replace(u"%I"_s, m_sessione->fileIni));
        if (!avvio.isEmpty()) {
            for (QString& parola : avvio)
                parola = Espandi(parola);
            QCOMPARE(Registrati(avvio[0]), avvio);
        }
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
        QCOMPARE(Registrati(registratore), (QStringList{registratore, u"/tmp/elenco.txt"_s}));
        QVERIFY(QFile::remove(registratore + u".args"_s));
        modulo.attivaProcedura();
        QCOMPARE(Registrati(registratore), QStringList{registratore});
    }

    // The program the CSV export starts, found among the entries' program texts.
    void foglioDiCalcolo_data()
    {
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QStringList>("comando"); // program and arguments; empty: no spreadsheet program
        QTest::newRow("localc on PATH") << u"localc"_s << QStringList{u"%P/localc"_s};
        QTest::newRow("libreoffice --calc")
            << u"libreoffice --calc --norestore"_s
            << QStringList{u"%P/libreoffice"_s, u"--calc"_s, u"--norestore"_s};
        QTest::newRow("libreoffice --writer") << u"libreoffice --writer"_s << QStringList();
        QTest::newRow("gnumeric not installed, kept as written")
            << u"/opt/gnumeric/bin/gnumeric -n"_s << QStringList{u"/opt/gnumeric/bin/gnumeric"_s, u"-n"_s};
        QTest::newRow("excel.exe") << u"D:\\Office\\excel.exe"_s << QStringList{u"D:\\Office\\excel.exe"_s};
        QTest::newRow("excel.exe with a switch") << u"D:\\Office\\EXCEL.EXE /e"_s << QStringList();
    }
    void foglioDiCalcolo()
    {
        QFETCH(QString, programma);
        QFETCH(QStringList, comando);
        const ComandoProgramma c = ComandoFoglioDiCalcolo(Espandi(programma));
        QCOMPARE(QStringList{c.programma} + c.argomenti, Espandi(comando.join(u'\n')).split(u'\n'));
    }

    // The export's start: the program's own arguments, then the file, which is never split.
    void avvioConFile()
    {
        const QString registratore = m_cartella->File(u"registra"_s);
        ScriviRegistratore(registratore);
        QVERIFY(AvviaProgramma({registratore, {u"--calc"_s}}, u"/tmp/EXP PartiteIVA.csv"_s));
        QCOMPARE(Registrati(registratore),
                 (QStringList{registratore, u"--calc"_s, u"/tmp/EXP PartiteIVA.csv"_s}));
        QVERIFY(!AvviaProgramma({m_cartella->File(u"manca"_s), {}}, u"x"_s));
    }
};

QTEST_GUILESS_MAIN(TestProgrammi)
#include "tst_Programmi.moc"
