#pragma once
// Launching one Applicativi entry: a web or mail address goes to its default program, anything
// else is started as a program with its arguments.

#include "session/ComandoProgramma.h"

#include <QString>

class Impostazioni;
class Sessione;

class ModuliOpzionali
{
public:
    // `cartella` is the program folder, where a missing program is looked for under the key's name.
    ModuliOpzionali(const Impostazioni& impostazioni, const QString& cartella);

    // The settings key of the entry to launch, such as "Varie3".
    void nomeProceduraChiamata(const QString& chiave) { m_chiave = chiave; }
    // Added to the command line of the next program started, as one argument; emptied by that start.
    void argModulo(const QString& argomento) { m_argModulo = argomento; }

    void attivaProcedura();

private:
    // `comando` is `programma` as read, so it is looked up once.
    void lanciaProcedura(const QString& programma, const ComandoProgramma& comando);

    const Impostazioni& m_impostazioni;
    QString m_cartella;
    QString m_chiave;
    QString m_argModulo;
};

// Launches the entry of `chiave` ("Varie" + index) with `argomento`, when not empty, as one more
// argument of its program: the main menu without one, the list check with the file to open.
void LanciaModulo(const Sessione& sessione, const QString& chiave, const QString& argomento = {});
