#include "web/LetturaPagine.h"

#include "core/ChiaviIni.h"
#include "core/Cp1252.h"
#include "core/Impostazioni.h"
#include "core/Valori.h"

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPosizioneMassima = std::numeric_limits<std::int16_t>::max();
constexpr qsizetype kLunghezzaTaglio = 150;

const ErroreLettura kArgomentoNonValido{5, u"Chiamata di routine o argomento non validi"_s};
const ErroreLettura kOverflow{6, u"Overflow"_s};

const QString kViesErrore = uR"(class="vies_er">)"_s;
const QString kViesOk = uR"(class="vies_ok">)"_s;
const QString kViesNota = uR"(class="vies_note">)"_s;
const QString kViesData = uR"(class="vies_date">)"_s;

QString Marcatore(const Impostazioni& impostazioni, const QString& chiave, const QString& predefinito)
{
    const QString valore = impostazioni.Leggi(Chiavi::MarcatoreWeb(chiave));
    return valore.isEmpty() ? predefinito : valore;
}

// 1-based position of `cercato` in `testo` from `da`, 0 when absent.
int PosizioneIn(const QString& testo, const QString& cercato, qsizetype da = 1)
{
    if (da > testo.size())
        return 0;
    return int(testo.indexOf(cercato, da - 1) + 1);
}

// The text of a cut before `fine`; a cut without it cannot be read.
QString Prima(const QString& taglio, const QString& fine)
{
    const int posizione = PosizioneIn(taglio, fine);
    if (posizione == 0)
        throw kArgomentoNonValido;
    return taglio.left(posizione - 1);
}

// The reading position over one page: a 16-bit, 1-based position, 0 after a search that found
// nothing. Each step throws ErroreLettura where the reading fails.
class Lettore
{
public:
    explicit Lettore(const QString& pagina) : m_pagina(pagina) {}

    int p = 0;

    // Searches `marcatore` from `da`; a search from 0 fails.
    void Cerca(int da, const QString& marcatore)
    {
        if (da < 1)
            throw kArgomentoNonValido;
        const int posizione = PosizioneIn(m_pagina, marcatore, da);
        if (posizione > kPosizioneMassima)
            throw kOverflow;
        p = posizione;
    }
    void Cerca(const QString& marcatore) { Cerca(p, marcatore); }
    void Oltre(const QString& marcatore)
    {
        if (p + marcatore.size() > kPosizioneMassima)
            throw kOverflow;
        p += int(marcatore.size());
    }
    QString Taglio() const
    {
        if (p < 1)
            throw kArgomentoNonValido;
        return xTagliaTesto(m_pagina, p);
    }
    bool Trovato() const { return p > 0; }

private:
    const QString& m_pagina;
};

} // namespace

MarcatoriExport MarcatoriExport::Leggi(const Impostazioni& impostazioni)
{
    return {Marcatore(impostazioni, u"EX_ERRINI"_s, uR"(class="err">)"_s),
            Marcatore(impostazioni, u"EX_ERRFIN"_s, u"</div"_s),
            Marcatore(impostazioni, u"EX_DAT1INI"_s, uR"(class="outexport1">)"_s),
            Marcatore(impostazioni, u"EX_DAT1FIN"_s, u"&nbsp"_s),
            Marcatore(impostazioni, u"EX_DAT2INI"_s, uR"(class="outexport2">)"_s),
            Marcatore(impostazioni, u"EX_DAT2FIN"_s, u"<"_s)};
}

MarcatoriTransito MarcatoriTransito::Leggi(const Impostazioni& impostazioni)
{
    return {Marcatore(impostazioni, u"TR_ERRINI"_s, uR"(class="err">)"_s),
            Marcatore(impostazioni, u"TR_DAT1INI"_s, uR"(dati1">)"_s),
            Marcatore(impostazioni, u"TR_DAT1FIN"_s, u"<"_s),
            Marcatore(impostazioni, u"TR_DAT2INI"_s, uR"(dati2">)"_s),
            Marcatore(impostazioni, u"TR_DAT2FIN"_s, u"<"_s)};
}

QString xTagliaTesto(const QString& pagina, int posizione)
{
    const QString originale = pagina.mid(posizione - 1, kLunghezzaTaglio);
    // The scan keeps the cut's first length: after replacements the tail of the grown text is
    // not looked at, as the answers stored so far were read.
    QString taglio = originale;
    const qsizetype fine = originale.size();
    for (qsizetype i = 0; i < fine && i < taglio.size(); ++i) {
        const QChar c = taglio.at(i);
        if (c == u'?' || !Cp1252::Rappresentabile(c)) {
            taglio.replace(i, 1, u"e' s"_s);
            i += 3;
        }
    }
    taglio.remove(u'\n').remove(u'\r').remove(u"<strong>"_s).remove(u"</strong>"_s);
    taglio.replace(u"&agrave;"_s, u"à"_s);
    return TogliSpazi(taglio);
}

LetturaPagina xGetVat(const QString& pagina, bool bMess)
{
    LetturaPagina l;
    Lettore r(pagina);
    try {
        r.Cerca(1, kViesErrore);
        if (r.Trovato()) {
            if (bMess) {
                r.Oltre(kViesErrore);
                l.titoli[2] = u"*** "_s + Prima(r.Taglio(), u"</p>"_s);
            }
            return l;
        }

        l.risultato = true;
        r.Cerca(1, kViesOk);
        if (r.Trovato()) {
            r.Oltre(kViesOk);
            l.titoli[1] = u"Esito: "_s;
            l.esiti[1] = TogliSpazi(Prima(r.Taglio(), u"</p>"_s));
        }
        for (int J = 2; J <= 6; ++J) {
            r.Cerca(u"<th>"_s);
            if (r.Trovato()) {
                r.Oltre(u"<th>"_s);
                l.titoli[J] = TogliSpazi(Prima(r.Taglio(), u"</th>"_s));
            }
            r.Cerca(u"<td>"_s);
            if (r.Trovato()) {
                r.Oltre(u"<td>"_s);
                l.esiti[J] = TogliSpazi(Prima(r.Taglio(), u"</td>"_s));
            }
        }
        if (r.Trovato()) {
            r.Cerca(kViesNota);
            if (r.Trovato()) {
                r.Oltre(kViesNota);
                l.esiti[7] = TogliSpazi(Prima(r.Taglio(), u"</p>"_s));
            }
        }
        if (r.Trovato())
            r.Cerca(kViesData);
        if (!r.Trovato())
            return l;

        r.Oltre(kViesData);
        // The date paragraph opens with a fixed 22-character lead-in.
        const QString taglio = r.Taglio();
        const int lunghezza = PosizioneIn(taglio, u"</p>"_s) - 23;
        if (lunghezza < 0)
            throw kArgomentoNonValido;
        l.esiti[8] = TogliSpazi(taglio.mid(22, lunghezza));
    } catch (const ErroreLettura& errore) {
        l.errore = errore;
    }
    return l;
}

LetturaPagina xGetEsito(const QString& pagina, const MarcatoriExport& m, bool bMess)
{
    LetturaPagina l;
    Lettore r(pagina);
    try {
        r.Cerca(1, m.errIni);
        if (r.Trovato()) {
            r.Oltre(m.errIni);
            const QString messaggio = Prima(r.Taglio(), m.errFin);
            if (bMess) {
                l.titoli[2] = messaggio.left(9).toUpper() == u"IN ATTESA"_s
                                  ? u"=== "_s + messaggio + u" ==="_s
                                  : u"*** "_s + messaggio + u" ***"_s;
            }
            return l;
        }

        l.risultato = true;
        const auto etichetta = [&](int J, bool primaRicerca) {
            r.Cerca(primaRicerca ? 1 : r.p, m.dat1Ini);
            if (r.Trovato()) {
                r.Oltre(m.dat1Ini);
                l.titoli[J] = Prima(r.Taglio(), m.dat1Fin);
            }
        };
        const auto valore = [&](int J) {
            r.Cerca(m.dat2Ini);
            if (r.Trovato()) {
                r.Oltre(m.dat2Ini);
                l.esiti[J] = Prima(r.Taglio(), m.dat2Fin);
            }
        };
        etichetta(5, true);
        valore(17);
        etichetta(6, false);
        valore(18);

        r.Cerca(m.dat1Ini);
        if (r.Trovato()) {
            r.Oltre(m.dat1Ini);
            const QString taglio = r.Taglio();
            const QString fine = PosizioneIn(taglio, m.dat1Fin) > 0 ? m.dat1Fin : u"<"_s;
            l.titoli[7] = Prima(taglio, fine);
            if (TogliSpazi(l.titoli[7]).isEmpty())
                l.titoli[7] = u"Uscita conclusa in data:"_s;
        }
        valore(19);
    } catch (const ErroreLettura& errore) {
        l.errore = errore;
    }
    return l;
}

LetturaPagina xGetTransito(const QString& pagina, const MarcatoriTransito& m, const QString& mrn)
{
    LetturaPagina l;
    Lettore r(pagina);
    try {
        r.Cerca(1, m.errIni);
        if (r.Trovato()) {
            r.Oltre(m.errIni);
            const QString taglio = r.Taglio();
            l.titoli[2] = Prima(taglio, m.dat1Fin);
            if (l.titoli[2] == u"Per l'MRN: "_s) {
                const int q = PosizioneIn(taglio, u"</p>"_s);
                const int fine = PosizioneIn(taglio, m.dat1Fin, q + 4);
                l.titoli[2] = u"*** Per l'MRN: "_s + mrn + u" ***"_s;
                if (fine - q - 4 < 0)
                    throw kArgomentoNonValido;
                l.titoli[3] = u"*** "_s + taglio.mid(q + 3, fine - q - 4) + u" ***"_s;
            }
            return l;
        }

        l.risultato = true;
        r.p = 1;
        for (int J = 1; J <= 4; ++J) {
            r.Cerca(m.dat1Ini);
            if (!r.Trovato())
                break;
            r.Oltre(m.dat1Ini);
            l.titoli[J] = Prima(r.Taglio(), m.dat1Fin) + u":  "_s;
        }
        r.p = 1;
        for (int J = 1; J <= 16; ++J) {
            r.Cerca(m.dat2Ini);
            if (!r.Trovato())
                break;
            r.Oltre(m.dat2Ini);
            l.esiti[J] = Prima(r.Taglio(), m.dat2Fin);
        }
    } catch (const ErroreLettura& errore) {
        l.errore = errore;
    }
    return l;
}
