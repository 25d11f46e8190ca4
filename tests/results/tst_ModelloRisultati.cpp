#include "core/Database.h"
#include "results/ColonneRisultati.h"
#include "results/ModelloRisultati.h"
#include "results/SelezioneRisultati.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(FiltriRisultati)
Q_DECLARE_METATYPE(OrdineRisultati)

namespace {

constexpr qint64 k13Dicembre2008 = 39795;

FiltriRisultati Filtri(int stato, const QString& nazione, FiltroData data = FiltroData::Nessuno,
                       qint64 giorno = k13Dicembre2008)
{
    return {stato, nazione, data, giorno};
}

// The rows of the grid as "Nazione|VAT", read through the model in the order of `posizioni`.
QStringList Lette(const ModelloRisultati& modello, const QList<int>& posizioni)
{
    QStringList lette(modello.rowCount());
    for (const int r : posizioni)
        lette[r] = modello.index(r, kColNazione).data().toString() + u'|' +
                   modello.index(r, kColVat).data().toString();
    return lette;
}

} // namespace

// The windowed model over a results table: the rows it gives, wherever they are read from, are those
// of the plain SQL order; and the texts of the user's filter.
class TestModelloRisultati : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Database m_db;

    void Inserisci(const QVariantList& valori)
    {
        QVERIFY(m_db.Esegui(
            u"INSERT INTO PartiteIVA (Codice, Nazione, VAT, Esito, Denominazione, Indirizzo, "
            u"Inizio, Fine, OK, DataRichiesta, Consultazione) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            valori));
    }

    // What the grid must show, by SQLite's own ORDER BY over the whole selection.
    QStringList Attese(const QString& where, int colonna, bool discendente)
    {
        const QString campo = ColonneRisultati()[colonna].campo;
        QStringList ordine{campo + (discendente ? u" DESC"_s : QString())};
        for (const QString& pari : {u"Nazione"_s, u"VAT"_s, u"Codice"_s}) {
            if (pari != campo)
                ordine << pari;
        }
        QSqlQuery q(m_db.Connessione());
        q.prepare(u"SELECT ifnull(Nazione, '') || '|' || ifnull(VAT, '') FROM PartiteIVA "_s + where +
                  u" ORDER BY "_s + ordine.join(u", "_s));
        QStringList attese;
        if (q.exec()) {
            while (q.next())
                attese << q.value(0).toString();
        }
        return attese;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_db.Apri(m_dir.filePath(u"tarvel.db"_s)));
        // 700 answers made to break a paging: few values with many ties, NULLs in every sortable
        // field (also in Nazione and VAT, which the program never leaves empty), repeated dates.
        std::mt19937 caso(15);
        const auto tra = [&caso](int da, int a) { return std::uniform_int_distribution<int>(da, a)(caso); };
        const QStringList nazioni{u"IT"_s, u"DE"_s, u"FR"_s, u"MT"_s, u"AT"_s};
        Transazione transazione(m_db);
        for (int i = 0; i < 700; ++i) {
            const QString nazione = nazioni[tra(0, nazioni.size() - 1)];
            const QString vat = u"%1"_s.arg(i * 37 % 1000, 4, 10, QChar(u'0'));
            const int ok = tra(0, 2);
            const auto forse = [&](int su100, const QVariant& v) {
                return tra(0, 99) < su100 ? QVariant() : v;
            };
            Inserisci({QString(nazione + vat), nazione, vat, forse(3, u"ESITO %1 "_s.arg(ok)),
                       forse(5, u"DITTA %1 "_s.arg(tra(0, 300))), forse(5, u"VIA %1 "_s.arg(tra(0, 40))),
                       forse(30, u"19%1-01-01 00:00:00"_s.arg(tra(70, 99))),
                       ok == 2 ? QVariant(u"2020-0%1-01 00:00:00"_s.arg(tra(1, 9))) : QVariant(), ok,
                       forse(2, u"2008-12-%1 %2:00:00"_s.arg(tra(10, 16)).arg(tra(10, 23))),
                       forse(80, u"WAPI%1"_s.arg(tra(0, 99)))});
        }
        Inserisci({u"XX"_s, {}, {}, u"ESITO 0 "_s, {}, {}, {}, {}, 0, {}, {}});
        Inserisci({u"IT"_s, u"IT"_s, {}, u"ESITO 1 "_s, {}, {}, {}, {}, 1, u"2008-12-13 00:00:00"_s, {}});
        QVERIFY(transazione.Conferma());
    }

    void righeInOrdine_data()
    {
        QTest::addColumn<FiltriRisultati>("filtri");
        QTest::addColumn<QString>("where");
        QTest::newRow("all") << FiltriRisultati{} << QString();
        QTest::newRow("not existing") << Filtri(2, {}) << u"WHERE OK = 1"_s;
        QTest::newRow("one country") << Filtri(0, u"MT"_s) << u"WHERE Nazione = 'MT'"_s;
        QTest::newRow("from a day") << Filtri(0, {}, FiltroData::Dal)
                                    << u"WHERE DataRichiesta >= '2008-12-13 00:00:00'"_s;
        QTest::newRow("before a day, the zero date too")
            << Filtri(0, {}, FiltroData::PrimaDel)
            << u"WHERE DataRichiesta <= '2008-12-13 00:00:00' OR DataRichiesta IS NULL"_s;
        QTest::newRow("all three") << Filtri(1, u"IT"_s, FiltroData::Dal, k13Dicembre2008 + 2)
                                   << u"WHERE OK = 0 AND Nazione = 'IT' AND DataRichiesta >= '2008-12-15'"_s;
    }
    // Every sort both ways, read forwards from the top, backwards from the bottom, and by a jump to a
    // row with nothing read yet.
    void righeInOrdine()
    {
        QFETCH(FiltriRisultati, filtri);
        QFETCH(QString, where);
        SelezioneRisultati selezione;
        selezione.filtri = filtri;
        QList<int> avanti;
        for (int colonna = 0; colonna < kColonneRisultati; ++colonna) {
            for (const bool discendente : {false, true}) {
                const QStringList attese = Attese(where, colonna, discendente);
                selezione.ordine = {colonna, discendente};
                ModelloRisultati modello(m_db);
                modello.Filtra(selezione);
                QCOMPARE(modello.rowCount(), attese.size());
                if (avanti.size() != attese.size()) {
                    avanti.clear();
                    for (int r = 0; r < attese.size(); ++r)
                        avanti << r;
                }
                const QString sorgente = selezione.SorgenteRecord();
                QVERIFY2(Lette(modello, avanti) == attese, qPrintable(sorgente));
                QList<int> indietro = avanti;
                std::reverse(indietro.begin(), indietro.end());
                ModelloRisultati dalFondo(m_db);
                dalFondo.Filtra(selezione);
                QVERIFY2(Lette(dalFondo, indietro) == attese, qPrintable(sorgente));
                std::mt19937 caso(colonna);
                for (int salto = 0; salto < 15 && !attese.isEmpty(); ++salto) {
                    const int r = std::uniform_int_distribution<int>(0, int(attese.size()) - 1)(caso);
                    ModelloRisultati nuovo(m_db);
                    nuovo.Filtra(selezione);
                    QVERIFY2(Lette(nuovo, {r})[r] == attese[r],
                             qPrintable(sorgente + u", riga "_s + QString::number(r)));
                }
            }
        }
    }

    void testiDelFiltro_data()
    {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<FiltriRisultati>("filtri");
        QTest::addColumn<OrdineRisultati>("ordine");
        QTest::addColumn<QString>("sorgente");
        QTest::newRow("the example")
            << u"PartiteIVA"_s << Filtri(2, u"IT"_s, FiltroData::Dal) << OrdineRisultati{}
            << u"Select * FROM PartiteIVA WHERE OK = 1 AND Nazione = 'IT' AND DataRichiesta >= 39795 "
               u"ORDER BY Nazione ASC"_s;
        QTest::newRow("no filter") << u"PartiteIVA"_s << FiltriRisultati{} << OrdineRisultati{}
                                   << u"Select * FROM PartiteIVA ORDER BY Nazione ASC"_s;
        QTest::newRow("first clause after WHERE, number sorted alone")
            << u"PartiteIVA"_s << Filtri(0, u"FR"_s) << OrdineRisultati{kColVat, true}
            << u"Select * FROM PartiteIVA WHERE Nazione = 'FR' ORDER BY VAT DESC"_s;
        QTest::newRow("before a day, by a later column")
            << u"PartiteIVA"_s << Filtri(0, {}, FiltroData::PrimaDel, 40000) << OrdineRisultati{kColOk, true}
            << u"Select * FROM PartiteIVA WHERE DataRichiesta <= 40000 ORDER BY OK DESC, Nazione, VAT"_s;
        QTest::newRow("active, work table")
            << u"WkPartiteIVA"_s << Filtri(1, {}, FiltroData::Dal, 0) << OrdineRisultati{kColEsito, false}
            << u"Select * FROM WkPartiteIVA WHERE OK = 0 AND DataRichiesta >= 0 ORDER BY Esito ASC, Nazione, VAT"_s;
    }
    void testiDelFiltro()
    {
        QFETCH(QString, tabella);
        QFETCH(FiltriRisultati, filtri);
        QFETCH(OrdineRisultati, ordine);
        QFETCH(QString, sorgente);
        const SelezioneRisultati selezione{tabella, filtri, ordine};
        QCOMPARE(selezione.SorgenteRecord(), sorgente);
        QCOMPARE(selezione.SqlFiltro(), sorgente.left(sorgente.indexOf(u" ORDER BY "_s)));
    }

    // The filter's day on the stored form: midnight belongs to both sides, the zero date is before.
    void giornoDelFiltro_data()
    {
        QTest::addColumn<QDateTime>("momento");
        QTest::addColumn<qint64>("giorno");
        QTest::newRow("midnight") << QDateTime(QDate(2008, 12, 13), QTime(0, 0)) << k13Dicembre2008;
        QTest::newRow("before noon") << QDateTime(QDate(2008, 12, 13), QTime(11, 59, 59)) << k13Dicembre2008;
        QTest::newRow("noon of an odd day")
            << QDateTime(QDate(2008, 12, 13), QTime(12, 0)) << k13Dicembre2008 + 1;
        QTest::newRow("noon of an even day")
            << QDateTime(QDate(2008, 12, 14), QTime(12, 0)) << k13Dicembre2008 + 1;
        QTest::newRow("afternoon") << QDateTime(QDate(2008, 12, 14), QTime(12, 0, 1)) << k13Dicembre2008 + 2;
    }
    void giornoDelFiltro()
    {
        QFETCH(QDateTime, momento);
        QFETCH(qint64, giorno);
        QCOMPARE(NumeroGiorno(momento), giorno);
        QCOMPARE(InizioGiornoMemorizzato(k13Dicembre2008), u"2008-12-13 00:00:00"_s);

        QTemporaryDir dir;
        Database db;
        QVERIFY(db.Apri(dir.filePath(u"giorni.db"_s)));
        const QVariantList richieste{u"2008-12-12 23:59:59"_s, u"2008-12-13 00:00:00"_s,
                                     u"2008-12-13 00:00:01"_s, QVariant()};
        for (int i = 0; i < richieste.size(); ++i)
            QVERIFY(db.Esegui(
                u"INSERT INTO PartiteIVA (Codice, Nazione, VAT, DataRichiesta) VALUES (?, 'IT', ?, ?)"_s,
                {u"IT%1"_s.arg(i), QString::number(i), richieste[i]}));
        const auto vat = [&db](FiltroData data) {
            ModelloRisultati modello(db);
            modello.Filtra({u"PartiteIVA"_s, Filtri(0, {}, data), {kColDataRichiesta, false}});
            QStringList vat;
            for (int r = 0; r < modello.rowCount(); ++r)
                vat << modello.index(r, kColVat).data().toString();
            return vat;
        };
        QCOMPARE(vat(FiltroData::PrimaDel), (QStringList{u"3"_s, u"0"_s, u"1"_s}));
        QCOMPARE(vat(FiltroData::Dal), (QStringList{u"1"_s, u"2"_s}));
    }

    void testiDelleCelle_data()
    {
        QTest::addColumn<int>("colonna");
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("testo");
        const QVariant nullo;
        QTest::newRow("zero date of INIZIO") << int(kColInizio) << nullo << u" "_s;
        QTest::newRow("zero date of TERMINE") << int(kColFine) << nullo << u" "_s;
        QTest::newRow("a day") << int(kColInizio) << QVariant(u"2008-12-13 00:00:00"_s) << u"13/12/2008"_s;
        QTest::newRow("a moment") << int(kColDataRichiesta) << QVariant(u"2026-12-05 14:30:05"_s)
                                  << u"05/12/2026 14.30.05"_s;
        QTest::newRow("a serial another tool stored")
            << int(kColFine) << QVariant(39795.5) << u"13/12/2008 12.00.00"_s;
        QTest::newRow("not a date") << int(kColDataRichiesta) << QVariant(u"ieri"_s) << u"ieri"_s;
        QTest::newRow("active") << int(kColOk) << QVariant(0) << u" "_s;
        QTest::newRow("not existing") << int(kColOk) << QVariant(1) << u"E"_s;
        QTest::newRow("ceased") << int(kColOk) << QVariant(2) << u"C"_s;
    }
    void testiDelleCelle()
    {
        QFETCH(int, colonna);
        QFETCH(QVariant, valore);
        QFETCH(QString, testo);
        QCOMPARE(TestoCella(colonna, valore), testo);
    }

    // Without a database the grid is empty, and nothing breaks.
    void databaseChiuso()
    {
        Database chiuso;
        ModelloRisultati modello(chiuso);
        modello.Filtra({});
        QCOMPARE(modello.rowCount(), 0);
        QVERIFY(!modello.index(0, 0).data().isValid());
    }
};

QTEST_GUILESS_MAIN(TestModelloRisultati)
#include "tst_ModelloRisultati.moc"
