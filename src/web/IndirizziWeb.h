#pragma once
// The addresses of the agencies' query pages, section INDIRIZZIWEB of the settings file.
// A query address is the base address with the number appended, every character of the number
// but letters and digits percent-encoded: a "#", "&" or "?" in a code would otherwise change what
// is asked, and the page must answer for exactly what the user typed. The base addresses are used
// as written.

#include <QString>

class Impostazioni;

// Where VAT answers come from: the revenue agency's page, or the European Commission's VIES REST
// service (FONTEVAT "PAGINA" or "VIES").
enum class FonteVat { Pagina, Vies };

// The name of a source as the windows show it.
QString NomeFonte(FonteVat fonte);

struct IndirizziWeb {
    QString Export;
    QString Transiti;
    QString Vat;
    QString VatPiva; // between the country prefix and the national part
    FonteVat fonte = FonteVat::Pagina;
    QString VatRest;     // VIESREST: the service's address, country and number follow
    QString Richiedente; // RICHIEDENTE: the user's own VAT number, prefix included; may be empty

    // LeggiIndirizziWeb: EXPORT, TRANSITI, VAT, VATPIVA, VIESREST, FONTEVAT and RICHIEDENTE; a
    // missing or blank value takes its default. Nothing is written back.
    static IndirizziWeb Leggi(const Impostazioni& impostazioni);

    // VAT + the two-letter prefix + VATPIVA + the national part.
    QString IndirizzoVat(const QString& codice) const;
    // VIESREST + country + "/vat/" + national part, with the requester's number when there is one.
    QString IndirizzoVies(const QString& codice) const;
    // EXPORT + the whole MRN.
    QString IndirizzoExport(const QString& mrn) const;
    // TRANSITI + the whole MRN.
    QString IndirizzoTransiti(const QString& mrn) const;
};

// Drops any cached copy of the MRN pages of `numero`; run after every query.
void PulisciCacheMrn(const QString& numero);

// FONTEVAT as written: "VIES" (any case) or anything else for the agency's page.
FonteVat LeggiFonte(const QString& testo);
