#pragma once
// The addresses of the agencies' query pages, section INDIRIZZIWEB of the settings file.
// A query address is the base address with the number appended as it is, nothing encoded.

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
