#pragma once
// One query of the agencies' pages: the VAT side (revenue agency's VIES page) and the MRN side
// (customs export and transit pages). A check window creates one for a query or a list run.
// Fetching and reading are apart: a page fetched elsewhere can be handed in and read the same way.

#include <QString>

#include <array>
#include <cstdint>

inline constexpr int kNumeroEsiti = 20; // indices 0..19, 0 unused
inline constexpr int kNumeroTitoli = 8; // indices 0..7, 0 unused

// What a query returns when the page could not be fetched or read.
inline constexpr char16_t kConnessioneNonAttiva[] = u"# Connessione INTERNET non attiva #";

class GetHtmPage
{
public:
    void plMRN(const QString& mrn);
    void plVAT(const QString& vat);

    // Entries trimmed of spaces; J outside the arrays is a programming error.
    QString pgEsito(int J) const;
    QString pgTitolo(int J) const;

    // Empty when the pages were fetched and read; otherwise the message for the user.
    QString xGetPaginaMRN();
    // Reads the export page held; true when it carries no error. bMess false reads silently.
    bool xGetEsito(bool bMess);
    // Reads the transit page held; true when it carries no error.
    bool xGetTransito();

    // Empty when the page was fetched and read (the page itself may report an error in Titolo 2);
    // otherwise the message for the user.
    QString xGetPaginaVAT();
    // Reads the VIES page held. A page that cannot be read throws ErroreLettura.
    bool xGetVat(bool bMess);

    // The page to read next, fetched by the caller.
    void ImpostaTestoPagina(const QString& testo) { m_testoPagina = testo; }
    const QString& TestoPagina() const { return m_testoPagina; }
    const QString& IndirizzoRichiesta() const { return m_indirizzo; }
    const QString& TipoPagina() const { return m_tipo; }
    const QString& NumeroCorrente() const { return m_numero; }

    // A reading that cannot go on: a marker missing from its cut, a position beyond 16 bits.
    struct ErroreLettura {
        int codice;
        QString descrizione;
    };

private:
    void SvuotaRisposta();
    bool Scarica(const QString& indirizzo);
    // Shows, saves or opens the page as the web options of the current use say; false only when
    // the browser window could not show it.
    bool xMostraPagina(const QString& indirizzo, const QString& tipo);
    void SalvaPagina(const QString& file) const;

    // The reading position moves by these; each throws ErroreLettura where the reading fails.
    std::int16_t Cerca(std::int16_t da, const QString& marcatore) const;
    static std::int16_t Oltre(std::int16_t posizione, const QString& marcatore);
    QString xTagliaTesto() const;
    static QString Prima(const QString& taglio, const QString& fine);
    void MostraErroreLettura(const ErroreLettura& errore) const;

    QString m_indirizzo;
    QString m_mrn;
    QString m_vat;
    QString m_tipo;
    std::array<QString, kNumeroEsiti> m_esito;
    std::array<QString, kNumeroTitoli> m_titolo;
    QString m_testoPagina;
    std::int16_t m_posizione = 0; // 1-based; 0 after a search that found nothing
    QString m_numero;
};

// Queries `numero` (upper-cased; under 18 characters a VAT code, else an MRN) with `pagina` and
// copies the answer into ElencoEsiti and ElencoTitoli. 0 read, 1 format message, 9 not fetched or
// not readable.
std::int16_t InterrogaNumero(GetHtmPage& pagina, const QString& numero);
