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

// A program that writes how it was started, its path and then each argument on a line of its own,
// to its path + ".args", in one rename so the file is never read half written.
void ScriviRegistratore(const QString& percorso, bool eseguibile = true)
{
    QDir().mkpath(QFileInfo(percorso).path());
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
    f.close();
    const auto lettura = QFile::ReadOwner | QFile::WriteOwner;
    QVERIFY(f.setPermissions(eseguibile ? lettura | QFile::ExeOwner : lettura));
}

// The program at `percorso` and its arguments as it recorded them; nothing if it never starts.
QStringList Registrati(const QString& percorso)
{
    QFile f(percorso + u".args"_s);
    if (!QTest::qWaitFor([&] { return f.exists(); }) || !f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).chopped(1).split(u'\n');
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
        for (const QString& nome : {u"registra-tarvel"_s, u"localc"_s, u"libreoffice"_s})
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
        for (const QString& p : {u"registra"_s, u"con spazi/registra"_s})
            ScriviRegistratore(m_cartella->File(p));
        ScriviRegistratore(m_cartella->File(u"fermo"_s), false);
    }

    // One entry launched as the menu and the list check launch it: the program records how it was
    // started; addresses go to the default program; anything else ends in a message.
    void lancio_data()
    {
        QTest::addColumn<QString>("programma"); // Varie2; %C the program folder, %P the folder on PATH
        QTest::addColumn<QString>("argomento");
        // The program started and its arguments, or the address opened, or the message (%I the
        // settings file), "|"-separated.
        QTest::addColumn<QString>("esito");
        const QString r = u"%C/registra"_s, manca = u"Varie2 non presente su %I"_s;
        QTest::newRow("own arguments, then the argument whole")
            << r + u" \"a b\" 'c d' e\\ f"_s << u"/tmp/a b/elenco;1.txt"_s
            << r + u"|a b|c d|e f|/tmp/a b/elenco;1.txt"_s;
        QTest::newRow("path with spaces")
            << u"%C/con spazi/registra"_s << QString() << u"%C/con spazi/registra"_s;
        QTest::newRow("name on PATH")
            << u"registra-tarvel --calc"_s << QString() << u"%P/registra-tarvel|--calc"_s;
        QTest::newRow("empty: the program named after the key") << QString() << u"f"_s << u"%C/Varie2|f"_s;
        QTest::newRow("missing: the program named after the key")
            << u"/non/esiste/prog"_s << QString() << u"%C/Varie2"_s;
        QTest::newRow("www") << u"www.esempio.it/pagina"_s << u"f"_s << u"http://www.esempio.it/pagina"_s;
        QTest::newRow("mail") << u"mailto:ufficio@esempio.it"_s << QString()
                              << u"mailto:ufficio@esempio.it"_s;
        QTest::newRow("missing") << u"/non/esiste/prog"_s << QString() << manca;
        QTest::newRow("quote never closed") << r + u" \"a b"_s << QString() << manca;
        QTest::newRow("directory") << u"%C"_s << QString() << manca;
        QTest::newRow("not runnable") << u"%C/fermo"_s << QString() << u"%C/fermo non trovato"_s;
        QTest::newRow("10 000 characters, read back cut")
            << r + u' ' + QString(10000, u'b') << QString() << u"Varie2 troppo lungo su %I"_s;
    }
    void lancio()
    {
        QFETCH(QString, programma);
        QFETCH(QString, argomento);
        QFETCH(QString, esito);
        if (esito.startsWith(u"%C/Varie2"_s))
            ScriviRegistratore(m_cartella->File(u"Varie2"_s));
        m_cartella->Ini().Scrivi(Chiavi::Varie(2), Espandi(programma));
        LanciaModulo(*m_sessione, u"Varie2"_s, argomento);
        QStringList detti = m_indirizzi;
        for (const Messaggio& m : m_dialoghi->Messaggi())
            detti.append(m.testo);
        if (detti.isEmpty())
            detti = Registrati(Espandi(esito.section(u'|', 0, 0)));
        QCOMPARE(detti.join(u'|'), Espandi(esito).replace(u"%I"_s, m_sessione->fileIni));
    }

    // The argument belongs to one start: the next start of the same launcher goes without it.
    void argomentoDiUnSoloAvvio()
    {
        const QString registratore = m_cartella->File(u"registra"_s);
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
        QTest::addColumn<QString>("comando"); // program and arguments, "|"-separated; "": none
        QTest::newRow("localc on PATH") << u"localc"_s << u"%P/localc"_s;
        QTest::newRow("libreoffice --calc") << u"libreoffice --calc -n"_s << u"%P/libreoffice|--calc|-n"_s;
        QTest::newRow("libreoffice --writer") << u"libreoffice --writer"_s << QString();
        QTest::newRow("gnumeric not installed, kept as written")
            << u"/opt/gnumeric/bin/gnumeric -n"_s << u"/opt/gnumeric/bin/gnumeric|-n"_s;
        QTest::newRow("excel.exe") << u"D:\\Office\\excel.exe"_s << u"D:\\Office\\excel.exe"_s;
    }
    void foglioDiCalcolo()
    {
        QFETCH(QString, programma);
        QFETCH(QString, comando);
        const ComandoProgramma c = ComandoFoglioDiCalcolo(Espandi(programma));
        QCOMPARE((QStringList{c.programma} + c.argomenti).join(u'|'), Espandi(comando));
    }
};

QTEST_GUILESS_MAIN(TestProgrammi)
#include "tst_Programmi.moc"
