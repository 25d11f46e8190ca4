#pragma once
// Reading the agencies' answer pages: page text and markers in, answer out. Nothing here fetches,
// shows or asks: a page that cannot be read comes back with the reason as data.

#include <QString>

#include <array>
#include <optional>

class Impostazioni;

inline constexpr int kNumeroEsiti = 20; // indices 0..19, 0 unused
inline constexpr int kNumeroTitoli = 8; // indices 0..7, 0 unused

// Why a reading stopped: a marker missing from its cut (5), a position beyond 16 bits (6).
struct ErroreLettura {
    int codice = 0;
    QString descrizione;
};

struct LetturaPagina {
    bool risultato = false; // the page carries no error marker
    std::array<QString, kNumeroEsiti> esiti;
    std::array<QString, kNumeroTitoli> titoli;
    std::optional<ErroreLettura> errore; // what was read before it stays
};

// Text markers of the customs pages, section PARAMWEB; a missing or blank one takes its default.
// Read afresh for every reading.
struct MarcatoriExport {
    QString errIni, errFin, dat1Ini, dat1Fin, dat2Ini, dat2Fin;
    static MarcatoriExport Leggi(const Impostazioni& impostazioni);
};
struct MarcatoriTransito {
    QString errIni, dat1Ini, dat1Fin, dat2Ini, dat2Fin;
    static MarcatoriTransito Leggi(const Impostazioni& impostazioni);
};

// The 150 characters of `pagina` from the 1-based `posizione`, cleaned: "?" and characters that
// Windows-1252 cannot hold become "e' s", line ends, "<strong>" and "</strong>" go, "&agrave;"
// becomes "à", spaces at both ends go.
QString xTagliaTesto(const QString& pagina, int posizione);

// The revenue agency's VIES page: outcome, five title/value rows, note, request date; or, with
// bMess, the page's own error text in titoli[2]. Any reading failure is an error of the whole page.
LetturaPagina xGetVat(const QString& pagina, bool bMess);

// The customs export page: three labels (titoli 5..7) and values (esiti 17..19), or with bMess the
// error text, framed by "=== " for a pending movement and by "*** " otherwise.
LetturaPagina xGetEsito(const QString& pagina, const MarcatoriExport& marcatori, bool bMess);

// The customs transit page: four labels and sixteen values, or the error text (two framed lines
// for "Per l'MRN: ", naming `mrn`).
LetturaPagina xGetTransito(const QString& pagina, const MarcatoriTransito& marcatori, const QString& mrn);
