#include "core/Attese.h"
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

// Lets the test act while a message is up, as a user who mends things before answering Retry.
struct DialoghiConRimedio : DialoghiProva {
    std::function<void()> rimedio;
    Risposta Mostra(const Messaggio& messaggio) override
    {
        if (rimedio)
            rimedio();
        return DialoghiProva::Mostra(messaggio);
    }
};

// The lock a program writing the file holds.
struct Blocco {
    explicit Blocco(const QString& p) : fd(::open(QFile::encodeName(p).constData(), O_RDONLY))
    {
        ::flock(fd, LOCK_EX);
    }
    ~Blocco() { ::close(fd); }
    int fd;
};

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
    void Scrivi(const QString& nome, const QByteArray& dati)
    {
        QFile f(P(nome));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(dati) == dati.size());
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        auto dialoghi = std::make_unique<DialoghiConRimedio>();
        m_prova = dialoghi.get();
        ImpostaDialoghi(std::move(dialoghi));
        Attese().unitaFileMs = 60'000; // a test that waits for the limit has a fault
        Attese().passoMs = 1;
        Attese().tentativiMassimi = 3;
    }

    void apertura()
    {
        // A name holding a character the check refuses is never opened; spaces and accents are fine.
        QFile f;
        for (const QString& nome : {u"elenco?.txt"_s, u"elenco].txt"_s})
            QVERIFY(!ApriArchivio(f, P(nome), kModoScrittura) && !QFile::exists(P(nome)));
        QVERIFY(ApriArchivio(f, P(u"società perù.txt"_s), kModoScrittura));
        QCOMPARE(m_prova->Messaggi().size(), 2);
        const Messaggio& m = m_prova->Messaggi().last();
        QCOMPARE(m.titolo + u": "_s + m.testo,
                 u"Nome errato: Il nome dell'archivio "_s + P(u"elenco].txt"_s) + u" non e' corretto"_s);
        QCOMPARE(m.icona, Icona::Esclamazione);

        const QString p = P(u"a.txt"_s);
        Scrivi(u"a.txt"_s, "riga1\r\n");
        QVERIFY(ApriArchivio(f, p, kModoAccodamento) && f.write("riga2\r\n") == 7);
        QVERIFY(ApriArchivio(f, p, kModoRecord, 7) && f.seek(7) && f.write("RIGA2") == 5 && f.flush());
        QCOMPARE(Leggi(p), QByteArray("riga1\r\nRIGA2\r\n"));
        // Failures the caller reports in its own words.
        m_prova->Svuota();
        QVERIFY(!ApriArchivio(f, p, 6) && !ApriArchivio(f, p, kModoRecord, 0));
        QVERIFY(!ApriArchivio(f, P(u"manca.txt"_s), kModoLettura));
        QVERIFY(!ApriArchivio(f, m_dir->path(), kModoScrittura)); // a folder is no file, even for root
        QVERIFY(m_prova->Messaggi().isEmpty() && !f.isOpen());
    }

    void erroreRimediabile_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("testo");
        QTest::newRow("missing folder") << u"nuova/esiti.txt"_s << u"Questo percorso non esiste."_s;
        QTest::newRow("held by its writer") << u"esiti.txt"_s << u"L'archivio è già aperto."_s;
    }
    void erroreRimediabile()
    {
        QFETCH(QString, nome);
        QFETCH(QString, testo);
        const QString p = P(nome);
        std::unique_ptr<Blocco> blocco;
        if (nome == u"esiti.txt"_s) {
            Scrivi(nome, "dati di un altro programma");
            blocco = std::make_unique<Blocco>(p);
        }
        const QByteArray prima = Leggi(p);
        QFile f;
        m_prova->ProssimaRisposta(Risposta::Annulla);
        QVERIFY(!ApriArchivio(f, p, kModoScrittura));
        // A user who keeps answering Retry (the default) is let go after the last attempt.
        QVERIFY(!ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(Leggi(p), prima); // not emptied under its writer
        QCOMPARE(m_prova->Messaggi().size(), 1 + Attese().tentativiMassimi);
        for (const Messaggio& m : m_prova->Messaggi()) {
            QCOMPARE(m.testo, testo);
            QCOMPARE(m.titolo, u"Errori su  "_s + p);
            QVERIFY(m.pulsanti == Pulsanti::RiprovaAnnulla && m.predefinita == Risposta::Riprova);
        }
        // Mended while the message is up: Retry opens it.
        m_prova->rimedio = [&] { blocco ? blocco.reset() : void(QDir().mkpath(P(u"nuova"_s))); };
        QVERIFY(ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(f.size(), 0);
    }

    void rigaComandoSenzaRiprova()
    {
        // Nobody can mend anything meanwhile: a retry is never offered, every other question takes its
        // default.
        DialoghiRigaComando riga;
        QCOMPARE(riga.Mostra({{}, {}, Icona::Nessuna, Pulsanti::RiprovaAnnulla, Risposta::Riprova}),
                 Risposta::Annulla);
        QCOMPARE(riga.Mostra({{}, {}, Icona::Nessuna, Pulsanti::InterrompiRiprovaIgnora, Risposta::Riprova}),
                 Risposta::Interrompi);
        QCOMPARE(riga.Mostra({{}, {}, Icona::Nessuna, Pulsanti::SiNo, Risposta::No}), Risposta::No);
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
        QTest::newRow("quoted") << u"\"con spazio.txt\""_s << kAttrNormale << true;
    }
    void fileEsiste()
    {
        QFETCH(QString, nome);
        QFETCH(int, attributi);
        QFETCH(bool, trovato);
        for (const QString& n : {u"elenco.txt"_s, u"con spazio.txt"_s, u".nascosto"_s})
            Scrivi(n, "IT1\r\n");
        QVERIFY(QDir().mkpath(P(u"cartella"_s)));
        QString percorso = nome.startsWith(u'"') ? u'"' + P(nome.mid(1)) : P(nome);
        QCOMPARE(FileEsiste(percorso, attributi), trovato);
        QCOMPARE(percorso, P(QString(nome).remove(u'"'))); // the quotes go, in the caller's copy too
        QString vuoto = u"   "_s;
        QVERIFY(!FileEsiste(vuoto));
        QVERIFY(m_prova->Messaggi().isEmpty());
    }

    void eliminaERinomina()
    {
        // Held by its writer for a moment: deleted, then renamed, as soon as it is free.
        const QString vecchio = P(u"stampa.pdf"_s), nuovo = P(u"IT00743110157.pdf"_s);
        Scrivi(u"IT00743110157.pdf"_s, "vecchia");
        auto blocco = std::make_unique<Blocco>(nuovo);
        QTimer::singleShot(30, this, [&] { blocco.reset(); });
        EliminaFile(nuovo, 0);
        QVERIFY(!QFile::exists(nuovo));
        Scrivi(u"stampa.pdf"_s, "nuova");
        Scrivi(u"IT00743110157.pdf"_s, "vecchia");
        blocco = std::make_unique<Blocco>(vecchio);
        QTimer::singleShot(30, this, [&] { blocco.reset(); });
        RinominaFile(vecchio, nuovo, 0);
        QVERIFY(!QFile::exists(vecchio));
        QCOMPARE(Leggi(nuovo), QByteArray("nuova"));

        // Held beyond the limit: it gives up, the file stays. No source: the old target goes all the same.
        Attese().unitaFileMs = 20;
        Blocco tenuto(nuovo);
        EliminaFile(nuovo, 0);
        QVERIFY(QFile::exists(nuovo));
        Scrivi(u"altro.pdf"_s, "x");
        RinominaFile(vecchio, P(u"altro.pdf"_s), 0);
        QVERIFY(!QFile::exists(P(u"altro.pdf"_s)));
        QVERIFY(m_prova->Messaggi().isEmpty());
    }

    void percorsi_data()
    {
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<QString>("conSeparatore");
        QTest::addColumn<QString>("nomeSicuro");
        QTest::newRow("backslash alone") << u"\\"_s << QString() << u"\\"_s << u"_"_s;
        QTest::newRow("slashes") << u"/usr/bin"_s << u"/usr"_s << u"/usr/bin/"_s << u"_usr_bin"_s;
        QTest::newRow("mixed, last one wins")
            << u"C:\\d/e.txt/"_s << u"C:\\d/e.txt"_s << u"C:\\d/e.txt/"_s << u"C__d_e.txt_"_s;
        QTest::newRow("no separator")
            << u"IT 1*2?\"<>|\t"_s << QString() << u"IT 1*2?\"<>|\t/"_s << u"IT 1_2______"_s;
    }
    void percorsi()
    {
        QFETCH(QString, percorso);
        QFETCH(QString, cartella);
        QFETCH(QString, conSeparatore);
        QFETCH(QString, nomeSicuro);
        QCOMPARE(CartellaDi(percorso), cartella);
        QCOMPARE(CartellaConSeparatore(percorso), conSeparatore);
        QCOMPARE(NomeFileSicuro(percorso), nomeSicuro);
    }
};

QTEST_GUILESS_MAIN(TestUtilitaFile)
#include "tst_UtilitaFile.moc"
