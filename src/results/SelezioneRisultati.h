#pragma once
// What the results browser shows: the table browsed, the validity, country and date filters, and
// the sort. The same choices give the SQL text the user's filter reads as (SqlFiltro and the record
// source, with their literal values) and the statements that run, with bound values on the stored
// forms.

#include "results/Esportazioni.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>

enum class FiltroData { Nessuno, PrimaDel, Dal };

struct FiltriRisultati {
    int stato = 0;   // 0 every answer; 1, 2, 3: OK = 0 (active), 1 (not existing), 2 (ceased)
    QString nazione; // two-letter code; "" for every country
    FiltroData data = FiltroData::Nessuno;
    qint64 giorno = 0; // of the date filter: days since 30/12/1899
};

struct OrdineRisultati {
    int colonna = 0; // of the grid
    bool discendente = false;
};

// SQL terms joined by AND, with the values bound to their "?" in order.
struct Condizioni {
    QStringList termini;
    QVariantList valori;
};

struct SelezioneRisultati {
    QString tabella = QStringLiteral("PartiteIVA");
    FiltriRisultati filtri;
    OrdineRisultati ordine;

    // "Select * FROM " and the table, then the filters' clauses after " WHERE " and " AND ".
    QString SqlFiltro() const;
    // SqlFiltro, " ORDER BY ", the sort field, " ASC" or " DESC", and ", Nazione, VAT" after any
    // column but the first two.
    QString SorgenteRecord() const;

    // The filters on the stored values. `lungoIndice`: the terms cannot pick an index of their own,
    // so a read goes along the sort's index and checks them on its entries.
    Condizioni Filtri(bool lungoIndice) const;
    QString CampoOrdine() const;
    // Every row, in the order shown, for the exports.
    Interrogazione Righe() const;
};

// The whole day a moment counts as: its date serial rounded, halves to even, so that from noon on
// it is the next day.
qint64 NumeroGiorno(const QDateTime& momento);

// The start of day `giorno` as dates are stored: "YYYY-MM-DD 00:00:00".
QString InizioGiornoMemorizzato(qint64 giorno);
