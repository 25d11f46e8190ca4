#pragma once
// The addresses of the agencies' query pages, section INDIRIZZIWEB of the settings file.
// A query address is the base address with the number appended, every character of the number
// but letters and digits percent-encoded: a "#", "&" or "?" in a code would otherwise change what
// is asked, and the page must answer for exactly what the user typed. The base addresses are used
// as written.

#include <QString>

class Impostazioni;

struct IndirizziWeb {
    QString Export;
    QString Transiti;
    QString Vat;
    QString VatPiva; // between the country prefix and the national part

    // LeggiIndirizziWeb: EXPORT, TRANSITI, VAT and VATPIVA; a missing or blank value takes its
    // default. Nothing is written back.
    static IndirizziWeb Leggi(const Impostazioni& impostazioni);

    // VAT + the two-letter prefix + VATPIVA + the national part.
    QString IndirizzoVat(const QString& codice) const;
    // EXPORT + the whole MRN.
    QString IndirizzoExport(const QString& mrn) const;
    // TRANSITI + the whole MRN.
    QString IndirizzoTransiti(const QString& mrn) const;
};

// Drops any cached copy of the MRN pages of `numero`; run after every query.
void PulisciCacheMrn(const QString& numero);
