#pragma once
// How an exported file writes a field, by the kind of its column: texts without their outer blanks
// and line feeds (null, blank or starting with NUL: nothing), dates as dd/mm/yyyy of the nearest
// whole day (nothing before 31/12/1899), anything else as a number (0 when it is none).

#include <QString>
#include <QVariant>

enum class TipoCampo { Testo, Data, Numero };

// The kind of a column declared with `dichiarato`, read the way SQLite reads declared types.
TipoCampo TipoDichiarato(const QString& dichiarato);

void AccodaCampo(QString& riga, const QVariant& valore, TipoCampo tipo);
