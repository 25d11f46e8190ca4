// bench_risultati CARTELLA RIGHE: makes CARTELLA/tarvel.db with RIGHE answers when it holds another
// number, then times the results browser over it. Figures on standard error as they come, the JSON
// line last on standard output.

#include "Processo.h"
#include "core/Database.h"
#include "results/ColonneRisultati.h"
#include "results/EleVATok.h"
#include "session/Sessione.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <cstdio>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

// The default country table, with shares of a list of an Italian firm's customers (per thousand).
const std::pair<const char16_t*, int> kNazioni[] = {
    {u"IT", 300}, {u"DE", 150}, {u"FR", 120}, {u"ES", 80}, {u"NL", 50}, {u"BE", 40}, {u"AT", 35},
    {u"PL", 35},  {u"GB", 30},  {u"PT", 20},  {u"SE", 20}, {u"DK", 15}, {u"CZ", 15}, {u"IE", 12},
    {u"RO", 12},  {u"HU", 10},  {u"EL", 10},  {u"FI", 8},  {u"SK", 8},  {u"SI", 6},  {u"BG", 6},
    {u"LT", 5},   {u"LV", 4},   {u"EE", 4},   {u"LU", 4},  {u"CY", 3},  {u"MT", 2}};
const QStringList kParole = {u"ROSSI"_s,     u"BIANCHI"_s,   u"VERDI"_s,       u"GALLI"_s,
                             u"FERRARI"_s,   u"ESPOSITO"_s,  u"COLOMBO"_s,     u"RICCI"_s,
                             u"MARINO"_s,    u"GRECO"_s,     u"BRUNO"_s,       u"CONTI"_s,
                             u"MECCANICA"_s, u"TESSILE"_s,   u"LOGISTICA"_s,   u"ALIMENTARI"_s,
                             u"IMPIANTI"_s,  u"TRASPORTI"_s, u"COMMERCIALE"_s, u"INDUSTRIE"_s};
const QStringList kForme = {u"S.R.L."_s, u"S.P.A."_s, u"GMBH"_s, u"SARL"_s, u"S.L."_s, u"B.V."_s, u"LTD"_s};
const QDateTime kInizioRichieste(QDate(2021, 1, 1), QTime(0, 0));
constexpr qint64 kSecondiRichieste = 5 * 365 * 86400LL;

qint64 Conta(Database& database)
{
    QSqlQuery q(database.Connessione());
    return q.exec(u"SELECT COUNT(*) FROM PartiteIVA"_s) && q.next() ? q.value(0).toLongLong() : -1;
}

// 27 countries in their shares, a third not valid and some ceased, requests over five years. The
// sort indexes are dropped while the rows go in and made again by the next open.
bool Riempi(Database& database, qint64 righe)
{
    for (const ColonnaGriglia& c : ColonneRisultati())
        database.Esegui(u"DROP INDEX IF EXISTS "_s + IndiceOrdine(u"PartiteIVA"_s, c.campo));
    database.Esegui(u"DELETE FROM PartiteIVA"_s);
    std::mt19937_64 caso(20261205);
    const auto tra = [&caso](qint64 da, qint64 a) {
        return std::uniform_int_distribution<qint64>(da, a)(caso);
    };
    int pesoTotale = 0;
    for (const auto& n : kNazioni)
        pesoTotale += n.second;
    std::array<qint64, std::size(kNazioni)> contatori{};

    Transazione transazione(database);
    QSqlQuery q(database.Connessione());
    q.prepare(u"INSERT INTO PartiteIVA (Codice, Nazione, VAT, Esito, Denominazione, Indirizzo, Inizio, Fine, "
              u"OK, DataRichiesta, Consultazione) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (qint64 i = 0; i < righe; ++i) {
        qint64 peso = tra(0, pesoTotale - 1);
        std::size_t n = 0;
        while (peso >= kNazioni[n].second)
            peso -= kNazioni[n++].second;
        const QString nazione = QString::fromUtf16(kNazioni[n].first);
        // A different national number for every row of a country: 7919 is prime to 10^9.
        const QString vat = u"%1"_s.arg((contatori[n]++ * 7919 + 12345) % 1'000'000'000, 9, 10, QChar(u'0'));
        const qint64 dado = tra(0, 99);
        const int ok = dado < 33 ? 1 : dado < 39 ? 2 : 0;
        const QDateTime richiesta = kInizioRichieste.addSecs(tra(0, kSecondiRichieste));
        q.addBindValue(QString(nazione + vat));
        q.addBindValue(nazione);
        q.addBindValue(vat);
        q.addBindValue(ok == 1 ? u"Partita IVA non valida "_s : u"Partita IVA valida "_s);
        q.addBindValue(ok == 1 ? u" "_s
                               : kParole[tra(0, kParole.size() - 1)] + u' ' +
                                     kParole[tra(0, kParole.size() - 1)] + u' ' +
                                     kForme[tra(0, kForme.size() - 1)] + u' ');
        q.addBindValue(u"VIA %1 %2 %3 "_s.arg(kParole[tra(0, kParole.size() - 1)])
                           .arg(tra(1, 300))
                           .arg(tra(10000, 99999)));
        q.addBindValue(
            tra(0, 4) == 0
                ? QVariant()
                : QVariant(QDate(1970, 1, 1).addDays(tra(0, 18000)).toString(u"yyyy-MM-dd 00:00:00"_s)));
        q.addBindValue(
            ok == 2 ? QVariant(QDate(2015, 1, 1).addDays(tra(0, 3600)).toString(u"yyyy-MM-dd 00:00:00"_s))
                    : QVariant());
        q.addBindValue(ok);
        q.addBindValue(richiesta.toString(u"yyyy-MM-dd HH:mm:ss"_s));
        q.addBindValue(tra(0, 4) == 0 ? QVariant(u"WAPIAAAAZ%1"_s.arg(tra(0, 999'999'999))) : QVariant());
        if (!q.exec())
            return false;
    }
    return transazione.Conferma();
}

class Misura
{
public:
    explicit Misura(EleVATok& finestra)
        : m_griglia(finestra.findChild<QTableView*>(u"TDBGrid1"_s)),
          m_cbStato(finestra.findChild<QComboBox*>(u"cbStato"_s)),
          m_cbNazioni(finestra.findChild<QComboBox*>(u"cbNazioni"_s)),
          m_Combo1(finestra.findChild<QComboBox*>(u"Combo1"_s)),
          m_DTPicker1(finestra.findChild<QDateTimeEdit*>(u"DTPicker1"_s))
    {}

    // Milliseconds for `azione` and the grid's repaint that shows its rows.
    template <typename F> double Tempo(F azione)
    {
        QElapsedTimer t;
        t.start();
        azione();
        QCoreApplication::processEvents(); // the grid lays out its new rows
        m_griglia->viewport()->repaint();
        return t.nsecsElapsed() / 1e6;
    }

    void Giorno(const QDate& giorno) { m_DTPicker1->setDate(giorno); }
    void Filtri(int stato, int nazione, int data)
    {
        m_cbStato->setCurrentIndex(stato);
        m_cbNazioni->setCurrentIndex(nazione);
        m_Combo1->setCurrentIndex(data);
    }

    // A heading click in the middle of column `colonna`, left for ascending, right for descending.
    void Ordina(int colonna, bool discendente)
    {
        QHeaderView* intestazione = m_griglia->horizontalHeader();
        const QPoint punto(intestazione->sectionViewportPosition(colonna) +
                               intestazione->sectionSize(colonna) / 2,
                           intestazione->height() / 2);
        QTest::mouseClick(intestazione->viewport(), discendente ? Qt::RightButton : Qt::LeftButton, {},
                          punto);
    }

    int Nazione(const QString& codice) const { return m_cbNazioni->findText(codice, Qt::MatchStartsWith); }
    QTableView* Griglia() const { return m_griglia; }

private:
    QTableView* m_griglia;
    QComboBox* m_cbStato;
    QComboBox* m_cbNazioni;
    QComboBox* m_Combo1;
    QDateTimeEdit* m_DTPicker1;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() != 3)
        return 2;
    const QString cartella = argomenti[1];
    const qint64 righe = argomenti[2].toLongLong();
    {
        Database database;
        if (!database.Apri(cartella + u"/tarvel.db"_s))
            return 1;
        if (Conta(database) != righe) {
            QElapsedTimer t;
            t.start();
            if (!Riempi(database, righe))
                return 1;
            std::fprintf(stderr, "tabella di %lld righe scritta in %.1f s\n", righe, t.elapsed() / 1000.0);
            t.restart();
            database.Chiudi();
            if (!database.Apri(cartella + u"/tarvel.db"_s))
                return 1;
            std::fprintf(stderr, "indici creati all'apertura in %.1f s\n", t.elapsed() / 1000.0);
        }
    }

    // The reference: a bare window with an empty grid, shown and painted.
    double riferimento = 0;
    {
        QElapsedTimer t;
        t.start();
        QWidget vuota;
        auto* tabella = new QTableView(&vuota);
        QStandardItemModel modello(0, kColonneRisultati);
        tabella->setModel(&modello);
        vuota.resize(840, 480);
        vuota.show();
        tabella->viewport()->repaint();
        riferimento = t.nsecsElapsed() / 1e6;
    }

    const std::unique_ptr<Sessione> sessione = ApriSessione(cartella, ModoSessione::Finestre);
    std::unique_ptr<EleVATok> finestra;
    QElapsedTimer t;
    t.start();
    finestra = std::make_unique<EleVATok>(*sessione, TabellaSfogliata::Risultati);
    finestra->show();
    Misura misura(*finestra);
    QCoreApplication::processEvents();
    misura.Griglia()->viewport()->repaint();
    const double apertura = t.nsecsElapsed() / 1e6;
    std::fprintf(stderr, "apertura %.1f ms (finestra vuota di riferimento %.1f ms)\n", apertura, riferimento);

    const QDate metaPeriodo = kInizioRichieste.date().addDays(900);
    const QDate recente = kInizioRichieste.date().addDays(5 * 365 - 60);
    const int it = misura.Nazione(u"IT"_s);
    const int mt = misura.Nazione(u"MT"_s);

    // Each filter alone, from none.
    double filtro = 0;
    struct Filtro {
        const char* nome;
        int stato, nazione, data;
        QDate giorno;
    };
    const Filtro filtri[] = {{"ATTIVE", 1, -1, 0, metaPeriodo},  {"INESISTENTI", 2, -1, 0, metaPeriodo},
                             {"CESSATE", 3, -1, 0, metaPeriodo}, {"IT", 0, it, 0, metaPeriodo},
                             {"MT", 0, mt, 0, metaPeriodo},      {"Prima del", 0, -1, 1, metaPeriodo},
                             {"Dal", 0, -1, 2, recente}};
    for (const Filtro& f : filtri) {
        misura.Filtri(0, -1, 0);
        misura.Giorno(f.giorno);
        const double ms = misura.Tempo([&] { misura.Filtri(f.stato, f.nazione, f.data); });
        std::fprintf(stderr, "filtro %s: %.1f ms (%s)\n", f.nome, ms,
                     qPrintable(finestra->findChild<QLabel*>(u"lbNUmRec"_s)->text()));
        filtro = std::max(filtro, ms);
    }

    // Each heading both ways, over the whole table.
    misura.Filtri(0, -1, 0);
    double ordinamento = 0;
    for (int colonna = 0; colonna < kColonneRisultati - 1; ++colonna) {
        for (const bool discendente : {false, true}) {
            const double ms = misura.Tempo([&] { misura.Ordina(colonna, discendente); });
            std::fprintf(stderr, "ordine %d %s: %.1f ms %s\n", colonna, discendente ? "disc." : "cresc.", ms,
                         qPrintable(finestra->SorgenteRecord()));
            ordinamento = std::max(ordinamento, ms);
        }
    }

    // Scrolling to the last row, in the first column's order and in the last heading's descending
    // one; and, for the record, a jump to the middle (a drag of the scroll bar's thumb).
    double fondo = 0;
    for (const int colonna : {-1, int(kColDataRichiesta)}) {
        misura.Filtri(0, -1, 0);
        if (colonna >= 0)
            misura.Ordina(colonna, true);
        misura.Griglia()->scrollToTop();
        misura.Griglia()->viewport()->repaint();
        fondo = std::max(fondo, misura.Tempo([&] { misura.Griglia()->scrollToBottom(); }));
        QAbstractItemModel* modello = misura.Griglia()->model();
        const double meta =
            misura.Tempo([&] { misura.Griglia()->scrollTo(modello->index(modello->rowCount() / 2, 0)); });
        std::fprintf(stderr, "salto a metà, %s: %.1f ms\n", qPrintable(finestra->SorgenteRecord()), meta);
    }
    std::fprintf(stderr, "fondo: %.1f ms\n", fondo);

    // Every filter combination with every sort: filtering, then sorting, each with its repaint.
    double peggiore = 0;
    QString quale;
    for (int stato = 0; stato < 4; ++stato) {
        for (const int nazione : {-1, it, mt}) {
            for (int data = 0; data < 3; ++data) {
                misura.Filtri(0, -1, 0);
                misura.Giorno(data == 2 ? recente : metaPeriodo);
                const double filtrato = misura.Tempo([&] { misura.Filtri(stato, nazione, data); });
                for (int colonna = 0; colonna < kColonneRisultati - 1; ++colonna) {
                    for (const bool discendente : {false, true}) {
                        const double ms =
                            filtrato + misura.Tempo([&] { misura.Ordina(colonna, discendente); });
                        if (ms > peggiore) {
                            peggiore = ms;
                            quale = finestra->SorgenteRecord();
                        }
                    }
                }
            }
        }
    }
    std::fprintf(stderr, "peggiore: %.1f ms, %s\n", peggiore, qPrintable(quale));

    const double memoria = MemoriaMassimaMb();
    std::printf("{\"righe\":%lld,\"apertura_ms\":%.1f,\"filtro_ms\":%.1f,\"ordinamento_ms\":%.1f,"
                "\"peggiore_ms\":%.1f,\"fondo_ms\":%.1f,\"memoria_mb\":%.1f}\n",
                righe, apertura, filtro, ordinamento, peggiore, fondo, memoria);
    return 0;
}
