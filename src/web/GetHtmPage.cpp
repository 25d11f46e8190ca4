#include "web/GetHtmPage.h"

#include "app/Globali.h"
#include "core/CartellaProgramma.h"
#include "core/Cp1252.h"
#include "core/Dialoghi.h"
#include "core/FileIni.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"
#include "countries/ControlloFormatoVAT.h"
#include "web/ClientHttp.h"
#include "web/IndirizziWeb.h"
#include "web/MostraPagine.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

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

// Upper case letter by letter, so the text keeps its length ("ß" has no one-letter capital).
QString MaiuscoloStessaLunghezza(QString testo)
{
    for (QChar& c : testo)
        c = c.toUpper();
    return testo;
}

QString CartellaConSeparatore(const QString& cartella)
{
    return cartella.endsWith(u'/') || cartella.endsWith(u'\\') ? cartella : cartella + u'/';
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

bool GetHtmPage::Scarica(const QString& indirizzo)
{
    const EsitoHttp esito = ClientHttp::Get(QUrl(indirizzo));
    if (!esito.riuscita)
        return false;
    m_testoPagina = esito.testo;
    return true;
}

QString GetHtmPage::xGetPaginaVAT()
{
    SvuotaRisposta();
    if (!m_vat.isEmpty())
        m_tipo = u"pi"_s;
    const QString messaggio = ControlloFormatoVAT(m_vat);
    if (!messaggio.isEmpty())
        return messaggio;
    m_indirizzo = IndirizzoVat(m_vat);

    const QString nonAttiva = QString::fromUtf16(kConnessioneNonAttiva);
    if (!Scarica(m_indirizzo))
        return nonAttiva;
    try {
        if (xGetVat(true) && !xMostraPagina(m_indirizzo, m_tipo))
            return nonAttiva;
    } catch (const ErroreLettura&) {
        return nonAttiva;
    }
    return {};
}

QString GetHtmPage::xGetPaginaMRN()
{
    SvuotaRisposta();
    m_tipo.clear();
    if (TogliSpazi(m_mrn).size() < 18)
        return u"*** Lunghezza numero MRN errata (18 caratteri)"_s;
    const QString indirizzoExport = IndirizzoExport(m_mrn);
    const QString tipoMrn = m_mrn.mid(16, 1);
    if (tipoMrn == u"E"_s) {
        m_indirizzo = indirizzoExport;
        m_tipo = u"ex"_s;
    } else if (tipoMrn == u"T"_s) {
        m_indirizzo = IndirizzoTransiti(m_mrn);
        m_tipo = u"tr"_s;
    } else {
        return u"*** Tipo MRN errato (T=Transito, E=Export)"_s;
    }

    const QString nonAttiva = QString::fromUtf16(kConnessioneNonAttiva);
    if (!Scarica(m_indirizzo))
        return nonAttiva;
    if (m_tipo == u"ex"_s)
        return xGetEsito(true) && !xMostraPagina(m_indirizzo, u"ex"_s) ? nonAttiva : QString();

    if (xGetTransito() && !xMostraPagina(m_indirizzo, u"tr"_s))
        return nonAttiva;
    // A transit movement also shows where its export stands, read silently.
    m_indirizzo = indirizzoExport;
    if (!Scarica(m_indirizzo))
        return nonAttiva;
    if (xGetEsito(false) && !xMostraPagina(m_indirizzo, u"ex"_s))
        return nonAttiva;
    return {};
}

bool GetHtmPage::xMostraPagina(const QString& indirizzo, const QString& tipo)
{
    const int k = std::clamp<int>(gTipoWeb, 0, 2);
    const ParametriWeb& w = gParametriWeb;
    const QString cartella = TogliSpazi(w.DirSave[k]);
    bool vedere = w.View[k] > 0;
    const bool salvare = w.Save[k] > 0 && !cartella.isEmpty();

    if (w.Print[k] > 0 || (vedere && w.IESkede == 1)) {
        if (!MostraPagineCorrenti().MostraNelBrowser(indirizzo, m_numero, tipo))
            return false;
    }
    if (w.IESkede == 1)
        vedere = false;
    if (!vedere && !salvare)
        return true;

    // From here on a failing step is skipped: the answer itself has been read.
    const QString file = salvare ? QString(CartellaConSeparatore(cartella) + tipo.toUpper() + u'_' +
                                           NomeFileSicuro(m_numero) + u".htm"_s)
                                 : QString(gDirTemp + u"tmp_html.htm"_s);
    SalvaPagina(file);
    if (vedere) {
        MostraPagineCorrenti().ApriDocumento(file);
        QCoreApplication::processEvents();
    }
    return true;
}

void GetHtmPage::SalvaPagina(const QString& file) const
{
    QFile::remove(file);
    QFile f;
    if (ApriArchivio(f, file, kModoScrittura))
        f.write(Cp1252::Codifica(m_testoPagina + u"\r\n"_s));
}

std::int16_t InterrogaNumero(GetHtmPage& pagina, const QString& numero)
{
    for (int j = 1; j < kNumeroEsiti; ++j)
        ElencoEsiti[j].clear();
    for (int j = 1; j < kNumeroTitoli; ++j)
        ElencoTitoli[j].clear();

    QString testo;
    if (numero.size() < 18) {
        pagina.plVAT(MaiuscoloStessaLunghezza(numero));
        testo = pagina.xGetPaginaVAT();
    } else {
        pagina.plMRN(MaiuscoloStessaLunghezza(numero));
        testo = pagina.xGetPaginaMRN();
    }

    std::int16_t risultato = 0;
    if (!TogliSpazi(testo).isEmpty()) {
        ElencoTitoli[2] = testo;
        risultato = testo.startsWith(u'#') ? 9 : 1;
    } else {
        for (int j = 1; j < kNumeroEsiti; ++j)
            ElencoEsiti[j] = pagina.pgEsito(j);
        for (int j = 1; j < kNumeroTitoli; ++j)
            ElencoTitoli[j] = pagina.pgTitolo(j);
    }
    QCoreApplication::processEvents();
    PulisciCacheMrn(numero);
    return risultato;
}
