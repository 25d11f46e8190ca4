#pragma once
// Finding and loading the browser module, beside the executable or in the installed library folder.

#include <QString>
#include <QStringList>

class FabbricaBrowser;

// Where the program looks for the module, in this order.
QStringList CartelleModuloBrowser();

struct ModuloBrowser {
    FabbricaBrowser* fabbrica = nullptr; // loaded for the rest of the run; null when it could not be
    QString motivo;                      // why not, in Italian
};

// Loads the module from the first of `cartelle` that holds it.
ModuloBrowser CaricaModuloBrowser(const QStringList& cartelle);
