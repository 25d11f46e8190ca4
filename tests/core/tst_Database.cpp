#include "app/Globali.h"
#include "core/Attese.h"
#include "core/Database.h"
#include "core/Tabella.h"
#include "core/Valori.h"
#include "support/DialoghiProva.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// The database in an empty program folder of its own for each test.
class TestDatabase : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    DialoghiProva* m_prova = nullptr;

    static QStringList Colonne(const QString& tabella)
    {
        Tabella t;
        QStringList colonne;
        for (int i = 0; t.Apri(tabella) && i < t.NumeroCampi(); ++i)
            colonne << t.NomeCampo(i);
        return colonne;
    }
    static int Righe(const QString& tabella)
    {
        Tabella t;
        return t.Apri(tabella) ? t.ContaRecord() : -1;
    }
    static bool Aggiungi(Tabella& t, const QString& codice, const QString& denominazione)
    {
        t.AggiungiNuovo();
        return t.ImpostaCampo(u"Codice"_s, codice) && t.ImpostaCampo(u"Denominazione"_s, denominazione) &&
               t.Aggiorna();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        gFileDb = m_dir->filePath(u"tarvel.db"_s);
        m_prova = DialoghiProva::Installa();
        Attese().databaseOccupatoMs = 50;
    }
    void cleanup() { ChiudiDatabase(); }

    void schemaCreatoERiusato()
    {
        QVERIFY(ApriDatabase());
        QVERIFY(gDbAperto);
        const QStringList risultati{u"Codice"_s,    u"Nazione"_s, u"VAT"_s,  u"Esito"_s, u"Denominazione"_s,
                                    u"Indirizzo"_s, u"Inizio"_s,  u"Fine"_s, u"OK"_s,    u"DataRichiesta"_s};
        QCOMPARE(Colonne(u"PartiteIVA"_s), risultati);
        QCOMPARE(Colonne(u"wkpartiteiva"_s), risultati);
        QCOMPARE(Colonne(u"LayOutCol"_s).size(), 21);
        QCOMPARE(Colonne(u"Colori"_s), (QStringList{u"ColInd"_s, u"ColRgb"_s}));
        QVERIFY(EseguiSql(u"INSERT INTO PartiteIVA (Codice, OK) VALUES (?, ?)"_s, {u"IT00743110157"_s, 0}));
        ChiudiDatabase();
        QVERIFY(!gDbAperto);

        QVERIFY(ApriDatabase());
        QCOMPARE(Righe(u"PartiteIVA"_s), 1);
        // The list check merges whole rows from one table into the other.
        QVERIFY(EseguiSql(u"INSERT INTO WKPartiteIVA SELECT * FROM PartiteIVA"_s));
        QCOMPARE(Righe(u"WKPartiteIVA"_s), 1);
        QVERIFY(m_prova->Messaggi().isEmpty());
    }

    void fileNonUsabile_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("text file") << u"testo"_s;
        QTest::newRow("truncated database") << u"troncato"_s;
        QTest::newRow("folder named tarvel.db") << u"cartella"_s;
        QTest::newRow("missing program folder") << u"senzaCartella"_s;
        QTest::newRow("locked by another program") << u"bloccato"_s;
    }
    void fileNonUsabile()
    {
        QFETCH(QString, caso);
        QSqlDatabase altro = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"altro"_s);
        if (caso == u"testo"_s) {
            QFile f(gFileDb);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Elenco clienti\r\nIT00743110157\r\n");
        } else if (caso == u"troncato"_s) {
            QVERIFY(ApriDatabase());
            Tabella t;
            QVERIFY(t.Apri(u"PartiteIVA"_s));
            Transazione tr;
            for (int i = 0; i < 300; ++i)
                QVERIFY(Aggiungi(t, u"IT%1"_s.arg(i), QString(300, u'x')));
            QVERIFY(tr.Conferma());
            ChiudiDatabase();
            QVERIFY(QFile::resize(gFileDb, QFileInfo(gFileDb).size() / 2));
        } else if (caso == u"cartella"_s) {
            QVERIFY(QDir().mkpath(gFileDb));
        } else if (caso == u"senzaCartella"_s) {
            gFileDb = m_dir->filePath(u"manca/tarvel.db"_s);
        } else {
            QVERIFY(ApriDatabase());
            ChiudiDatabase();
            altro.setDatabaseName(gFileDb);
            QVERIFY(altro.open());
            QVERIFY(QSqlQuery(altro).exec(u"BEGIN EXCLUSIVE"_s));
        }
        QFile file(gFileDb);
        const bool unFile = QFileInfo(gFileDb).isFile();
        const QByteArray prima = unFile && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();

        QVERIFY(!ApriDatabase());
        QVERIFY(!gDbAperto);
        ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s);
        QVERIFY(!gRsWk.Aperta());
        QVERIFY(!EseguiSql(u"DELETE FROM WKPartiteIVA"_s));
        QVERIFY(m_prova->Messaggi().isEmpty());
        QCOMPARE(QFileInfo(gFileDb).isFile(), unFile);
        if (unFile) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), prima); // never repaired, overwritten or turned into a database
            file.close();
        }

        altro.close();
        altro = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"altro"_s);
    }

    void apriTabellaWkMancante()
    {
        QVERIFY(ApriDatabase());
        QVERIFY(EseguiSql(u"DROP TABLE WKPartiteIVA"_s));
        m_prova->ProssimaRisposta(Risposta::Riprova);
        m_prova->ProssimaRisposta(Risposta::Riprova);
        m_prova->ProssimaRisposta(Risposta::Annulla);
        ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s);
        QVERIFY(!gRsWk.Aperta());
        QCOMPARE(gRisposta, Risposta::Annulla);
        QCOMPARE(m_prova->Messaggi().size(), 3);
        for (const Messaggio& m : m_prova->Messaggi()) {
            QCOMPARE(m.titolo, u"ERRORE IN APERTURA TABELLA PartiteIVA"_s);
            QVERIFY2(m.testo.contains(u"WKPartiteIVA"_s), qPrintable(m.testo)); // the engine's own words
            QCOMPARE(m.icona, Icona::Esclamazione);
            QCOMPARE(m.pulsanti, Pulsanti::RiprovaAnnulla);
            QCOMPARE(m.predefinita, Risposta::Riprova);
        }

        // The next start puts the table back; then it opens without a word.
        QVERIFY(ApriDatabase());
        m_prova->Svuota();
        ApriTabellaWk(u"PartiteIVA"_s, u"PartiteIVA"_s);
        QVERIFY(gRsWk.Aperta());
        QVERIFY(m_prova->Messaggi().isEmpty());
        ChiudiDatabase();
        QVERIFY(!gRsWk.Aperta());
    }

    void valoriAndataERitorno_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QVariant>("scritto");
        QTest::addColumn<QVariant>("letto"); // invalid: the field reads as null
        const QDateTime momento(QDate(2010, 3, 12), QTime(10, 30, 15));
        QTest::newRow("null text") << u"Denominazione"_s << QVariant() << QVariant();
        QTest::newRow("accents and quotes") << u"Denominazione"_s << QVariant(u"Società L'Aquila àèéìòù €"_s)
                                            << QVariant(u"Società L'Aquila àèéìòù €"_s);
        const QString lungo = QString(1999, u'x') + u'è';
        QTest::newRow("2000 characters") << u"Indirizzo"_s << QVariant(lungo) << QVariant(lungo);
        QTest::newRow("date") << u"Inizio"_s << QVariant(momento) << QVariant(momento);
        QTest::newRow("zero date") << u"Fine"_s << QVariant(0) << QVariant();
        QTest::newRow("null date") << u"Fine"_s << QVariant() << QVariant();
        QTest::newRow("day/month/year text") << u"DataRichiesta"_s << QVariant(u"12/03/2010"_s)
                                             << QVariant(QDateTime(QDate(2010, 3, 12), QTime(0, 0)));
        QTest::newRow("whole number") << u"OK"_s << QVariant(2) << QVariant(qlonglong(2));
    }
    void valoriAndataERitorno()
    {
        QFETCH(QString, campo);
        QFETCH(QVariant, scritto);
        QFETCH(QVariant, letto);
        QVERIFY(ApriDatabase());
        Tabella t;
        QVERIFY(t.Apri(u"PartiteIVA"_s));
        t.AggiungiNuovo();
        QVERIFY(t.ImpostaCampo(u"Codice"_s, u"IT1"_s));
        QVERIFY(t.ImpostaCampo(campo, scritto));
        QVERIFY2(t.Aggiorna(), qPrintable(t.Errore()));

        ChiudiDatabase();
        QVERIFY(ApriDatabase());
        Tabella r;
        QVERIFY(r.Apri(u"PartiteIVA"_s));
        QVERIFY(r.Cerca(u"IT1"_s));
        const QVariant valore = r.Campo(campo);
        if (!letto.isValid()) {
            QVERIFY(valore.isNull());
            QCOMPARE(ValNum(valore), 0.0);
            QCOMPARE(ValTesto(valore), u" "_s);
            return;
        }
        QCOMPARE(valore, letto);
        if (letto.typeId() == QMetaType::QDateTime)
            QCOMPARE(ValNum(valore), SerialeData(letto.toDateTime()));
    }

    void cercaModificaScorri()
    {
        QVERIFY(ApriDatabase());
        Tabella t;
        QVERIFY(t.Apri(u"PartiteIVA"_s));
        for (const QString& c : {u"IT3"_s, u"DE1"_s, u"FR2"_s})
            QVERIFY(Aggiungi(t, c, u"Ditta "_s + c));
        QCOMPARE(t.ContaRecord(), 3);

        QStringList ordine;
        for (bool c = t.MuoviPrimo(); c; c = t.MuoviSuccessivo())
            ordine << t.Campo(0).toString();
        QCOMPARE(ordine, (QStringList{u"DE1"_s, u"FR2"_s, u"IT3"_s}));
        QVERIFY(t.Fine());

        QVERIFY(t.Cerca(u"it3"_s)); // keys compare without regard to case
        QVERIFY(t.Modifica());
        QVERIFY(t.ImpostaCampo(u"OK"_s, 2));
        QVERIFY(t.ImpostaCampo(u"Fine"_s, QDate(2020, 1, 31)));
        QVERIFY(!t.ImpostaCampo(u"Inesistente"_s, 1));
        QVERIFY(!t.ImpostaCampo(u"Inizio"_s, 1e300));
        QVERIFY(t.Aggiorna());
        Tabella r;
        QVERIFY(r.Apri(u"PartiteIVA"_s));
        QVERIFY(r.Cerca(u"IT3"_s));
        QCOMPARE(ValNum(r.Campo(u"OK"_s)), 2.0);
        QCOMPARE(r.Campo(u"Fine"_s).toDateTime(), QDate(2020, 1, 31).startOfDay());
        QCOMPARE(r.Campo(u"Denominazione"_s).toString(), u"Ditta IT3"_s); // fields not set stay
        QVERIFY(r.Campo(u"Inizio"_s).isNull());

        QVERIFY(!r.Cerca(u"XX9"_s));
        QVERIFY(r.Fine());
        QVERIFY(!r.Campo(u"Codice"_s).isValid());
        QVERIFY(!r.Modifica());

        // A refused write leaves the edit pending, so it can be put right.
        t.AggiungiNuovo();
        QVERIFY(t.ImpostaCampo(u"Codice"_s, u"de1"_s));
        QVERIFY(!t.Aggiorna());
        QVERIFY(!t.Errore().isEmpty());
        QVERIFY(t.ImpostaCampo(u"Codice"_s, u"DE9"_s));
        QVERIFY(t.Aggiorna());
        QCOMPARE(t.Campo(u"Codice"_s).toString(), u"DE9"_s);
        QCOMPARE(t.ContaRecord(), 4);
    }

    void transazione()
    {
        QVERIFY(ApriDatabase());
        QVERIFY(EseguiSql(u"INSERT INTO PartiteIVA (Codice) VALUES (?)"_s, {u"IT1"_s}));
        {
            Transazione tr;
            QVERIFY(tr.Attiva());
            QVERIFY(EseguiSql(u"DELETE FROM PartiteIVA"_s));
            QString errore;
            QVERIFY(!EseguiSql(u"INSERT INTO PartiteIVA (Codice) VALUES (NULL)"_s, {}, &errore));
            QVERIFY(!errore.isEmpty());
        } // not confirmed: nothing happened
        QCOMPARE(Righe(u"PartiteIVA"_s), 1);
        {
            Transazione tr;
            QVERIFY(EseguiSql(u"DELETE FROM PartiteIVA"_s));
            QVERIFY(tr.Conferma());
        }
        QCOMPARE(Righe(u"PartiteIVA"_s), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_Database.moc"
