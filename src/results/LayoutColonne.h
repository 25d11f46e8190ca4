#pragma once
// The column widths of a window's grid, kept from one run to the next in the LayOutCol table: one
// row per window, field 0 the window's name, field i + 1 the width of column i in twips.

#include "results/ColonneGriglia.h"

class Database;

// Each resizable column takes its stored width when that is above 0; the others keep theirs.
// Nothing changes when the table or the window's row is missing.
void CaricaLayoutColonne(Database& database, ColonneGriglia& colonne, const QString& finestra);

// Stores the widths of all the columns, hidden ones included, adding the window's row when missing.
// Columns beyond the table's fields are left out, which is said once on standard error. A grid calls
// it when the user releases a column border, not at every step of the drag.
void SalvaLayoutColonne(Database& database, const ColonneGriglia& colonne, const QString& finestra);
