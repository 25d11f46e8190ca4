#include "core/Cp1252.h"

#include <array>

namespace {

// Unicode of the bytes 0x80..0x9F; the other bytes are their own code point.
constexpr std::array<char16_t, 32> kAlti = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of `c`, or -1 when Windows-1252 has none.
int ByteDi(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(kAlti.size()); ++i) {
        if (kAlti[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Cp1252 {

QString Decodifica(const QByteArray& byte)
{
    QString testo(byte.size(), Qt::Uninitialized);
    QChar* out = testo.data();
    for (const char b : byte) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? kAlti[u - 0x80] : char16_t(u));
    }
    return testo;
}

QByteArray Codifica(const QString& testo, char sostituto)
{
    QByteArray byte;
    byte.reserve(testo.size());
    Accoda(byte, testo, sostituto);
    return byte;
}

void Accoda(QByteArray& byte, QStringView testo, char sostituto)
{
    const qsizetype inizio = byte.size();
    byte.resize(inizio + testo.size());
    char* out = byte.data() + inizio;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        // A character beyond the 16-bit range is one character, not two.
        if (c.isHighSurrogate() && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate())
            ++i;
        const int b = ByteDi(c.unicode());
        *out++ = b < 0 ? sostituto : char(b);
    }
    byte.resize(out - byte.constData());
}

bool Rappresentabile(QChar c)
{
    return ByteDi(c.unicode()) >= 0;
}

} // namespace Cp1252
