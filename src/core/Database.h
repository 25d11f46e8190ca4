#pragma once
// The program's database: one connection (gDb) opened at start-up and closed at exit, the tables
// created when missing, statements with bound values, transactions, and the work table of the
// list check.

#include <QString>
#include <QVariantList>

// Opens gFileDb, creating the tables and indexes it lacks. A file that cannot be opened or is not
// a sound database is left untouched and the database stays closed. Sets gDbAperto; shows nothing.
bool ApriDatabase();

// Closes the work table and the connection.
void ChiudiDatabase();

// Runs one statement with its values bound in order. False, with the engine's description in
// `errore`, when it fails (also when the database is closed).
bool EseguiSql(const QString& sql, const QVariantList& valori = {}, QString* errore = nullptr);

// Statements run while one lives commit together on Conferma, or not at all.
class Transazione
{
public:
    Transazione();
    ~Transazione();
    Transazione(const Transazione&) = delete;
    Transazione& operator=(const Transazione&) = delete;

    bool Attiva() const { return m_attiva; }
    bool Conferma(); // false when nothing was committed

private:
    bool m_attiva = false;
};

// Opens the table "WK" + `nome` into gRsWk. When it fails the user is told, under the title
// "ERRORE IN APERTURA TABELLA " + `etichetta`, and may retry; on Cancel gRsWk stays closed.
// With the database closed it does nothing.
void ApriTabellaWk(const QString& nome, const QString& etichetta);
