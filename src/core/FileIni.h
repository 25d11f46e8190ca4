#pragma once
// The settings file: a Windows-style INI file in Windows-1252 with CR LF line ends.
// The file is never held open: each call reads it whole, and each write replaces it through a
// temporary file and a rename, so a crash leaves either the old file or the new one.

#include <QString>

// The value of `chiave` in `sezione`, names matched without regard to case. The value is
// trimmed, loses a matching pair of double quotes, is cut to 199 characters, then at its first
// TAB and its first "|", and is trimmed of spaces again. Anything missing or unreadable gives "".
QString LeggiIni(const QString& file, const QString& sezione, const QString& chiave);

// Replaces the value in place, or adds the key at the end of its section, or adds the section at
// the end of the file (creating the file). Failures (read-only file, missing folder, a file too
// large or unreadable to be rewritten safely) are ignored: the file is left as it was.
void ScriviIni(const QString& file, const QString& sezione, const QString& chiave, const QString& valore);
