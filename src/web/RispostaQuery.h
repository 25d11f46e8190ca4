#pragma once
// The answer of one query, as the check windows, the list run and the command line read it.

#include "web/IndirizziWeb.h"
#include "web/LetturaPagine.h"

#include <QString>

#include <array>
#include <cstdint>

// What a query returns when the page could not be fetched or read.
inline constexpr char16_t kConnessioneNonAttiva[] = u"# Connessione INTERNET non attiva #";

struct RispostaQuery {
    QString numero;         // as it was asked
    std::int16_t stato = 0; // 0 read, 1 format message (nothing sent), 9 not fetched or not readable
    // Values 1..19 and titles 1..7 (0 unused), trimmed of spaces. For a VAT answer: esiti 1 the
    // outcome, 3 the name, 4 the address, 5 and 6 start and end dates, 7 the note, 8 the request
    // date; titoli 2 the message when stato is not 0, or the page's own error ("*** ").
    std::array<QString, kNumeroEsiti> ElencoEsiti;
    std::array<QString, kNumeroTitoli> ElencoTitoli;
    QString motivo;                    // why stato is 9, in a few Italian words; "" otherwise
    FonteVat fonte = FonteVat::Pagina; // who answered a VAT query
    QString consultazione;             // the VIES service's consultation number; "" from the agency's page
};
