#pragma once
// The sixteen custom colours of the colour dialog, kept in the Colori table as the dialog's 64-byte
// block (per colour: red, green, blue, 0), one row per byte; and the colour choice that uses them.

#include <QString>

class Database;
class Tabella;

// Opens Colori on `tabella`. When it fails the user is told and may retry; false on Cancel.
bool ApriTabellaColori(Tabella& tabella);

// The colour chosen in the system's colour dialog as a decimal number, "" when the user cancelled.
// The dialog offers the stored custom colours, and a choice stores them back as the user left them.
QString ScegliColore(Database& database);
