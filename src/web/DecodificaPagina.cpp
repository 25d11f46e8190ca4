#include "web/DecodificaPagina.h"

#include "core/Cp1252.h"

#include <QByteArrayList>
#include <QStringDecoder>

#include <cctype>

namespace {

// A <meta> declaration past this point is not looked for: pages put it in their head.
constexpr qsizetype kInizioPagina = 64 * 1024;

// The value after "charset=" in the lower-case `testo` (a Content-Type value or a meta tag), unquoted.
QByteArray ValoreCharset(const QByteArray& testo)
{
    const qsizetype i = testo.indexOf("charset");
    if (i < 0)
        return {};
    QByteArray resto = testo.mid(i + 7).trimmed();
    if (!resto.startsWith('='))
        return {};
    resto = resto.mid(1).trimmed();
    if (resto.startsWith('"') || resto.startsWith('\''))
        resto = resto.mid(1);
    qsizetype fine = 0;
    while (fine < resto.size() &&
           (std::isalnum(uchar(resto[fine])) || QByteArrayView("-_.:").contains(resto[fine])))
        ++fine;
    return resto.first(fine);
}

// The charset of the first <meta> tag that declares one (both the charset and the http-equiv forms).
QByteArray CharsetMeta(const QByteArray& corpo)
{
    const QByteArray inizio = corpo.first(std::min(corpo.size(), kInizioPagina)).toLower();
    qsizetype da = 0;
    while ((da = inizio.indexOf("<meta", da)) >= 0) {
        const qsizetype fine = inizio.indexOf('>', da);
        if (fine < 0)
            break;
        const QByteArray charset = ValoreCharset(inizio.sliced(da, fine - da));
        if (!charset.isEmpty())
            return charset;
        da = fine;
    }
    return {};
}

bool EtichettaCp1252(const QByteArray& charset)
{
    static const QByteArrayList etichette = {"windows-1252", "cp1252",     "x-cp1252", "iso-8859-1",
                                             "iso8859-1",    "iso_8859-1", "latin1",   "latin-1",
                                             "l1",           "us-ascii",   "ascii",    "ansi_x3.4-1968"};
    return etichette.contains(charset);
}

} // namespace

QString DecodificaPagina(const QByteArray& corpo, const QByteArray& tipo)
{
    QByteArray charset = ValoreCharset(tipo.toLower());
    if (charset.isEmpty())
        charset = CharsetMeta(corpo);
    if (EtichettaCp1252(charset))
        return Cp1252::Decodifica(corpo);
    // Stateless: a sequence cut off at the end of the page becomes U+FFFD instead of vanishing.
    constexpr auto kFlag = QStringDecoder::Flag::Stateless;
    QStringDecoder decodificatore(charset.isEmpty() ? "utf-8" : charset.constData(), kFlag);
    if (!decodificatore.isValid())
        decodificatore = QStringDecoder(QStringDecoder::Utf8, kFlag);
    return decodificatore.decode(corpo);
}
