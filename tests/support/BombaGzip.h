#pragma once
// Compressed bodies for hostile answers.

#include <QByteArray>

// A gzip stream that unpacks to `byte` bytes, made without ever holding them: blocks of 64 KiB, each
// `casuali` pseudo-random bytes (always the same ones) followed by zeros. The more random bytes, the
// lower the ratio of unpacked to packed size: 0 gives about 1000 to 1, 2000 about 30 to 1.
QByteArray BombaGzip(qint64 byte, int casuali);
