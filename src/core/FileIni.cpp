#include "core/FileIni.h"

#include "core/Cp1252.h"
#include "core/Valori.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// A settings file is a few kilobytes; anything far larger is not ours to read or rewrite.
constexpr qint64 kDimensioneMassima = 16 * 1024 * 1024;
// The profile reader's 200-character buffer keeps 199 characters and the closing NUL.
constexpr qsizetype kLunghezzaMassimaValore = 199;

std::optional<QStringList> LeggiRighe(const QString& file)
{
    QFile f(file);
    if (f.size() > kDimensioneMassima || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray byte = f.read(kDimensioneMassima + 1);
    if (byte.size() > kDimensioneMassima)
        return std::nullopt;
    QStringList righe = Cp1252::Decodifica(byte).split(u'\n');
    for (QString& riga : righe) {
        if (riga.endsWith(u'\r'))
            riga.chop(1);
    }
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast(); // the text after the last line end
    return righe;
}

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

bool StessoNome(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section sits in the file: its header line and the line after its last line.
struct Sezione {
    qsizetype intestazione = -1;
    qsizetype fine = -1;
};

// The first section with that name, as the profile functions take the first one.
std::optional<Sezione> TrovaSezione(const QStringList& righe, const QString& nome)
{
    for (qsizetype i = 0; i < righe.size(); ++i) {
        const auto n = NomeSezione(righe[i]);
        if (!n || !StessoNome(*n, nome))
            continue;
        qsizetype fine = i + 1;
        while (fine < righe.size() && !NomeSezione(righe[fine]))
            ++fine;
        return Sezione{i, fine};
    }
    return std::nullopt;
}

qsizetype TrovaChiave(const QStringList& righe, const Sezione& s, const QString& chiave)
{
    for (qsizetype i = s.intestazione + 1; i < s.fine; ++i) {
        const auto k = NomeChiave(righe[i]);
        if (k && StessoNome(*k, chiave))
            return i;
    }
    return -1;
}

QString TagliaA(QString testo, QChar c)
{
    const qsizetype i = testo.indexOf(c);
    if (i >= 0)
        testo.truncate(i);
    return testo;
}

bool SolaLettura(const QFileInfo& info)
{
    // The owner's write bit plays the part of the read-only attribute, even for root.
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

QString SenzaFineRiga(QString testo)
{
    // A line end inside a value would turn the rest of it into lines of its own.
    return testo.replace(u'\r', u' ').replace(u'\n', u' ');
}

} // namespace

QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave)
{
    const auto righe = LeggiRighe(file);
    if (!righe)
        return {};
    const auto s = TrovaSezione(*righe, sezione);
    if (!s)
        return {};
    const qsizetype i = TrovaChiave(*righe, *s, chiave);
    if (i < 0)
        return {};

    const QString& riga = (*righe)[i];
    QString valore = riga.mid(riga.indexOf(u'=') + 1).trimmed();
    if (valore.size() >= 2 && valore.startsWith(u'"') && valore.endsWith(u'"'))
        valore = valore.mid(1, valore.size() - 2);
    valore.truncate(kLunghezzaMassimaValore);
    valore = TagliaA(valore, QChar(u'\0'));
    valore = TagliaA(valore, u'\t');
    valore = TagliaA(valore, u'|');
    return TogliSpazi(valore);
}

void ScriviIni(const QString& file, const QString& sezione, const QString& chiave, const QString& valore)
{
    const QFileInfo info(file);
    QStringList righe;
    if (info.exists()) {
        if (SolaLettura(info))
            return;
        auto esistenti = LeggiRighe(file);
        if (!esistenti)
            return;
        righe = std::move(*esistenti);
    }

    const QString testo = SenzaFineRiga(valore);
    if (const auto s = TrovaSezione(righe, sezione)) {
        const qsizetype i = TrovaChiave(righe, *s, chiave);
        if (i >= 0) {
            righe[i] = *NomeChiave(righe[i]) + u'=' + testo;
        } else {
            // After the section's last entry, before the blank lines that separate it from the next.
            qsizetype dopo = s->fine;
            while (dopo > s->intestazione + 1 && righe[dopo - 1].trimmed().isEmpty())
                --dopo;
            righe.insert(dopo, chiave + u'=' + testo);
        }
    } else {
        if (!righe.isEmpty() && !righe.last().trimmed().isEmpty())
            righe.append(QString());
        righe.append(u'[' + sezione + u']');
        righe.append(chiave + u'=' + testo);
    }

    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(Cp1252::Codifica(righe.join(u"\r\n"_s) + u"\r\n"_s));
    f.commit();
}
