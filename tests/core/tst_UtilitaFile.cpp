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
        QVERIFY(!ApriArchivio(f, P(u"elenco].txt"_s), kModoScrittura) && !QFile::exists(P(u"elenco].txt"_s)));
        QVERIFY(ApriArchivio(f, P(u"società perù.txt"_s), kModoScrittura));
        QCOMPARE(m_prova->Messaggi().size(), 1);
        QCOMPARE(m_prova->Messaggi()[0].testo,
                 u"Il nome dell'archivio "_s + P(u"elenco].txt"_s) + u" non e' corretto"_s);

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
        const Messaggio& m = m_prova->Messaggi().last();
        QTEST(m.testo, "testo");
        QVERIFY(m.pulsanti == Pulsanti::RiprovaAnnulla && m.predefinita == Risposta::Riprova);
        // Mended while the message is up: Retry opens it.
        m_prova->rimedio = [&] { blocco ? blocco.reset() : void(QDir().mkpath(P(u"nuova"_s))); };
        QVERIFY(ApriArchivio(f, p, kModoScrittura));
        QCOMPARE(f.size(), 0);
    }

    void fileEsiste_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("attributi");
        QTest::addColumn<bool>("trovato");
        QTest::newRow("wildcards") << u"*enc?.txt"_s << kAttrNormale << true;
        QTest::newRow("brackets are plain characters") << u"[e]lenco.txt"_s << kAttrNormale << false;
        QTest::newRow("hidden") << u".nasc*"_s << kAttrNormale << false;
        QTest::newRow("hidden asked for") << u".nasc*"_s << kAttrNascosto << true;
        QTest::newRow("folder") << u"cart*"_s << kAttrNormale << false;
        QTest::newRow("folder asked for") << u"cart*"_s << kAttrCartella << true;
        QTest::newRow("quoted") << u"\"con spazio.txt\""_s << kAttrNormale << true;
    }
    void fileEsiste()
    {
        QFETCH(QString, nome);
        QFETCH(int, attributi);
        for (const QString& n : {u"elenco.txt"_s, u"con spazio.txt"_s, u".nascosto"_s})
            Scrivi(n, "IT1\r\n");
        QVERIFY(QDir().mkpath(P(u"cartella"_s)));
        QString percorso = nome.startsWith(u'"') ? u'"' + P(nome.mid(1)) : P(nome);
        QTEST(FileEsiste(percorso, attributi), "trovato");
        if (nome.startsWith(u'"'))
            QCOMPARE(percorso, P(QString(nome).remove(u'"'))); // the quotes go, in the caller's copy too
        QVERIFY(m_prova->Messaggi().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUtilitaFile)
#include "tst_UtilitaFile.moc"
