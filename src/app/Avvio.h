#pragma once
// The start-up steps that need no window. The main window runs them in its own order; the
// command line runs the same ones, so both work on the same files and state.

#include <QString>

#include <array>

inline constexpr int kNumeroApplicativi = 11;

// Paths of the settings file, database and temporary folder (created when missing), the scratch
// values, and the program folder as current directory.
void ImpostaPercorsi();

// WEBPARAM into gParametriWeb.
void CaricaParametriWeb();

// COLORIGRID into gColori, with the defaults for missing or zero values (not written back).
void CaricaColori();

// One entry of the Applicativi menu.
struct VoceApplicativo {
    QString nome;
    QString programma;
    bool visibile = false;
};
using VociApplicativi = std::array<VoceApplicativo, kNumeroApplicativi + 1>; // index 0 unused

// Writes the first entry's defaults when empty, reads the eleven entries and sets gPathExcel.
VociApplicativi CaricaApplicativi();

// The default program of the first entry: the first text editor found on the path.
QString EditorDiTesti();
