#include "results/ScorrimentoRisultati.h"

#include "core/Database.h"
#include "results/ColonneRisultati.h"

#include <QSqlQuery>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList CampiLetti()
{
    QStringList campi{u"Codice"_s};
    for (const ColonnaGriglia& c : ColonneRisultati())
        campi << c.campo;
    return campi;
}

const QStringList kCampiLetti = CampiLetti();

QSqlQuery Prepara(Database& database, const QString& sql, const QVariantList& valori)
{
    QSqlQuery q(database.Connessione());
    q.setForwardOnly(true);
    if (q.prepare(sql)) {
        for (const QVariant& v : valori)
            q.addBindValue(v);
        q.exec();
    }
    return q;
}

} // namespace

ScorrimentoRisultati::ScorrimentoRisultati(Database& database, const SelezioneRisultati& selezione)
    : m_database(database), m_tabella(selezione.tabella), m_campo(selezione.CampoOrdine()),
      m_coda(ChiaveOrdine(m_campo).mid(1)), m_discendente(selezione.ordine.discendente),
      m_filtri(selezione.Filtri(true)), m_filtriConta(selezione.Filtri(false)),
      m_sorgente(u" FROM "_s + m_tabella + u" INDEXED BY "_s + IndiceOrdine(m_tabella, m_campo))
{}

qint64 ScorrimentoRisultati::Conta() const
{
    if (!m_database.Aperto())
        return 0;
    QString sql = u"SELECT COUNT(*) FROM "_s + m_tabella;
    if (!m_filtriConta.termini.isEmpty())
        sql += u" WHERE "_s + m_filtriConta.termini.join(u" AND "_s);
    QSqlQuery q = Prepara(m_database, sql, m_filtriConta.valori);
    return q.next() ? q.value(0).toLongLong() : 0;
}

QList<RigaRisultati> ScorrimentoRisultati::Seguenti(const RigaRisultati* ancora, int n, bool indietro) const
{
    const Verso verso = VersoDi(indietro);
    const QString ordineCoda = Ordine(m_coda, verso.coda);
    QList<RigaRisultati> righe;
    const auto aggiungi = [&](const QList<Termine>& termini, const QString& ordine) {
        if (righe.size() < n)
            righe += Leggi(termini, ordine, n - righe.size());
    };

    std::optional<QVariant> gruppo; // the sort field's value last read; none before the first
    if (ancora) {
        // The anchor's own value first: its rows after the anchor's key, the deepest tie first.
        gruppo = ancora->value(Posizione(m_campo));
        for (qsizetype i = m_coda.size() - 1; i >= 0; --i) {
            QList<Termine> prefisso{Uguale(m_campo, *gruppo)};
            for (qsizetype j = 0; j < i; ++j)
                prefisso << Uguale(m_coda[j], ancora->value(Posizione(m_coda[j])));
            const QVariant valore = ancora->value(Posizione(m_coda[i]));
            for (const Termine& t : Dopo(m_coda[i], &valore, verso.coda))
                aggiungi(prefisso + QList<Termine>{t}, ordineCoda);
        }
    }
    if (verso.campo == verso.coda) {
        const QString ordine = Ordine(QStringList{m_campo} + m_coda, verso.campo);
        for (const Termine& t : Dopo(m_campo, gruppo ? &*gruppo : nullptr, verso.campo))
            aggiungi({t}, ordine);
        return righe;
    }
    while (righe.size() < n) {
        gruppo = GruppoDopo(gruppo ? &*gruppo : nullptr, verso.campo);
        if (!gruppo)
            break;
        aggiungi({Uguale(m_campo, *gruppo)}, ordineCoda);
    }
    return righe;
}

std::optional<RigaRisultati> ScorrimentoRisultati::AllaPosizione(qint64 posizione, qint64 totale) const
{
    if (posizione < 0 || posizione >= totale)
        return std::nullopt;
    const bool indietro = posizione >= totale - posizione;
    const qint64 q = indietro ? totale - 1 - posizione : posizione;
    const Verso verso = VersoDi(indietro);

    // NULLs come first going up, last going down.
    const qint64 nulli = ContaDove({Uguale(m_campo, QVariant())});
    const qint64 primoNullo = verso.campo ? totale - nulli : 0;
    QVariant gruppo;
    qint64 nelGruppo = q - primoNullo;
    if (q < primoNullo || q >= primoNullo + nulli) {
        const qint64 traNonNulli = verso.campo ? q : q - nulli;
        const Termine nonNullo{m_campo + u" IS NOT NULL"_s, {}};
        const std::optional<QVariant> valore = Valore({nonNullo}, verso.campo, traNonNulli);
        if (!valore)
            return std::nullopt;
        gruppo = *valore;
        const Termine prima{m_campo + (verso.campo ? u" > ?"_s : u" < ?"_s), {gruppo}};
        nelGruppo = traNonNulli - ContaDove({nonNullo, prima});
    }
    const QList<RigaRisultati> righe =
        Leggi({Uguale(m_campo, gruppo)}, Ordine(m_coda, verso.coda), 1, qMax<qint64>(nelGruppo, 0));
    if (righe.isEmpty())
        return std::nullopt;
    return righe.first();
}

ScorrimentoRisultati::Verso ScorrimentoRisultati::VersoDi(bool indietro) const
{
    return indietro ? Verso{!m_discendente, true} : Verso{m_discendente, false};
}

// The ranges of `colonna` that follow `valore` (before the first value when null), in order, one term
// each: NULL sorts below every value.
QList<ScorrimentoRisultati::Termine>
ScorrimentoRisultati::Dopo(const QString& colonna, const QVariant* valore, bool discendente) const
{
    const Termine nullo{colonna + u" IS NULL"_s, {}};
    const Termine nonNullo{colonna + u" IS NOT NULL"_s, {}};
    if (!valore)
        return discendente ? QList<Termine>{nonNullo, nullo} : QList<Termine>{nullo, nonNullo};
    if (valore->isNull())
        return discendente ? QList<Termine>{} : QList<Termine>{nonNullo};
    if (discendente)
        return {{colonna + u" < ?"_s, {*valore}}, nullo};
    return {{colonna + u" > ?"_s, {*valore}}};
}

ScorrimentoRisultati::Termine ScorrimentoRisultati::Uguale(const QString& colonna,
                                                           const QVariant& valore) const
{
    if (valore.isNull())
        return {colonna + u" IS NULL"_s, {}};
    return {colonna + u" = ?"_s, {valore}};
}

QString ScorrimentoRisultati::Ordine(const QStringList& colonne, bool discendente) const
{
    return discendente ? colonne.join(u" DESC, "_s) + u" DESC"_s : colonne.join(u", "_s);
}

QList<RigaRisultati> ScorrimentoRisultati::Leggi(const QList<Termine>& termini, const QString& ordine,
                                                 qint64 limite, qint64 salta) const
{
    QList<RigaRisultati> righe;
    if (!m_database.Aperto())
        return righe;
    Condizioni dove = Dove(termini);
    dove.valori << limite << salta;
    QSqlQuery q =
        Prepara(m_database,
                u"SELECT "_s + kCampiLetti.join(u", "_s) + m_sorgente + u" WHERE "_s +
                    dove.termini.join(u" AND "_s) + u" ORDER BY "_s + ordine + u" LIMIT ? OFFSET ?"_s,
                dove.valori);
    while (q.next()) {
        RigaRisultati riga;
        riga.reserve(kCampiLetti.size());
        for (int i = 0; i < kCampiLetti.size(); ++i)
            riga << q.value(i);
        righe << riga;
    }
    return righe;
}

// The sort field's value `salta` rows on, in its own order, among the rows the terms keep.
std::optional<QVariant> ScorrimentoRisultati::Valore(const QList<Termine>& termini, bool discendente,
                                                     qint64 salta) const
{
    if (!m_database.Aperto())
        return std::nullopt;
    Condizioni dove = Dove(termini);
    dove.valori << salta;
    QSqlQuery q = Prepara(m_database,
                          u"SELECT "_s + m_campo + m_sorgente + u" WHERE "_s + dove.termini.join(u" AND "_s) +
                              u" ORDER BY "_s + Ordine({m_campo}, discendente) + u" LIMIT 1 OFFSET ?"_s,
                          dove.valori);
    if (!q.next())
        return std::nullopt;
    return q.value(0);
}

qint64 ScorrimentoRisultati::ContaDove(const QList<Termine>& termini) const
{
    if (!m_database.Aperto())
        return 0;
    const Condizioni dove = Dove(termini);
    QSqlQuery q =
        Prepara(m_database, u"SELECT COUNT(*)"_s + m_sorgente + u" WHERE "_s + dove.termini.join(u" AND "_s),
                dove.valori);
    return q.next() ? q.value(0).toLongLong() : 0;
}

// The first value of the sort field after `valore` (before the first value when null), NULL included.
std::optional<QVariant> ScorrimentoRisultati::GruppoDopo(const QVariant* valore, bool discendente) const
{
    for (const Termine& t : Dopo(m_campo, valore, discendente)) {
        if (std::optional<QVariant> trovato = Valore({t}, discendente))
            return trovato;
    }
    return std::nullopt;
}

// The selection's filters and the terms, all of which a row must meet.
Condizioni ScorrimentoRisultati::Dove(const QList<Termine>& termini) const
{
    Condizioni dove = m_filtri;
    for (const Termine& t : termini) {
        dove.termini << t.sql;
        dove.valori << t.valori;
    }
    return dove;
}

int ScorrimentoRisultati::Posizione(const QString& campo) const
{
    return int(kCampiLetti.indexOf(campo));
}
