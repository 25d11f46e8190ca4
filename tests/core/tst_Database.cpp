#include "core/Attese.h"
#include "core/Database.h"
#include "core/Tabella.h"
#include "core/Valori.h"
#include "support/DialoghiProva.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// A database in an empty folder of its own for each test.
class TestDatabase : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    Database m_db;
    DialoghiProva* m_prova = nullptr;

    // A connection of another program to the same file.
    QSqlDatabase Altro()
    {
        QSqlDatabase altro = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"altro"_s);
        altro.setDatabaseName(m_file);
        return altro;
    }
    // Reopened from the file, positioned on row `codice` of PartiteIVA.
    bool Riletta(Tabella& t, const QString& codice)
    {
        m_db.Chiudi();
        return m_db.Apri(m_file) && t.Apri(u"PartiteIVA"_s) && t.Cerca(codice);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_file = m_dir->filePath(u"tarvel.db"_s);
        m_prova = DialoghiProva::Installa();
        QLocale::setDefault(QLocale::c());
        Attese().databaseOccupatoMs = 50;
        Attese().tentativiMassimi = 3;
        QVERIFY(m_db.Apri(m_file));
    }
    void cleanup()
    {
        m_db.Chiudi();
        QSqlDatabase::removeDatabase(u"altro"_s);
    }

    // A database of the first version gains the consultation column with its rows kept.
    void aggiornamentoSchema()
    {
        m_db.Chiudi();
        QFile::remove(m_file);
        {
            QSqlDatabase vecchio = Altro();
            QVERIFY(vecchio.open());
            QSqlQuery q(vecchio);
            for (const QString& t : {u"PartiteIVA"_s, u"WKPartiteIVA"_s})
                QVERIFY(q.exec(u"CREATE TABLE "_s + t +
                               u" (Codice TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, Nazione TEXT, VAT TEXT, "
                               u"Esito TEXT, Denominazione TEXT, Indirizzo TEXT, Inizio DATETIME, "
                               u"Fine DATETIME, OK INTEGER, DataRichiesta DATETIME)"_s));
            QVERIFY(q.exec(u"INSERT INTO PartiteIVA (Codice, OK) VALUES ('IT1', 2)"_s));
        }
        Tabella t(m_db);
        QVERIFY(Riletta(t, u"IT1"_s));
        QCOMPARE(t.NomeCampo(10), u"Consultazione"_s);
        QCOMPARE(t.Campo(u"OK"_s).toInt(), 2);
        // The sort indexes come with the column, the new one's too.
        QSqlQuery indici(m_db.Connessione());
        QVERIFY(indici.exec(u"SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"_s));
        QStringList nomi;
        while (indici.next())
            nomi << indici.value(0).toString();
        QCOMPARE(nomi.size(), 20);
        QVERIFY(nomi.contains(IndiceOrdine(u"WKPartiteIVA"_s, u"Consultazione"_s)));
        QVERIFY(m_db.Esegui(u"INSERT INTO WKPartiteIVA SELECT * FROM PartiteIVA"_s));
    }

    // Never repaired, overwritten or turned into a database, and nothing said.
    void fileNonUsabile_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("text file") << u"testo"_s;
        QTest::newRow("locked by another program") << u"bloccato"_s;
    }
    void fileNonUsabile()
    {
        QFETCH(QString, caso);
        m_db.Chiudi();
        QSqlDatabase altro = Altro();
        if (caso == u"bloccato"_s) {
            QVERIFY(altro.open() && QSqlQuery(altro).exec(u"BEGIN EXCLUSIVE"_s));
        } else {
            QFile f(m_file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("Elenco clienti\r\nIT00743110157\r\n") > 0);
        }
        QFile file(m_file);
        const QByteArray prima = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();
        QVERIFY(!m_db.Apri(m_file) && !m_db.Aperto());
        QVERIFY(!m_db.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s));
        QVERIFY(!m_db.Esegui(u"DELETE FROM WKPartiteIVA"_s));
        QVERIFY(m_prova->Messaggi().isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == prima);
        altro.close();
    }

    void tabellaWkMancante()
    {
        QVERIFY(m_db.Esegui(u"DROP TABLE WKPartiteIVA"_s));
        m_prova->ProssimaRisposta(Risposta::Riprova);
        m_prova->ProssimaRisposta(Risposta::Annulla);
        QVERIFY(!m_db.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s));
        QCOMPARE(m_prova->Messaggi().size(), 2);
        // A user who keeps answering Retry (the default) is let go after the last attempt.
        QVERIFY(!m_db.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s));
        QCOMPARE(m_prova->Messaggi().size(), 2 + Attese().tentativiMassimi);
        const Messaggio& m = m_prova->Messaggi().last();
        QVERIFY2(m.testo.contains(u"WKPartiteIVA"_s), qPrintable(m.testo)); // the engine's own words
        QVERIFY(m.pulsanti == Pulsanti::RiprovaAnnulla && m.predefinita == Risposta::Riprova);
        QVERIFY(!m_db.TabellaWk().Aperta());

        // The next opening puts the table back; then it opens without a word, until the close.
        QVERIFY(m_db.Apri(m_file));
        m_prova->Svuota();
        QVERIFY(m_db.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s));
        QVERIFY(m_db.TabellaWk().Aperta() && m_prova->Messaggi().isEmpty());
        m_db.Chiudi();
        QVERIFY(!m_db.TabellaWk().Aperta());
    }

    // Texts whole, dates as dates; the zero date is stored as null.
    void valoriAndataERitorno()
    {
        const QDateTime momento(QDate(2010, 3, 12), QTime(10, 30, 15));
        const QString testo = u"Società L'Aquila \"àèéìòù\" €"_s + QString(2000, u'x');
        Tabella t(m_db);
        QVERIFY(t.Apri(u"PartiteIVA"_s));
        t.AggiungiNuovo();
        QVERIFY(t.ImpostaCampo(u"Codice"_s, u"IT1"_s) && t.ImpostaCampo(u"Indirizzo"_s, testo) &&
                t.ImpostaCampo(u"Inizio"_s, momento) && t.ImpostaCampo(u"Fine"_s, 0));
        QVERIFY2(t.Aggiorna(), qPrintable(t.Errore()));
        QVERIFY(Riletta(t, u"IT1"_s));
        QCOMPARE(t.Campo(u"Indirizzo"_s), QVariant(testo));
        QCOMPARE(t.Campo(u"Inizio"_s), QVariant(momento));
        QVERIFY(t.Campo(u"Fine"_s).isNull());
    }

    // Numbers and dates come from the database as values, whatever the locale: a date serial stored
    // as a number by another tool reads as its date.
    void numeriEDate()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QVERIFY(m_db.Esegui(u"INSERT INTO PartiteIVA (Codice, OK, Inizio, Fine) VALUES (?, ?, ?, ?)"_s,
                            {u"IT1"_s, 2.5, 40249.4375, 1000}));
        Tabella t(m_db);
        QVERIFY(t.Apri(u"PartiteIVA"_s) && t.Cerca(u"IT1"_s));
        QCOMPARE(ValNum(t.Campo(u"OK"_s)), 2.5);
        QCOMPARE(t.Campo(u"Inizio"_s), QVariant(QDateTime(QDate(2010, 3, 12), QTime(10, 30))));
        QCOMPARE(ValNum(t.Campo(u"Inizio"_s)), 40249.4375);
        QCOMPARE(ValTesto(t.Campo(u"Fine"_s)), u"26/09/1902 00:00:00"_s);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_Database.moc"
