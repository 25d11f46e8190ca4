#pragma once
// The program's database: one connection opened at start-up and closed at exit, the tables created
// when missing, statements with bound values, transactions, and the work table of the list check.

#include "core/Tabella.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>

class Database
{
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens `file`, creating the tables and indexes it lacks. A file that cannot be opened or is not
    // a sound database is left untouched and the database stays closed. Shows nothing.
    bool Apri(const QString& file);
    // Closes the work table and the connection.
    void Chiudi();
    bool Aperto() const { return m_aperto; }

    // The one connection; not open while the database is closed.
    QSqlDatabase Connessione() const;

    // Runs one statement with its values bound in order. False, with the engine's description in
    // `errore`, when it fails (also when the database is closed).
    bool Esegui(const QString& sql, const QVariantList& valori = {}, QString* errore = nullptr);

    // Opens the table "WK" + `nome` as the work table. When it fails the user is told, under the
    // title "ERRORE IN APERTURA TABELLA " + `etichetta`, and may retry; false on Cancel. With the
    // database closed it does nothing and gives false.
    bool ApriTabellaWk(const QString& nome, const QString& etichetta);
    Tabella& TabellaWk() { return m_wk; }

private:
    QString m_nome; // of the connection: one per database object
    bool m_aperto = false;
    Tabella m_wk;
};

// The order of the results tables by `campo`: the field, then Nazione, VAT and Codice (those that
// are not the field) to settle ties; Codice, the key, makes it total. Every column the results
// browser shows has an index in this order, named by IndiceOrdine, that also holds the columns it
// filters on.
QStringList ChiaveOrdine(const QString& campo);
QString IndiceOrdine(const QString& tabella, const QString& campo);

// Opens the table `nome` in `tabella`; each time it fails, Retry/Cancel under `titolo` with
// `messaggio(tabella)`, at most Attese().tentativiMassimi times.
bool ApriTabellaConRiprova(Tabella& tabella, const QString& nome, const QString& titolo,
                           const std::function<QString(const Tabella&)>& messaggio);

// Statements run while one lives commit together on Conferma, or not at all.
class Transazione
{
public:
    explicit Transazione(Database& database);
    ~Transazione();
    Transazione(const Transazione&) = delete;
    Transazione& operator=(const Transazione&) = delete;

    bool Attiva() const { return m_attiva; }
    bool Conferma(); // false when nothing was committed

private:
    QSqlDatabase m_db;
    bool m_attiva = false;
};
