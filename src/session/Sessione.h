#pragma once
// What the program opens at start and holds until it ends: the program folder and its files, the
// settings, the database, the country table, the service addresses, the web options, the HTTP
// client and the grid colours. The main window and every command open one with ApriSessione and
// hand it to what needs it.

#include "core/Database.h"
#include "core/Impostazioni.h"
#include "countries/Nazioni.h"
#include "session/ComandoProgramma.h"
#include "web/ClientHttp.h"
#include "web/GetHtmPage.h"
#include "web/IndirizziWeb.h"
#include "web/ParametriWeb.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

enum class ModoSessione {
    Finestre, // the window program: the settings file gets its missing defaults
    Comando,  // a command: the settings file is never created or written; defaults live in memory
};

// Web option uses: the database list, the single check, the list check.
enum UsoWeb : int { kUsoDatabase = 0, kUsoSingola = 1, kUsoElenco = 2 };

class Sessione
{
public:
    // Runs the start-up steps for `cartella`; `primoAvvio` is called when there is no settings file
    // yet, before anything is written to it.
    Sessione(const QString& cartella, ModoSessione modo,
             const std::function<void(Impostazioni&)>& primoAvvio);
    ~Sessione();

    const QString cartella; // the program folder, without a trailing separator
    const QString fileIni;
    const QString fileDb;
    const QString dirTemp; // TempFile beside the program, ending with a separator

    Impostazioni impostazioni;
    Database database;
    Nazioni nazioni;
    IndirizziWeb indirizzi;
    ParametriWeb parametriWeb;
    ClientHttp client;
    std::array<std::uint32_t, 3> colori{}; // grid colours: red in the low byte, then green, then blue
    ComandoProgramma pathExcel; // the Applicativi entry that is the spreadsheet program; empty if none

    // What a query needs, and what it does with its page for `uso` (0, 1 or 2).
    ContestoQuery Contesto();
    PoliticaPagine Politica(int uso) const;

    // The window program's display of answer pages; without one pages are never shown.
    void ImpostaMostraPagine(std::unique_ptr<MostraPagine> mostra) { m_mostra = std::move(mostra); }

private:
    std::unique_ptr<MostraPagine> m_mostra;
};

std::unique_ptr<Sessione> ApriSessione(const QString& cartella, ModoSessione modo,
                                       const std::function<void(Impostazioni&)>& primoAvvio = {});

// COLORIGRID: a colour whose number is 0 (missing, empty, not numeric) takes its default; any other
// is rounded, halves to even, and kept as its low 24 bits, the bytes a colour is drawn with.
std::array<std::uint32_t, 3> LeggiColori(const Impostazioni& impostazioni);
