#include "core/DocumentoIni.h"

#include "core/Cp1252.h"
#include "core/Valori.h"

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QString> NomeSezione(const QString& riga)
{
    const QString t = riga.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype fine = t.indexOf(u']');
    return t.mid(1, fine < 0 ? -1 : fine - 1).trimmed();
}

// The key name of a "key=value" line, or nothing for any other line.
std::optional<QString> NomeChiave(const QString& riga)
{
    const qsizetype uguale = riga.indexOf(u'=');
    if (uguale < 0)
        return std::nullopt;
    return riga.left(uguale).trimmed();
}

QString TagliaA(QString testo, QChar c)
{
    const qsizetype i = testo.indexOf(c);
    if (i >= 0)
        testo.truncate(i);
    return testo;
}

} // namespace

DocumentoIni::DocumentoIni(const QByteArray& testo)
{
    m_righe = Cp1252::Decodifica(testo).split(u'\n');
    for (QString& riga : m_righe) {
        if (riga.endsWith(u'\r'))
            riga.chop(1);
    }
    if (!m_righe.isEmpty() && m_righe.last().isEmpty())
        m_righe.removeLast(); // the text after the last line end
    Indicizza();
}

void DocumentoIni::Indicizza()
{
    m_sezioni.clear();
    QString corrente; // lower-case name; empty inside a repeated section, whose keys are never found
    for (qsizetype i = 0; i < m_righe.size(); ++i) {
        if (const auto s = NomeSezione(m_righe[i])) {
            corrente = s->toLower();
            if (m_sezioni.contains(corrente))
                corrente.clear();
            else
                m_sezioni[corrente].intestazione = i;
        } else if (const auto k = NomeChiave(m_righe[i]); k && !corrente.isEmpty()) {
            QHash<QString, qsizetype>& chiavi = m_sezioni[corrente].chiavi;
            const QString nome = k->toLower();
            if (!chiavi.contains(nome))
                chiavi.insert(nome, i);
        }
    }
}

qsizetype DocumentoIni::FineSezione(qsizetype intestazione) const
{
    qsizetype fine = intestazione + 1;
    while (fine < m_righe.size() && !NomeSezione(m_righe[fine]))
        ++fine;
    return fine;
}

QString DocumentoIni::Valore(const QString& sezione, const QString& chiave) const
{
    const auto s = m_sezioni.constFind(sezione.trimmed().toLower());
    if (s == m_sezioni.cend())
        return {};
    const auto k = s->chiavi.constFind(chiave.trimmed().toLower());
    if (k == s->chiavi.cend())
        return {};
    const QString& riga = m_righe[*k];
    QString valore = TogliSpazi(riga.mid(riga.indexOf(u'=') + 1));
    if (valore.size() >= 2 && valore.startsWith(u'"') && valore.endsWith(u'"'))
        valore = valore.mid(1, valore.size() - 2);
    valore.truncate(kLunghezzaMassimaValore);
    valore = TagliaA(valore, QChar(u'\0'));
    valore = TagliaA(valore, u'\t');
    valore = TagliaA(valore, u'|');
    return TogliSpazi(valore);
}

void DocumentoIni::Imposta(const QString& sezione, const QString& chiave, const QString& valore)
{
    QString testo = valore;
    testo.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString riga = chiave + u'=' + testo;
    const auto s = m_sezioni.find(sezione.trimmed().toLower());
    if (s == m_sezioni.end()) {
        if (!m_righe.isEmpty() && !m_righe.last().trimmed().isEmpty())
            m_righe.append(QString());
        m_righe.append(u'[' + sezione + u']');
        m_righe.append(riga);
        // Odd names (empty, a "]" in the section, a "[" before the key) index as a whole reading does.
        const std::optional<QString> nome = NomeSezione(m_righe[m_righe.size() - 2]);
        if (!nome || nome->isEmpty() || m_sezioni.contains(nome->toLower()) || NomeSezione(riga))
            return Indicizza();
        Sezione& nuova = m_sezioni[nome->toLower()];
        nuova.intestazione = m_righe.size() - 2;
        nuova.chiavi.insert(NomeChiave(riga)->toLower(), m_righe.size() - 1);
    } else if (const auto k = s->chiavi.constFind(chiave.trimmed().toLower()); k != s->chiavi.cend()) {
        m_righe[*k] = *NomeChiave(m_righe[*k]) + u'=' + testo;
    } else {
        // After the section's last entry, before the blank lines that separate it from the next.
        qsizetype dopo = FineSezione(s->intestazione);
        while (dopo > s->intestazione + 1 && m_righe[dopo - 1].trimmed().isEmpty())
            --dopo;
        m_righe.insert(dopo, riga);
        if (s.key().isEmpty() || NomeSezione(riga))
            return Indicizza();
        // Every line from there on moved down one: a shift, not a new reading of the whole text.
        for (Sezione& altra : m_sezioni) {
            if (altra.intestazione >= dopo)
                ++altra.intestazione;
            for (qsizetype& posizione : altra.chiavi) {
                if (posizione >= dopo)
                    ++posizione;
            }
        }
        // The first key of a name wins, and every other key of the section comes before this one.
        const QString nome = NomeChiave(riga)->toLower();
        if (!s->chiavi.contains(nome))
            s->chiavi.insert(nome, dopo);
    }
}

bool DocumentoIni::ValoreIntegro(const QString& valore)
{
    if (valore.size() >= kLunghezzaMassimaValore)
        return false;
    DocumentoIni scritto;
    scritto.Imposta(u"S"_s, u"K"_s, valore);
    return DocumentoIni(scritto.Testo()).Valore(u"S"_s, u"K"_s) == valore; // through Windows-1252
}

QByteArray DocumentoIni::Testo() const
{
    if (m_righe.isEmpty())
        return {};
    return Cp1252::Codifica(m_righe.join(u"\r\n"_s) + u"\r\n"_s);
}
