#pragma once
// The rows the results browser shows, written to files of the temporary folder: the list of their
// codes, which the list check reads back, and a semicolon-separated table of the grid's columns for
// the spreadsheet program. Both files are Windows-1252 with CR LF after every line, the last one
// too. Rows are read one at a time, so a table of any size takes the same memory. The caller shows
// the busy pointer.

#include "results/ColonneGriglia.h"

#include <QString>
#include <QVariantList>

class Database;
class Sessione;

// A SELECT with its bound values, giving the rows in the order they are shown.
struct Interrogazione {
    QString sql;
    QVariantList valori;
};

// What the results browser shows: the table browsed, its rows and the grid's columns in order.
struct VistaRisultati {
    QString tabella;
    Interrogazione righe;
    ColonneGriglia colonne;
};

enum class EsitoEsportazione {
    Scritta,
    NessunDato,     // no row (or the rows could not be read): nothing written
    FileNonScritto, // the file could not be created, or another program holds it
};

// The field Codice of every row without its outer blanks, one per line. "NESSUN DATO DA ESPORTARE"
// when there is no row, "IMPOSSIBILE SCRIVERE IL FILE" and its path when it cannot be written.
EsitoEsportazione EsportaLista(Database& database, const Interrogazione& righe, const QString& file);

// First the heading captions of the visible columns (of all of them with `tutteLeColonne`), then one
// line per row with each column's field as FormatoCampi writes it by the column's declared type in
// the table. Every item is followed by ";", nothing is quoted. A file a spreadsheet holds
// (LibreOffice's lock file beside it counts) is left untouched. Shows nothing.
EsitoEsportazione ScriviCsv(Database& database, const VistaRisultati& vista, bool tutteLeColonne,
                            const QString& file);

// TempFile's "EXP" + table + ".csv".
QString FileCsv(const Sessione& sessione, const QString& tabella);

// The export button of the results browser: ScriviCsv into FileCsv, then the spreadsheet program
// opens it. "NESSUN DATO DA ESPORTARE" or "Il file è già aperto" when nothing could be written.
void EsportaCsv(Sessione& sessione, const VistaRisultati& vista, bool tutteLeColonne);
