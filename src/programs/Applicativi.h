#pragma once
// The eleven Applicativi entries of the settings file: reading them for the main menu, finding the
// spreadsheet program among them, and checking an entry before it is saved.

#include "session/ComandoProgramma.h"

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
    ComandoProgramma pathExcel; // the last shown entry that is a spreadsheet program
};

// Writes the first entry's defaults when empty, then reads the eleven entries. `cartella` is the
// program folder, the first entry's program when the settings file cannot be written.
Applicativi CaricaApplicativi(Impostazioni& impostazioni, const QString& cartella);

// The default program of the first entry: the first text editor found on the path.
QString EditorDiTesti();

// The spreadsheet program an entry's program text starts, or an empty command when it is none: a
// text ending in "EXCEL.EXE", or LibreOffice Calc (localc; libreoffice or soffice, alone or with
// --calc) or gnumeric. A program that cannot be found is kept as written, so starting it reports it.
ComandoProgramma ComandoFoglioDiCalcolo(const QString& programma);

// Why an entry cannot be saved as it stands.
enum class MotivoErrore {
    Nessuno,
    NomeMancante,    // a program without the name the menu shows
    TestoNonIntegro, // the settings file would not give the text back whole
    PercorsoInesistente,
    VirgoletteAperte,
};

// The entry's field in error, numbered as the Applicativi window numbers them: 1..11 the names,
// 12..22 the programs; 0 when the entry is correct.
struct ErroreApplicativo {
    int campo = 0;
    MotivoErrore motivo = MotivoErrore::Nessuno;
};

// Checks entry `indice` (1..11) with trimmed `nome` and `programma`. An address ("www", "http",
// "mail") passes; a program passes when the text before its first double quote names one and the
// whole text starts it, as the launch reads it.
ErroreApplicativo ControllaApplicativo(int indice, const QString& nome, const QString& programma);
