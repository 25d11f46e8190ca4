#pragma once
// Windows-1252 ("ANSI") text: the encoding of every text file the program shares with Windows users.
// Our own table rather than ICU: ICU drops the five undefined bytes on decoding and marks
// unencodable characters as 0x1A, while the program needs a byte-for-byte round trip and a
// per-character answer to "can this be written?".

#include <QByteArray>
#include <QString>

namespace Cp1252 {

// Every byte becomes one character; the five undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the control characters of the same value, as Windows does.
QString Decodifica(const QByteArray& byte);

// Characters that Windows-1252 cannot hold become `sostituto`.
QByteArray Codifica(const QString& testo, char sostituto = '?');
// The same, appended to `byte`: a long file is written without a new array per line.
void Accoda(QByteArray& byte, QStringView testo, char sostituto = '?');

bool Rappresentabile(QChar c);

} // namespace Cp1252
