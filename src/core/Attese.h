#pragma once
// Everything that waits takes its limits from here, so tests can shorten them.

#include <QtGlobal>

struct LimitiAttesa {
    int unitaFileMs = 5000;        // one unit of the delete and rename time limits
    int paginaMs = 20000;          // page load wait of the browser window before it asks whether to go on
    int pdfMs = 60000;             // how long a virtual PDF printer may take to write its file
    int databaseOccupatoMs = 3000; // how long a database statement waits for another program's lock
    int passoMs = 10;              // pause between two attempts, so a retry loop does not spin
    int tentativiMassimi = 50;     // a retry offered to the user ends as cancelled after so many
    int viesPausaMs = 1000;        // first pause before asking a busy VIES service again; it doubles
};

// The limits in force.
LimitiAttesa& Attese();

// The time that `unita` units of a file retry allow: (unita + 1) units.
qint64 LimiteFileMs(int unita);

// Waits `ms` milliseconds in a local event loop: windows keep painting meanwhile.
void Attendi(int ms);
