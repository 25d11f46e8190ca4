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

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    Database m_db;
    DialoghiProva* m_prova = nullptr;

    int Righe(const QString& tabella)
    {
        Tabella t(m_db);
        return t.Apri(tabella) ? t.ContaRecord() : -1;
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
    void cleanup() { m_db.Chiudi(); }

    void schemaETransazioni()
    {
        Tabella t(m_db);
        for (const auto& [tabella, campi] :
             {std::pair(u"wkpartiteiva"_s, 11), {u"LayOutCol"_s, 21}, {u"Colori"_s, 2}})
            QVERIFY(t.Apri(tabella) && t.NumeroCampi() == campi);
        QVERIFY(m_db.Esegui(u"INSERT INTO PartiteIVA (Codice, OK) VALUES (?, ?)"_s, {u"IT'1"_s, 0}));
        for (const bool conferma : {false, true}) {
            {
                Transazione tr(m_db);
                QVERIFY(m_db.Esegui(u"INSERT INTO WKPartiteIVA SELECT * FROM PartiteIVA"_s));
                QString errore;
                QVERIFY(!m_db.Esegui(u"INSERT INTO PartiteIVA (Codice) VALUES (NULL)"_s, {}, &errore));
                QVERIFY(!errore.isEmpty() && (!conferma || tr.Conferma()));
            }
            QCOMPARE(Righe(u"WKPartiteIVA"_s), conferma ? 1 : 0); // unconfirmed, nothing happened
        }
        m_db.Chiudi();
        QVERIFY(!m_db.Aperto() && m_db.Apri(m_file)); // the schema is found again, with its rows
        QCOMPARE(Righe(u"WKPartiteIVA"_s), 1);
    }

    // A database of the first version gains the consultation column with its rows kept.
    void aggiornamentoSchema()
    {
        m_db.Chiudi();
        QFile::remove(m_file);
        {
            QSqlDatabase vecchio = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"vecchio"_s);
            vecchio.setDatabaseName(m_file);
            QVERIFY(vecchio.open());
            QSqlQuery q(vecchio);
            for (const QString& t : {u"PartiteIVA"_s, u"WKPartiteIVA"_s})
                QVERIFY(
                    q.exec(u"CREATE TABLE "_s + t +
                           u" (Codice TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, Nazione TEXT, VAT TEXT, "
                           u"Esito TEXT, Denominazione TEXT, Indirizzo TEXT, Inizio DATETIME, Fine DATETIME, "
                           u"OK INTEGER, DataRichiesta DATETIME)"_s));
            QVERIFY(q.exec(u"INSERT INTO PartiteIVA (Codice, OK) VALUES ('IT1', 2)"_s));
            vecchio.close();
        }
        QSqlDatabase::removeDatabase(u"vecchio"_s);
        QVERIFY(m_db.Apri(m_file));
        Tabella t(m_db);
        QVERIFY(t.Apri(u"PartiteIVA"_s) && t.Cerca(u"IT1"_s));
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

    void fileNonUsabile_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("text file") << u"testo"_s;
        QTest::newRow("truncated database") << u"troncato"_s;
        QTest::newRow("folder named tarvel.db") << u"cartella"_s;
        QTest::newRow("locked by another program") << u"bloccato"_s;
    }
    void fileNonUsabile()
    {
        QFETCH(QString, caso);
        QSqlDatabase altro = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"altro"_s);
        if (caso == u"troncato"_s) {
            QVERIFY(m_db.Esegui(
                u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                u"INSERT INTO PartiteIVA (Codice, Indirizzo) SELECT 'IT' || i, zeroblob(300) FROM n"_s));
            m_db.Chiudi();
            QVERIFY(QFile::resize(m_file, QFileInfo(m_file).size() / 2));
        } else if (caso == u"bloccato"_s) {
            m_db.Chiudi();
            altro.setDatabaseName(m_file);
            QVERIFY(altro.open() && QSqlQuery(altro).exec(u"BEGIN EXCLUSIVE"_s));
        } else {
            m_db.Chiudi();
            QFile::remove(m_file);
            if (caso == u"testo"_s) {
                QFile f(m_file);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write("Elenco clienti\r\nIT00743110157\r\n") > 0);
            }
            if (caso == u"cartella"_s)
                QVERIFY(QDir().mkpath(m_file));
        }
        QFile file(m_file);
        const QByteArray prima = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();

        QVERIFY(!m_db.Apri(m_file));
        QVERIFY(!m_db.Aperto());
        QVERIFY(!m_db.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s));
        QVERIFY(!m_db.Esegui(u"DELETE FROM WKPartiteIVA"_s));
        QVERIFY(m_prova->Messaggi().isEmpty());
        // Never repaired, overwritten or turned into a database.
        QCOMPARE(QFileInfo(m_file).isFile(), caso != u"cartella"_s);
        QVERIFY(caso == u"cartella"_s || (file.open(QIODevice::ReadOnly) && file.readAll() == prima));
        altro.close();
        altro = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"altro"_s);
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
        for (const Messaggio& m : m_prova->Messaggi()) {
            QCOMPARE(m.titolo, u"ERRORE IN APERTURA TABELLA PartiteIVA"_s);
            QVERIFY2(m.testo.contains(u"WKPartiteIVA"_s), qPrintable(m.testo)); // the engine's own words
            QVERIFY(m.icona == Icona::Esclamazione && m.pulsanti == Pulsanti::RiprovaAnnulla);
            QCOMPARE(m.predefinita, Risposta::Riprova);
        }
        QVERIFY(!m_db.TabellaWk().Aperta());

        // The next opening puts the table back; then it opens without a word, until the close.
        QVERIFY(m_db.Apri(m_file));
        m_prova->Svuota();
        QVERIFY(m_db.ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s));
        QVERIFY(m_db.TabellaWk().Aperta() && m_prova->Messaggi().isEmpty());
        m_db.Chiudi();
        QVERIFY(!m_db.TabellaWk().Aperta());
    }

    void valoriAndataERitorno_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QVariant>("scritto");
        QTest::addColumn<QVariant>("letto"); // invalid: the field reads as null
        const QDateTime momento(QDate(2010, 3, 12), QTime(10, 30, 15));
        const QString testo = u"Società L'Aquila \"àèéìòù\" €"_s + QString(2000, u'x');
        QTest::newRow("null text") << u"Denominazione"_s << QVariant() << QVariant();
        QTest::newRow("accents, quotes, 2000 characters")
            << u"Indirizzo"_s << QVariant(testo) << QVariant(testo);
        QTest::newRow("date") << u"Inizio"_s << QVariant(momento) << QVariant(momento);
        QTest::newRow("zero date") << u"Fine"_s << QVariant(0) << QVariant();
        QTest::newRow("day/month/year text")
            << u"DataRichiesta"_s << QVariant(u"12/03/2010"_s) << QVariant(QDate(2010, 3, 12).startOfDay());
    }
    void valoriAndataERitorno()
    {
        QFETCH(QString, campo);
        QFETCH(QVariant, scritto);
        QFETCH(QVariant, letto);
        {
            Tabella t(m_db);
            QVERIFY(t.Apri(u"PartiteIVA"_s));
            t.AggiungiNuovo();
            QVERIFY(t.ImpostaCampo(u"Codice"_s, u"IT1"_s) && t.ImpostaCampo(campo, scritto));
            QVERIFY2(t.Aggiorna(), qPrintable(t.Errore()));
        }
        m_db.Chiudi();
        QVERIFY(m_db.Apri(m_file));
        Tabella r(m_db);
        QVERIFY(r.Apri(u"PartiteIVA"_s) && r.Cerca(u"IT1"_s));
        const QVariant valore = r.Campo(campo);
        QCOMPARE(valore.isNull(), !letto.isValid());
        if (letto.isValid())
            QCOMPARE(valore, letto);
        else
            QCOMPARE(ValNum(valore), 0.0);
        if (letto.typeId() == QMetaType::QDateTime)
            QCOMPARE(ValNum(valore), SerialeData(letto.toDateTime()));
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

    void cursore()
    {
        Tabella t(m_db);
        QVERIFY(t.Apri(u"PartiteIVA"_s));
        for (const QString& c : {u"IT3"_s, u"DE1"_s, u"FR2"_s, u"de1"_s}) {
            t.AggiungiNuovo();
            QVERIFY(t.ImpostaCampo(u"Codice"_s, c) && t.ImpostaCampo(u"Denominazione"_s, c));
            QCOMPARE(t.Aggiorna(), c != u"de1"_s); // keys compare without regard to case
        }
        QVERIFY(t.ImpostaCampo(u"Codice"_s, u"DE9"_s) && t.Aggiorna()); // a refused write stays pending
        QStringList ordine;
        for (bool c = t.MuoviPrimo(); c; c = t.MuoviSuccessivo())
            ordine << t.Campo(0).toString();
        QCOMPARE(ordine, (QStringList{u"DE1"_s, u"DE9"_s, u"FR2"_s, u"IT3"_s}));
        QVERIFY(t.Cerca(u"it3"_s) && t.Modifica() && t.ImpostaCampo(u"OK"_s, 2) && t.Aggiorna());
        QCOMPARE(t.Campo(u"Denominazione"_s).toString(), u"IT3"_s); // fields not set stay
        QVERIFY(!t.Cerca(u"XX9"_s) && t.Fine() && !t.Modifica());
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_Database.moc"
