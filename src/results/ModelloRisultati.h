#pragma once
// The rows of the results browser as a table model. It holds only a bounded window of rows around
// what was last asked for, read by ScorrimentoRisultati; the number of rows comes from one count per
// filter change. Cells show the grid's texts (dates as dd/mm/yyyy, the outcome code as " ", "E" or
// "C"); the colour of each row is given as its validity, for the view to paint.

#include "results/ScorrimentoRisultati.h"
#include "results/SelezioneRisultati.h"

#include <QAbstractTableModel>

#include <memory>

class Database;

class ModelloRisultati : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The row's colour among the three grid colours: 1 when its ES. cell shows "E", 2 for "C",
    // 0 otherwise.
    static constexpr int kRuoloValidita = Qt::UserRole;

    explicit ModelloRisultati(Database& database, QObject* parent = nullptr);
    ~ModelloRisultati() override;

    // Other filters (or table): counts the rows again.
    void Filtra(const SelezioneRisultati& selezione);
    // The same rows in another order.
    void Ordina(const OrdineRisultati& ordine);

    const SelezioneRisultati& Selezione() const { return m_selezione; }
    qint64 Totale() const { return m_totale; }

    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;

private:
    void Ricomincia();
    const RigaRisultati* Riga(qint64 r) const;
    void Salta(qint64 r) const;

    Database& m_database;
    SelezioneRisultati m_selezione;
    std::unique_ptr<ScorrimentoRisultati> m_scorrimento;
    qint64 m_totale = 0;
    // Rows m_inizio, m_inizio + 1, ... as last read.
    mutable qint64 m_inizio = 0;
    mutable QList<RigaRisultati> m_righe;
};

// The text a grid cell shows for the stored `valore` of column `colonna`.
QString TestoCella(int colonna, const QVariant& valore);
