#include "core/Database.h"
#include "results/ColonneRisultati.h"
#include "results/ModelloRisultati.h"
#include "results/SelezioneRisultati.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>
#include <random>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(FiltriRisultati)

namespace {

constexpr qint64 k13Dicembre2008 = 39795;

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
// of the plain SQL order.
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
        QSqlQuery q(m_db.Connessione());
        QStringList attese;
        if (q.exec(u"SELECT ifnull(Nazione, '') || '|' || ifnull(VAT, '') FROM PartiteIVA %1 ORDER BY %2%3, "
                   u"Nazione, VAT, Codice"_s.arg(where, ColonneRisultati()[colonna].campo,
                                                 discendente ? u" DESC"_s : QString()))) {
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
        const auto forse = [&](int su100, const QVariant& v) { return tra(0, 99) < su100 ? QVariant() : v; };
        const QStringList nazioni{u"IT"_s, u"DE"_s, u"FR"_s, u"MT"_s, u"AT"_s};
        Transazione transazione(m_db);
        for (int i = 0; i < 700; ++i) {
            const QString nazione = nazioni[tra(0, nazioni.size() - 1)];
            const QString vat = u"%1"_s.arg(i * 37 % 1000, 4, 10, QChar(u'0'));
            const int ok = tra(0, 2);
            Inserisci({QString(nazione + vat), nazione, vat, forse(3, u"ESITO %1 "_s.arg(ok)),
                       forse(5, u"DITTA %1 "_s.arg(tra(0, 300))), forse(5, u"VIA %1 "_s.arg(tra(0, 40))),
                       forse(30, u"19%1-01-01 00:00:00"_s.arg(tra(70, 99))),
                       ok == 2 ? QVariant(u"2020-0%1-01 00:00:00"_s.arg(tra(1, 9))) : QVariant(), ok,
                       forse(2, u"2008-12-%1 %2:00:00"_s.arg(tra(10, 16)).arg(tra(10, 23))),
                       forse(80, u"WAPI%1"_s.arg(tra(0, 99)))});
        }
        Inserisci({u"XX"_s, {}, {}, u"ESITO 0 "_s, {}, {}, {}, {}, 0, {}, {}});
        // On the filters' day at midnight, which belongs to both sides.
        Inserisci({u"IT"_s, u"IT"_s, {}, u"ESITO 1 "_s, {}, {}, {}, {}, 1, u"2008-12-13 00:00:00"_s, {}});
        QVERIFY(transazione.Conferma());
    }

    void righeInOrdine_data()
    {
        QTest::addColumn<FiltriRisultati>("filtri");
        QTest::addColumn<QString>("where");
        QTest::newRow("all") << FiltriRisultati{} << QString();
        QTest::newRow("before a day, the zero date too")
            << FiltriRisultati{0, {}, FiltroData::PrimaDel, k13Dicembre2008}
            << u"WHERE DataRichiesta <= '2008-12-13 00:00:00' OR DataRichiesta IS NULL"_s;
        QTest::newRow("all three")
            << FiltriRisultati{2, u"IT"_s, FiltroData::Dal, k13Dicembre2008}
            << u"WHERE OK = 1 AND Nazione = 'IT' AND DataRichiesta >= '2008-12-13 00:00:00'"_s;
    }
    // Every sort both ways, read forwards from the top, backwards from the bottom, and by a jump to a
    // row with nothing read yet.
    void righeInOrdine()
    {
        QFETCH(FiltriRisultati, filtri);
        QFETCH(QString, where);
        SelezioneRisultati selezione;
        selezione.filtri = filtri;
        for (int colonna = 0; colonna < kColonneRisultati; ++colonna) {
            for (const bool discendente : {false, true}) {
                const QStringList attese = Attese(where, colonna, discendente);
                selezione.ordine = {colonna, discendente};
                const QString sorgente = selezione.SorgenteRecord();
                QList<int> avanti(attese.size());
                std::iota(avanti.begin(), avanti.end(), 0);
                ModelloRisultati modello(m_db);
                modello.Filtra(selezione);
                QCOMPARE(modello.rowCount(), attese.size());
                QVERIFY2(Lette(modello, avanti) == attese, qPrintable(sorgente));
                ModelloRisultati dalFondo(m_db);
                dalFondo.Filtra(selezione);
                QVERIFY2(Lette(dalFondo, QList<int>(avanti.rbegin(), avanti.rend())) == attese,
                         qPrintable(sorgente));
                std::mt19937 caso(colonna);
                for (int salto = 0; salto < 15 && !attese.isEmpty(); ++salto) {
                    const int r = std::uniform_int_distribution<int>(0, int(attese.size()) - 1)(caso);
                    ModelloRisultati nuovo(m_db);
                    nuovo.Filtra(selezione);
                    QVERIFY2(Lette(nuovo, {r})[r] == attese[r], qPrintable(sorgente + u", riga %1"_s.arg(r)));
                }
            }
        }
    }

    // From noon on the picker's day is the next, halves going to even. The zero date, stored as NULL,
    // shows as a blank; a number of days another tool stored, as a date.
    void giorni()
    {
        QCOMPARE(NumeroGiorno(QDateTime(QDate(2008, 12, 14), QTime(12, 0))), k13Dicembre2008 + 1);
        QCOMPARE(NumeroGiorno(QDateTime(QDate(2008, 12, 14), QTime(12, 0, 1))), k13Dicembre2008 + 2);
        QCOMPARE(TestoCella(kColFine, {}), u" "_s);
        QCOMPARE(TestoCella(kColInizio, 39795.5), u"13/12/2008 12.00.00"_s);
    }
};

QTEST_GUILESS_MAIN(TestModelloRisultati)
#include "tst_ModelloRisultati.moc"
