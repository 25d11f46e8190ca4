#pragma once
// Where the program keeps its settings, database and temporary files.

#include <QString>

// The base name of every file the program keeps beside itself (tarvel.ini, tarvel.db).
inline constexpr char16_t kNomeBaseProgramma[] = u"tarvel";

// Names the application for Qt (per-user folders) and gives it its version.
void ImpostaIdentitaApplicazione();

// The executable's folder; when that is not writable (an installed copy), the per-user data
// folder, created when missing. Computed once, without a trailing separator.
QString CartellaProgramma();

// Puts the program folder elsewhere: tests run each start-up in a folder of their own.
void ImpostaCartellaProgramma(const QString& cartella);

// "1.0.0": major, minor and revision as plain decimal numbers.
QString VersioneProgramma();
