#include "core/Attese.h"
#include "core/ErroriFile.h"
#include "core/UtilitaFile.h"
#include "support/DialoghiProva.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Lets the test act while a message is up, as a user who frees a file before answering Retry.
class DialoghiConRimedio : public DialoghiProva
{
public:
    std::function<void()> rimedio;

    Risposta Mostra(const Messaggio& messaggio) override
    {
        if (rimedio)
            rimedio();
        return DialoghiProva::Mostra(messaggio);
    }
};

// The lock a program writing the file holds.
class Blocco
{
public:
    explicit Blocco(const QString& percorso) : m_fd(::open(QFile::encodeName(percorso).constData(), O_RDONLY))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~Blocco() { Rilascia(); }
    void Rilascia()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

void Scrivi(const QString& percorso, const QByteArray& dati)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(dati);
}

QByteArray Leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestUtilitaFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    DialoghiConRimedio* m_prova = nullptr;

    QString P(const QString& nome) const { return m_dir->filePath(nome); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        auto dialoghi = std::make_unique<DialoghiConRimedio>();
        m_prova = dialoghi.get();
        ImpostaDialoghi(std::move(dialoghi));
        Attese().unitaFileMs = 60'000; // a test that waits for the limit has a fault
        Attese().passoMs = 1;
    }

    void nomeArchivio_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("accettato");
        QTest::newRow("question mark") << u"elenco?.txt"_s << false;
        QTest::newRow("closing bracket") << u"elenco].txt"_s << false;
        QTest::newRow("semicolon") << u"a;b.txt"_s << false;
        QTest::newRow("spaces") << u"elenco clienti.txt"_s << true;
        QTest::newRow("accents") << u"società perù.txt"_s << true;
    }
    void nomeArchivio()
    {
        QFETCH(QString, nome);
        QFETCH(bool, accettato);
        QFile f;
        QCOMPARE(ApriArchivio(f, P(nome), kModoScrittura), accettato);
        QCOMPARE(QFile::exists(P(nome)), accettato);
        if (accettato) {
            QVERIFY(m_prova->Messaggi().isEmpty());
            return;
        }
        QCOMPARE(m_prova->Messaggi().size(), 1);
        const Messaggio& m = m_prova->Messaggi().first();
        QCOMPARE(m.testo, u"Il nome dell'archivio "_s + P(nome) + u" non e' corretto"_s);
        QCOMPARE(m.titolo, u"Nome errato"_s);
        QCOMPARE(m.icona, Icona::Esclamazione);
    }

    void modiDiApertura()
    {
        const QString p = P(u"a.txt"_s);
        Scrivi(p, "riga1\r\n");
        QFile f;
        QVERIFY(ApriArchivio(f, p, kModoAccodamento));
        f.write("riga2\r\n");
        f.close();
        QCOMPARE(Leggi(p), QByteArray("riga1\r\nriga2\r\n"));
        QVERIFY(ApriArchivio(f, p, kModoRecord, 7));
        QVERIFY(f.seek(7));
        f.write("RIGA2");
        f.close();
        QVERIFY(ApriArchivio(f, p, kModoBinario));
        QCOMPARE(f.readAll(), QByteArray("riga1\r\nRIGA2\r\n"));
        QVERIFY(ApriArchivio(f, p, kModoLettura));
        QVERIFY(!f.isWritable());
        QVERIFY(ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(f.size(), 0);
        f.close();

        // Failures the caller reports in its own words.
        QVERIFY(!ApriArchivio(f, p, 0));
        QVERIFY(!ApriArchivio(f, p, 6));
        QVERIFY(!ApriArchivio(f, p, kModoRecord, 0));
        QVERIFY(!ApriArchivio(f, P(u"manca.txt"_s), kModoLettura));
        QVERIFY(!ApriArchivio(f, m_dir->path(), kModoLettura)); // a folder is no file, even for root
        QVERIFY(!ApriArchivio(f, m_dir->path(), kModoScrittura));
        QVERIFY(m_prova->Messaggi().isEmpty());
        QVERIFY(!f.isOpen());
    }

    void percorsoMancante()
    {
        const QString p = P(u"nuova/esiti.txt"_s);
        QFile f;
        m_prova->ProssimaRisposta(Risposta::Annulla);
        QVERIFY(!ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(m_prova->Messaggi().size(), 1);
        const Messaggio m = m_prova->Messaggi().first();
        QCOMPARE(m.testo, u"Questo percorso non esiste."_s);
        QCOMPARE(m.titolo, u"Errori su  "_s + p);
        QCOMPARE(m.pulsanti, Pulsanti::RiprovaAnnulla);
        QCOMPARE(m.predefinita, Risposta::Riprova);

        m_prova->rimedio = [&] { QDir().mkpath(P(u"nuova"_s)); };
        m_prova->ProssimaRisposta(Risposta::Riprova);
        QVERIFY(ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(m_prova->Messaggi().size(), 2);
    }

    void fileBloccato()
    {
        const QString p = P(u"esiti.txt"_s);
        Scrivi(p, "dati di un altro programma");
        Blocco blocco(p);
        QFile f;
        m_prova->ProssimaRisposta(Risposta::Annulla);
        QVERIFY(!ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(m_prova->Messaggi().first().testo, u"L'archivio è già aperto."_s);
        QCOMPARE(Leggi(p), QByteArray("dati di un altro programma")); // not emptied under its writer

        m_prova->rimedio = [&] { blocco.Rilascia(); };
        m_prova->ProssimaRisposta(Risposta::Riprova);
        QVERIFY(ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(f.size(), 0);
    }

    void fileEsiste_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("attributi");
        QTest::addColumn<bool>("trovato");
        QTest::newRow("exact name") << u"elenco.txt"_s << kAttrNormale << true;
        QTest::newRow("star") << u"*.txt"_s << kAttrNormale << true;
        QTest::newRow("question mark") << u"elenc?.txt"_s << kAttrNormale << true;
        QTest::newRow("no match") << u"*.pdf"_s << kAttrNormale << false;
        QTest::newRow("brackets are plain characters") << u"[e]lenco.txt"_s << kAttrNormale << false;
        QTest::newRow("hidden") << u".nascosto"_s << kAttrNormale << false;
        QTest::newRow("hidden asked for") << u".nasc*"_s << kAttrNascosto << true;
        QTest::newRow("folder") << u"cartella"_s << kAttrNormale << false;
        QTest::newRow("folder asked for") << u"cart*"_s << kAttrCartella << true;
        QTest::newRow("missing folder") << u"manca/*.txt"_s << kAttrNormale << false;
        QTest::newRow("file used as folder") << u"elenco.txt/x"_s << kAttrNormale << false;
    }
    void fileEsiste()
    {
        QFETCH(QString, nome);
        QFETCH(int, attributi);
        QFETCH(bool, trovato);
        Scrivi(P(u"elenco.txt"_s), "IT1\r\n");
        Scrivi(P(u".nascosto"_s), "");
        QVERIFY(QDir().mkpath(P(u"cartella"_s)));
        QString percorso = P(nome);
        QCOMPARE(FileEsiste(percorso, attributi), trovato);
        QCOMPARE(percorso, P(nome));
        QVERIFY(m_prova->Messaggi().isEmpty());
    }

    void fileEsisteTraVirgolette()
    {
        const QString p = P(u"con spazio.txt"_s);
        Scrivi(p, "x");
        QString percorso = u'"' + p + u'"';
        QVERIFY(FileEsiste(percorso));
        QCOMPARE(percorso, p);
        QString vuoto = u"   "_s;
        QVERIFY(!FileEsiste(vuoto));
    }

    void messaggioErroreFile_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<Risposta>("scelta");
        QTest::addColumn<QString>("testo"); // empty: no message
        QTest::addColumn<Pulsanti>("pulsanti");
        QTest::addColumn<int>("esito");
        QTest::newRow("55 retry") << 55 << Risposta::Riprova << u"L'archivio è già aperto."_s
                                  << Pulsanti::RiprovaAnnulla << 0;
        QTest::newRow("57 cancel") << 57 << Risposta::Annulla << u"Errore di I/O sul DEVICE del file   C:"_s
                                   << Pulsanti::RiprovaAnnulla << 2;
        QTest::newRow("62")
            << 62 << Risposta::Ok
            << u"L'archivio ha un fine-file non standard,\no è stata fatta una lettura oltre la fine."_s
            << Pulsanti::Ok << 2;
        QTest::newRow("71") << 71 << Risposta::Riprova << u"Il disco non è pronto   C:"_s
                            << Pulsanti::RiprovaAnnulla << 0;
        QTest::newRow("70 not in the table") << 70 << Risposta::Ok << QString() << Pulsanti::Ok << 3;
    }
    void messaggioErroreFile()
    {
        QFETCH(int, numero);
        QFETCH(Risposta, scelta);
        QFETCH(QString, testo);
        QFETCH(Pulsanti, pulsanti);
        QFETCH(int, esito);
        m_prova->ProssimaRisposta(scelta);
        QCOMPARE(MessaggioErroreFile(numero, u"C:\\Dati\\esiti.txt"_s), esito);
        QCOMPARE(m_prova->Messaggi().size(), testo.isEmpty() ? 0 : 1);
        if (testo.isEmpty())
            return;
        const Messaggio& m = m_prova->Messaggi().first();
        QCOMPARE(m.testo, testo);
        QCOMPARE(m.titolo, u"Errori su  C:\\Dati\\esiti.txt"_s);
        QCOMPARE(m.pulsanti, pulsanti);
        QCOMPARE(m.icona, Icona::Esclamazione);
    }

    void eliminaFile()
    {
        QElapsedTimer tempo;
        tempo.start();
        EliminaFile(P(u"manca.pdf"_s), 0);
        QVERIFY(tempo.elapsed() < Attese().unitaFileMs); // no retrying for a file that is not there

        // Held by its writer for a moment: deleted as soon as it is free.
        const QString p = P(u"stampa.pdf"_s);
        Scrivi(p, "%PDF");
        auto blocco = std::make_unique<Blocco>(p);
        QTimer::singleShot(30, this, [&] { blocco.reset(); });
        EliminaFile(p, 0);
        QVERIFY(!QFile::exists(p));

        // Held beyond the limit: it gives up and the file stays.
        Attese().unitaFileMs = 20;
        Scrivi(p, "%PDF");
        Blocco tenuto(p);
        EliminaFile(p, 0);
        QVERIFY(QFile::exists(p));
        QVERIFY(m_prova->Messaggi().isEmpty());
    }

    void rinominaFile()
    {
        const QString vecchio = P(u"stampa.pdf"_s);
        const QString nuovo = P(u"IT00743110157.pdf"_s);
        Scrivi(vecchio, "nuova");
        Scrivi(nuovo, "vecchia");
        RinominaFile(vecchio, nuovo, 0);
        QVERIFY(!QFile::exists(vecchio));
        QCOMPARE(Leggi(nuovo), QByteArray("nuova"));

        // Still being written: renamed once its writer lets go.
        Scrivi(vecchio, "seconda");
        auto blocco = std::make_unique<Blocco>(vecchio);
        QTimer::singleShot(30, this, [&] { blocco.reset(); });
        RinominaFile(vecchio, nuovo, 0);
        QCOMPARE(Leggi(nuovo), QByteArray("seconda"));

        // No source within the limit: the old target is gone all the same.
        Attese().unitaFileMs = 20;
        RinominaFile(vecchio, nuovo, 0);
        QVERIFY(!QFile::exists(nuovo));
    }

    void cartellaDi_data()
    {
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<QString>("cartella");
        QTest::newRow("backslash alone") << u"\\"_s << QString();
        QTest::newRow("slashes") << u"/usr/local/bin/tarvel"_s << u"/usr/local/bin"_s;
        QTest::newRow("backslashes") << u"C:\\Programmi\\Excel.exe"_s << u"C:\\Programmi"_s;
        QTest::newRow("mixed, last one wins") << u"dati/lista\\elenco.txt"_s << u"dati/lista"_s;
        QTest::newRow("no separator") << u"tarvel"_s << QString();
    }
    void cartellaDi()
    {
        QFETCH(QString, percorso);
        QFETCH(QString, cartella);
        QCOMPARE(CartellaDi(percorso), cartella);
    }
};

QTEST_GUILESS_MAIN(TestUtilitaFile)
#include "tst_UtilitaFile.moc"
