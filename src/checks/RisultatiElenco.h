#pragma once
// Where a list run puts each answer: the lines of EsitiDaEle.txt, the row of the work table
// WKPartiteIVA, and at the end the merge of the work table into the results table PartiteIVA.

#include <QDateTime>
#include <QLocale>
#include <QString>

class Database;
class Impostazioni;
class Tabella;
struct RispostaQuery;

// The output choice of a run, numbered as the setting COME holds it.
enum class UscitaElenco : int {
    File = 0,     // one line per code
    Stampa = 1,   // a printable report
    DataBase = 2, // only the tables; the file is left empty
};

// COME as a choice; a value outside 0..2 (only an edited settings file holds one) gives File.
UscitaElenco UscitaDaImpostazioni(const Impostazioni& impostazioni);

// The lines the answer of item `k` adds to EsitiDaEle.txt, each ended by CR LF. File: the code and
// the 19 values, each followed by "|". Stampa: "k) Risultato Partita IVA: " and the code, with k
// grouped as `locale` groups thousands, then one line per title 1..7 whose value is not empty, then
// 80 "-". DataBase: none.
QString RigheEsiti(UscitaElenco come, int k, const QString& codice, const RispostaQuery& risposta,
                   QLocale locale = QLocale());

// Writes the answer of `codice` into the open work table: the row of that code is changed when the
// list has held it before (the later answer wins), else added. Dates are read as day/month/year;
// `adesso` stands for a request date the answer does not give. The VIES service's consultation
// number goes with the row. False when the row was not written.
bool RegistraRisposta(Tabella& tabella, const QString& codice, const RispostaQuery& risposta,
                      const QDateTime& adesso);

// Replaces in PartiteIVA the rows of the codes the work table holds and adds the others, in one
// transaction: a failing statement is reported to the user and PartiteIVA stays as it was.
bool FondiRisultati(Database& database);
