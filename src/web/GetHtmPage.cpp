#include "web/GetHtmPage.h"

#include "app/Globali.h"
#include "core/CartellaProgramma.h"
#include "core/Cp1252.h"
#include "core/Dialoghi.h"
#include "core/FileIni.h"
#include "core/Valori.h"

#include <QCoreApplication>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPosizioneMassima = std::numeric_limits<std::int16_t>::max();
constexpr qsizetype kLunghezzaTaglio = 150;

const GetHtmPage::ErroreLettura kArgomentoNonValido{5, u"Chiamata di routine o argomento non validi"_s};
const GetHtmPage::ErroreLettura kOverflow{6, u"Overflow"_s};

// A marker of the customs pages: from the settings, or its default when missing or blank.
QString Marcatore(const QString& chiave, const QString& predefinito)
{
    const QString valore = LeggiIni(gFileIni, u"PARAMWEB"_s, chiave);
    return valore.isEmpty() ? predefinito : valore;
}

struct MarcatoriExport {
    QString errIni = Marcatore(u"EX_ERRINI"_s, uR"(class="err">)"_s);
    QString errFin = Marcatore(u"EX_ERRFIN"_s, u"</div"_s);
    QString dat1Ini = Marcatore(u"EX_DAT1INI"_s, uR"(class="outexport1">)"_s);
    QString dat1Fin = Marcatore(u"EX_DAT1FIN"_s, u"&nbsp"_s);
    QString dat2Ini = Marcatore(u"EX_DAT2INI"_s, uR"(class="outexport2">)"_s);
    QString dat2Fin = Marcatore(u"EX_DAT2FIN"_s, u"<"_s);
};

struct MarcatoriTransito {
    QString errIni = Marcatore(u"TR_ERRINI"_s, uR"(class="err">)"_s);
    QString dat1Ini = Marcatore(u"TR_DAT1INI"_s, uR"(dati1">)"_s);
    QString dat1Fin = Marcatore(u"TR_DAT1FIN"_s, u"<"_s);
    QString dat2Ini = Marcatore(u"TR_DAT2INI"_s, uR"(dati2">)"_s);
    QString dat2Fin = Marcatore(u"TR_DAT2FIN"_s, u"<"_s);
};

const QString kViesErrore = uR"(class="vies_er">)"_s;
const QString kViesOk = uR"(class="vies_ok">)"_s;
const QString kViesNota = uR"(class="vies_note">)"_s;
const QString kViesData = uR"(class="vies_date">)"_s;

// 1-based position of `cercato` in `testo` from `da`, 0 when absent.
int PosizioneIn(const QString& testo, const QString& cercato, qsizetype da = 1)
{
    if (da > testo.size())
        return 0;
    return int(testo.indexOf(cercato, da - 1) + 1);
}

} // namespace

void GetHtmPage::plMRN(const QString& mrn)
{
    m_mrn = mrn;
    m_numero = mrn;
}

void GetHtmPage::plVAT(const QString& vat)
{
    m_vat = vat;
    m_numero = vat;
}

QString GetHtmPage::pgEsito(int J) const
{
    Q_ASSERT(J >= 0 && J < kNumeroEsiti);
    return TogliSpazi(m_esito.at(J));
}

QString GetHtmPage::pgTitolo(int J) const
{
    Q_ASSERT(J >= 0 && J < kNumeroTitoli);
    return TogliSpazi(m_titolo.at(J));
}

void GetHtmPage::SvuotaRisposta()
{
    for (int j = 1; j < kNumeroEsiti; ++j)
        m_esito[j].clear();
    for (int j = 1; j < kNumeroTitoli; ++j)
        m_titolo[j].clear();
    m_testoPagina.clear();
}

std::int16_t GetHtmPage::Cerca(std::int16_t da, const QString& marcatore) const
{
    if (da < 1)
        throw kArgomentoNonValido;
    const int posizione = PosizioneIn(m_testoPagina, marcatore, da);
    if (posizione > kPosizioneMassima)
        throw kOverflow;
    return std::int16_t(posizione);
}

std::int16_t GetHtmPage::Oltre(std::int16_t posizione, const QString& marcatore)
{
    const qsizetype oltre = posizione + marcatore.size();
    if (oltre > kPosizioneMassima)
        throw kOverflow;
    return std::int16_t(oltre);
}

QString GetHtmPage::xTagliaTesto() const
{
    if (m_posizione < 1)
        throw kArgomentoNonValido;
    const QString originale = m_testoPagina.mid(m_posizione - 1, kLunghezzaTaglio);

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

QString GetHtmPage::Prima(const QString& taglio, const QString& fine)
{
    const int posizione = PosizioneIn(taglio, fine);
    if (posizione == 0)
        throw kArgomentoNonValido;
    return taglio.left(posizione - 1);
}

bool GetHtmPage::xGetVat(bool bMess)
{
    m_posizione = Cerca(1, kViesErrore);
    if (m_posizione > 0) {
        if (bMess) {
            m_posizione = Oltre(m_posizione, kViesErrore);
            m_titolo[2] = u"*** "_s + Prima(xTagliaTesto(), u"</p>"_s);
        }
        return false;
    }

    m_posizione = Cerca(1, kViesOk);
    if (m_posizione > 0) {
        m_posizione = Oltre(m_posizione, kViesOk);
        m_titolo[1] = u"Esito: "_s;
        m_esito[1] = TogliSpazi(Prima(xTagliaTesto(), u"</p>"_s));
    }
    for (int J = 2; J <= 6; ++J) {
        m_posizione = Cerca(m_posizione, u"<th>"_s);
        if (m_posizione > 0) {
            m_posizione = Oltre(m_posizione, u"<th>"_s);
            m_titolo[J] = TogliSpazi(Prima(xTagliaTesto(), u"</th>"_s));
        }
        m_posizione = Cerca(m_posizione, u"<td>"_s);
        if (m_posizione > 0) {
            m_posizione = Oltre(m_posizione, u"<td>"_s);
            m_esito[J] = TogliSpazi(Prima(xTagliaTesto(), u"</td>"_s));
        }
    }
    if (m_posizione > 0) {
        m_posizione = Cerca(m_posizione, kViesNota);
        if (m_posizione > 0) {
            m_posizione = Oltre(m_posizione, kViesNota);
            m_esito[7] = TogliSpazi(Prima(xTagliaTesto(), u"</p>"_s));
        }
    }
    if (m_posizione > 0)
        m_posizione = Cerca(m_posizione, kViesData);
    if (m_posizione == 0)
        return true;

    m_posizione = Oltre(m_posizione, kViesData);
    // The date paragraph opens with a fixed 22-character lead-in.
    const QString taglio = xTagliaTesto();
    const int lunghezza = PosizioneIn(taglio, u"</p>"_s) - 23;
    if (lunghezza < 0)
        throw kArgomentoNonValido;
    m_esito[8] = TogliSpazi(taglio.mid(22, lunghezza));
    return true;
}

void GetHtmPage::MostraErroreLettura(const ErroreLettura& errore) const
{
    MsgBox(QString::number(errore.codice) + u" - "_s + errore.descrizione, Pulsanti::Ok, Icona::Critica,
           QString::fromUtf16(kNomeBaseProgramma));
}

bool GetHtmPage::xGetEsito(bool bMess)
{
    const MarcatoriExport m;
    bool risultato = false;
    try {
        m_posizione = Cerca(1, m.errIni);
        if (m_posizione > 0) {
            m_posizione = Oltre(m_posizione, m.errIni);
            const QString messaggio = Prima(xTagliaTesto(), m.errFin);
            if (bMess) {
                m_titolo[2] = messaggio.left(9).toUpper() == u"IN ATTESA"_s
                                  ? u"=== "_s + messaggio + u" ==="_s
                                  : u"*** "_s + messaggio + u" ***"_s;
            }
            return false;
        }

        risultato = true;
        const auto etichetta = [&](int J, bool primaRicerca) {
            m_posizione = Cerca(primaRicerca ? 1 : m_posizione, m.dat1Ini);
            if (m_posizione > 0) {
                m_posizione = Oltre(m_posizione, m.dat1Ini);
                m_titolo[J] = Prima(xTagliaTesto(), m.dat1Fin);
            }
        };
        const auto valore = [&](int J) {
            m_posizione = Cerca(m_posizione, m.dat2Ini);
            if (m_posizione > 0) {
                m_posizione = Oltre(m_posizione, m.dat2Ini);
                m_esito[J] = Prima(xTagliaTesto(), m.dat2Fin);
            }
        };
        etichetta(5, true);
        valore(17);
        etichetta(6, false);
        valore(18);

        m_posizione = Cerca(m_posizione, m.dat1Ini);
        if (m_posizione > 0) {
            m_posizione = Oltre(m_posizione, m.dat1Ini);
            const QString taglio = xTagliaTesto();
            const QString fine = PosizioneIn(taglio, m.dat1Fin) > 0 ? m.dat1Fin : u"<"_s;
            m_titolo[7] = Prima(taglio, fine);
            if (TogliSpazi(m_titolo[7]).isEmpty())
                m_titolo[7] = u"Uscita conclusa in data:"_s;
        }
        valore(19);
    } catch (const ErroreLettura& errore) {
        MostraErroreLettura(errore);
    }
    return risultato;
}

bool GetHtmPage::xGetTransito()
{
    const MarcatoriTransito m;
    bool risultato = false;
    try {
        m_posizione = Cerca(1, m.errIni);
        if (m_posizione > 0) {
            m_posizione = Oltre(m_posizione, m.errIni);
            const QString taglio = xTagliaTesto();
            m_titolo[2] = Prima(taglio, m.dat1Fin);
            if (m_titolo[2] == u"Per l'MRN: "_s) {
                const int q = PosizioneIn(taglio, u"</p>"_s);
                const int r = PosizioneIn(taglio, m.dat1Fin, q + 4);
                m_titolo[2] = u"*** Per l'MRN: "_s + m_mrn + u" ***"_s;
                if (r - q - 4 < 0)
                    throw kArgomentoNonValido;
                m_titolo[3] = u"*** "_s + taglio.mid(q + 3, r - q - 4) + u" ***"_s;
            }
            return false;
        }

        risultato = true;
        m_posizione = 1;
        for (int J = 1; J <= 4; ++J) {
            m_posizione = Cerca(m_posizione, m.dat1Ini);
            if (m_posizione == 0)
                break;
            m_posizione = Oltre(m_posizione, m.dat1Ini);
            m_titolo[J] = Prima(xTagliaTesto(), m.dat1Fin) + u":  "_s;
        }
        m_posizione = 1;
        for (int J = 1; J <= 16; ++J) {
            m_posizione = Cerca(m_posizione, m.dat2Ini);
            if (m_posizione == 0)
                break;
            m_posizione = Oltre(m_posizione, m.dat2Ini);
            m_esito[J] = Prima(xTagliaTesto(), m.dat2Fin);
        }
    } catch (const ErroreLettura& errore) {
        MostraErroreLettura(errore);
    }
    return risultato;
}
