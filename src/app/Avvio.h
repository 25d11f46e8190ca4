#pragma once
// The Applicativi entries of the main menu, read at start-up and again after they are edited.

#include <QString>

#include <array>

class Impostazioni;

inline constexpr int kNumeroApplicativi = 11;

// One entry of the Applicativi menu.
struct VoceApplicativo {
    QString nome;
    QString programma;
    bool visibile = false;
};

struct Applicativi {
    std::array<VoceApplicativo, kNumeroApplicativi + 1> voci; // index 0 unused
    QString pathExcel; // the program of the last shown entry ending in "EXCEL.EXE"
};

// Writes the first entry's defaults when empty, then reads the eleven entries. `cartella` is the
// program folder, the first entry's program when the settings file cannot be written.
Applicativi CaricaApplicativi(Impostazioni& impostazioni, const QString& cartella);

// The default program of the first entry: the first text editor found on the path.
QString EditorDiTesti();
