#pragma once
// The addresses of the agencies' query pages, section INDIRIZZIWEB of the settings file.
// A query address is the base address with the number appended as it is, nothing encoded.

#include <QString>

// EXPORT, TRANSITI, VAT and VATPIVA into gIndirizziWeb; a missing or blank value takes its
// default. Nothing is written back.
void LeggiIndirizziWeb();

// VAT + the two-letter prefix + VATPIVA + the national part.
QString IndirizzoVat(const QString& codice);

// EXPORT + the whole MRN.
QString IndirizzoExport(const QString& mrn);

// TRANSITI + the whole MRN.
QString IndirizzoTransiti(const QString& mrn);

// Drops any cached copy of the MRN pages of `numero`; run after every query.
void PulisciCacheMrn(const QString& numero);
