#pragma once
// A cursor over one table of the program's database: seek on the primary key (the "primaria"
// index), forward navigation in key order, and adding or changing one row at a time. Every value
// travels as a bound parameter. Date columns read as QDateTime and are stored as
// "YYYY-MM-DD HH:MM:SS"; the zero date is stored as NULL and reads as a null value.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;
class QSqlError;

class Tabella
{
public:
    explicit Tabella(const Database& database) : m_database(database) {}

    // False, with the engine's description in Errore(), when the database is closed or the table
    // does not exist or cannot be read.
    bool Apri(const QString& nome);
    void Chiudi();
    bool Aperta() const { return !m_nome.isEmpty(); }
    const QString& Errore() const { return m_errore; }
    // The engine's number of the last error; "" when the error is the program's own.
    const QString& CodiceErrore() const { return m_codiceErrore; }

    // Positions on the row whose key equals the values (one per key column); false when none does,
    // and then there is no current row.
    bool Cerca(const QVariantList& chiave);
    bool Cerca(const QVariant& chiave) { return Cerca(QVariantList{chiave}); }
    bool MuoviPrimo();
    bool MuoviSuccessivo();
    bool Fine() const { return m_rowid < 0; } // no current row
    int ContaRecord();

    // Starts a new row (all fields null) or a change of the current one; Aggiorna writes it and
    // leaves the cursor on the written row. A failed write keeps the edit pending.
    void AggiungiNuovo();
    bool Modifica();
    bool Aggiorna();
    // False for an unknown field or when no edit is pending.
    bool ImpostaCampo(const QString& nome, const QVariant& valore);
    bool ImpostaCampo(int posizione, const QVariant& valore);

    // The field of the current row (or of the pending edit); an invalid value for an unknown field.
    QVariant Campo(const QString& nome) const;
    QVariant Campo(int posizione) const;
    int NumeroCampi() const { return int(m_colonne.size()); }
    QString NomeCampo(int posizione) const { return m_colonne.value(posizione); }

private:
    enum class Stato { Lettura, Nuovo, Modifica };

    QSqlDatabase Db() const;
    QString Id(const QString& nome) const;
    int Posizione(const QString& nome) const;
    QString Ordine() const;
    bool Leggi(const QString& condizione, const QVariantList& valori);
    bool Fallita(const QString& errore);
    bool Fallita(const QSqlError& errore);

    const Database& m_database;
    QString m_nome;
    QStringList m_colonne;
    QList<bool> m_date;   // per column: holds a date
    QStringList m_chiave; // the primary key's columns, in key order; empty means rowid order
    qint64 m_rowid = -1;
    QVariantList m_valori; // the current row
    QVariantList m_nuovi;  // the pending edit
    QList<bool> m_impostati;
    Stato m_stato = Stato::Lettura;
    QString m_errore;
    QString m_codiceErrore;
};
