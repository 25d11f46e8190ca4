#pragma once
// The web options: per use (0 database list, 1 single check, 2 list check) how answer pages are
// shown, printed and saved, section WEBPARAM of the settings file.

#include <QString>

#include <array>
#include <cstdint>

class Impostazioni;

// The options in force for one use: what a query does with its answer page.
struct OpzioniPagina {
    int uso = 0;
    std::int16_t View = 0;    // show the page
    std::int16_t Print = 0;   // print it
    std::int16_t ChPrt = 0;   // ask for the printer first
    QString Stampante;        // printer name shown in the web parameters window
    std::int16_t Save = 0;    // save it as an HTML file
    QString DirSave;          // where
    std::int16_t IESkede = 0; // 1: in the program's own browser window; 0: a file opened by the system
};

struct ParametriWeb {
    std::array<std::int16_t, 3> View{};
    std::array<std::int16_t, 3> Print{};
    std::array<std::int16_t, 3> ChPrt{};
    std::array<QString, 3> Stampante;
    std::array<std::int16_t, 3> Save{};
    std::array<QString, 3> DirSave;
    std::int16_t IESkede = 0;

    // Every key of the three uses; missing or not numeric reads as 0 or "".
    static ParametriWeb Leggi(const Impostazioni& impostazioni);
    // The keys of one use, in the order IESkede, View, Save, DirSave, Print, ChPrt, Stampante.
    void Salva(Impostazioni& impostazioni, int uso) const;

    OpzioniPagina Opzioni(int uso) const;
};
