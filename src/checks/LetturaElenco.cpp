#include "checks/LetturaElenco.h"

#include "core/Cp1252.h"

#include <QIODevice>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QByteArrayView kBom = "\xEF\xBB\xBF";
// A UTF-8 character takes up to four bytes.
constexpr qsizetype kMassimoByteVoce = 4 * kMassimoCaratteriVoce;
constexpr qsizetype kDimensioneBlocco = 64 * 1024;

bool Spazio(char16_t c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

void ScomposizioneElenco::Aggiungi(QByteArrayView byte, QList<QString>& voci)
{
    if (!m_codificaDecisa) {
        const qsizetype presi = std::min(kBom.size() - m_inizio.size(), byte.size());
        m_inizio += byte.first(presi);
        byte = byte.sliced(presi);
        if (m_inizio.size() < kBom.size() && kBom.startsWith(m_inizio))
            return; // still the start of a byte order mark
        DecidiCodifica(voci);
    }
    for (const char c : byte)
        Byte(c, voci);
}

void ScomposizioneElenco::Chiudi(QList<QString>& voci)
{
    if (!m_codificaDecisa)
        DecidiCodifica(voci);
    if (m_inCorso)
        Emetti(voci);
    m_stato = Stato::InizioVoce;
    m_inCorso = false;
    m_dopoCR = false;
}

void ScomposizioneElenco::DecidiCodifica(QList<QString>& voci)
{
    m_codificaDecisa = true;
    m_utf8 = m_inizio == kBom;
    if (!m_utf8) {
        for (const char c : std::as_const(m_inizio))
            Byte(c, voci);
    }
    m_inizio.clear();
}

void ScomposizioneElenco::Byte(char c, QList<QString>& voci)
{
    if (m_dopoCR) {
        m_dopoCR = false;
        if (c == '\n')
            return;
    }
    if (c == '\r' || c == '\n') {
        m_dopoCR = c == '\r';
        Emetti(voci);
        m_stato = Stato::InizioVoce;
        m_inCorso = false;
        return;
    }
    m_inCorso = true;
    if (c == ',' && m_stato != Stato::TraVirgolette) {
        Emetti(voci);
        m_stato = Stato::InizioVoce;
        return;
    }
    switch (m_stato) {
    case Stato::InizioVoce:
        if (Spazio(char16_t(uchar(c))))
            return;
        if (c == '"') {
            m_stato = Stato::TraVirgolette;
            return;
        }
        m_stato = Stato::Semplice;
        break;
    case Stato::TraVirgolette:
        if (c == '"') {
            m_stato = Stato::DopoVirgolette;
            return;
        }
        break;
    case Stato::DopoVirgolette:
        return;
    case Stato::Semplice:
        break;
    }
    if (m_voce.size() < kMassimoByteVoce)
        m_voce += c;
}

void ScomposizioneElenco::Emetti(QList<QString>& voci)
{
    QString voce = m_utf8 ? QString::fromUtf8(m_voce) : Cp1252::Decodifica(m_voce);
    if (voce.size() > kMassimoCaratteriVoce) // a character of two units is kept whole or left out
        voce.truncate(kMassimoCaratteriVoce - (voce[kMassimoCaratteriVoce - 1].isHighSurrogate() ? 1 : 0));
    voci.append(voce);
    m_voce.resize(0); // keeps its room for the next item
}

QList<QString> VociElenco(QByteArrayView contenuto)
{
    ScomposizioneElenco scomposizione;
    QList<QString> voci;
    scomposizione.Aggiungi(contenuto, voci);
    scomposizione.Chiudi(voci);
    return voci;
}

QString NormalizzaVoce(const QString& voce)
{
    qsizetype inizio = 0;
    while (inizio < voce.size() && Spazio(voce[inizio].unicode()))
        ++inizio;
    QString codice;
    for (qsizetype i = inizio; i < voce.size() && !Spazio(voce[i].unicode()); ++i)
        codice += voce[i].toUpper(); // letter by letter: the code keeps its length
    return codice;
}

std::optional<QString> LettoreElenco::Prossima()
{
    while (m_indice >= m_voci.size()) {
        if (m_finito)
            return std::nullopt;
        m_voci.clear();
        m_indice = 0;
        m_blocco.resize(kDimensioneBlocco);
        const qint64 letti = m_file.read(m_blocco.data(), m_blocco.size());
        if (letti > 0) {
            m_scomposizione.Aggiungi(QByteArrayView(m_blocco).first(letti), m_voci);
        } else {
            m_scomposizione.Chiudi(m_voci);
            m_finito = true;
        }
    }
    return NormalizzaVoce(m_voci[m_indice++]);
}
