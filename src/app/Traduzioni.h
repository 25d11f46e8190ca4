#pragma once
// Qt's own texts in Italian (the system dialogs: printing, files, folders), like the rest of the
// window program.

// Loads Qt's Italian translation from Qt's translations folder; false, with English left in
// place, when it is not installed.
bool CaricaTraduzioniQt();
