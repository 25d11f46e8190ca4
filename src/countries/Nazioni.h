#pragma once
// The country table, section NAZIONI of the settings file, and the format check of VAT codes.

#include "countries/RigaNazione.h"

#include <QList>
#include <QString>

#include <cstdint>

class Impostazioni;

// What the format check found: the message to show instead of querying ("" when the code may be
// queried), and the row of the code's country (-1 when none).
struct EsitoFormato {
    QString messaggio;
    int riga = -1;
};

// A length as a row holds it: the number rounded and clamped to 0..255, 0 for a blank or a text
// that is no number, so a bad value still loads.
std::uint8_t LunghezzaNazione(const QString& campo);

class Nazioni
{
public:
    // CaricaNazioni: when CODICI is missing or empty, writes the default table and loads it as it
    // is, written or not; otherwise fills the table in CODICI order: one row per comma-separated
    // element, the one after the last comma included (never read, so normally an empty code that no
    // number matches).
    void Carica(Impostazioni& impostazioni);

    // Every row, the last included; combo boxes list all but the last.
    const QList<RigaNazione>& Righe() const { return m_righe; }

    // Position of the first row whose code is exactly `codice`, or -1.
    int Posizione(const QString& codice) const;

    // ControlloFormatoVAT: the length of a VAT code's national part against its country's ranges.
    // The code is taken as received: every character after the two-letter prefix counts.
    EsitoFormato ControlloFormatoVAT(const QString& numero) const;

private:
    QList<RigaNazione> m_righe;
};
