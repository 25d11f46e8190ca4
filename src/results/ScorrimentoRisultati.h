#pragma once
// Reads the rows of a selection a few at a time, wherever they stand in its order, without ever
// sorting or counting through the rows before them: each read starts from a row already read (its
// sort key) and goes along the sort field's index. A page therefore costs the same at row 10 and at
// row 900 000. Only a jump to a position far from any row read counts its way there, along the
// index, from the nearer end.
//
// The order is the sort field (NULL first when ascending, last when descending), then the other key
// fields of ChiaveOrdine, always ascending. When both go the same way one index read gives a page;
// a descending sort reads the field's values one after another, each value's rows in key order.

#include "results/SelezioneRisultati.h"

#include <QList>
#include <QVariant>

#include <optional>

class Database;

// A row as read: Codice, then the fields of the grid's columns in order (column i at i + 1).
using RigaRisultati = QVariantList;

class ScorrimentoRisultati
{
public:
    ScorrimentoRisultati(Database& database, const SelezioneRisultati& selezione);

    // How many rows the selection holds.
    qint64 Conta() const;

    // At most `n` rows that follow `ancora` in the order, or that precede it, nearest first, when
    // `indietro`; without an anchor, from the first row (from the last one when `indietro`).
    QList<RigaRisultati> Seguenti(const RigaRisultati* ancora, int n, bool indietro) const;

    // The row at `posizione` (0 the first) of the `totale` rows, reached from the nearer end.
    std::optional<RigaRisultati> AllaPosizione(qint64 posizione, qint64 totale) const;

private:
    struct Termine {
        QString sql;
        QVariantList valori;
    };
    struct Verso {
        bool campo; // descending
        bool coda;  // descending
    };

    Verso VersoDi(bool indietro) const;
    QList<Termine> Dopo(const QString& colonna, const QVariant* valore, bool discendente) const;
    Termine Uguale(const QString& colonna, const QVariant& valore) const;
    QString Ordine(const QStringList& colonne, bool discendente) const;
    QList<RigaRisultati> Leggi(const QList<Termine>& termini, const QString& ordine, qint64 limite,
                               qint64 salta = 0) const;
    std::optional<QVariant> Valore(const QList<Termine>& termini, bool discendente, qint64 salta = 0) const;
    qint64 ContaDove(const QList<Termine>& termini) const;
    std::optional<QVariant> GruppoDopo(const QVariant* valore, bool discendente) const;
    Condizioni Dove(const QList<Termine>& termini) const;
    int Posizione(const QString& campo) const;

    Database& m_database;
    QString m_tabella;
    QString m_campo;
    QStringList m_coda;
    bool m_discendente;
    Condizioni m_filtri;      // for the reads along the index
    Condizioni m_filtriConta; // for the count, which may use any index
    QString m_sorgente;       // " FROM table INDEXED BY index"
};
