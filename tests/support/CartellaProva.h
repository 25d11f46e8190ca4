#pragma once
// A program folder of its own for one test, deleted with it. Its settings can point the agencies'
// addresses at the loopback test server.

#include "core/Impostazioni.h"

#include <QTemporaryDir>

class ServerProva;

class CartellaProva
{
public:
    CartellaProva();

    QString Percorso() const { return m_dir.path(); }
    QString File(const QString& nome) const { return m_dir.filePath(nome); }
    // tarvel.ini of the folder, written as the program writes it.
    Impostazioni& Ini() { return m_ini; }

    // VAT, EXPORT and TRANSITI at "/vies?stato=", "/export?mrn=" and "/transito?mrn=" of `server`,
    // with a time limit of `secondi`.
    void IndirizziVerso(const ServerProva& server, int secondi = 1);

private:
    QTemporaryDir m_dir;
    Impostazioni m_ini;
};
