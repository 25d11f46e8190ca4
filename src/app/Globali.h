#pragma once
// The program-wide state: filled at start-up, shared by every window until the program ends.
// Windows read and write it directly; the command line fills it the same way.

#include "core/CalcoloPosizione.h"
#include "core/Dialoghi.h"
#include "core/Tabella.h"
#include "countries/RigaNazione.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>

class QWidget;

// Per query use (0 database list, 1 single check, 2 list check): how answer pages are shown,
// printed and saved. Each member is named after its WEBPARAM key.
struct ParametriWeb {
    std::array<std::int16_t, 3> View{};
    std::array<std::int16_t, 3> Print{};
    std::array<std::int16_t, 3> ChPrt{};
    std::array<QString, 3> Stampante;
    std::array<std::int16_t, 3> Save{};
    std::array<QString, 3> DirSave;
    std::int16_t IESkede = 0; // which of the two page-display choices is selected
};

inline QString gFileIni; // settings file
inline QString gFileDb;  // database file
inline QString gDirTemp; // temporary folder, always ending with a separator
inline bool gDbAperto = false;
inline const QString gDb = QStringLiteral("tarvel"); // name of the one database connection
inline Tabella gRsWk;                                // the list check's work table (ApriTabellaWk)
inline Risposta gRisposta = Risposta::Ok;            // the button chosen in the last such retry message

inline std::int16_t gIndice = 0; // mode or selection a window hands to the window it opens
inline QString gMessaggio;       // scratch text for composed messages

inline QString gArgModulo;            // argument for the next external program; emptied after each launch
inline std::int16_t gStileModulo = 1; // window style of the next external program; 1 = normal with focus

inline QString gPathExcel; // program path of the Applicativi entry that is the spreadsheet program

// Grid colours: red in the low byte, then green, then blue.
inline std::array<std::uint32_t, 3> gColori{};

inline ParametriWeb gParametriWeb;

// The print window's choices, preselected each time it opens.
inline QString gTipoStampa;               // "P" printer with a request, "D" printer directly, "V" on screen
inline std::int16_t gPaginaAnteprima = 0; // page-layout choice 0..7
inline std::int16_t gZoomAnteprima = 0;   // zoom item, -1 none

// The cell of the print grid, in printer units, as IniziaStampa measured it.
inline double gLargCar = 0;
inline double gAltRiga = 0;
inline std::int16_t gTipoWeb = 0; // the query use whose web parameters apply now

// The country table in the order of NAZIONI/CODICI; the last row (after the last comma) is never
// read from the file. Read-only once loaded.
inline QList<RigaNazione> gNazioni;
inline int gNazCorrente = -1; // row of gNazioni found by the last format check, -1 when none

// Base addresses of the agencies' query pages, each named after its INDIRIZZIWEB key.
struct IndirizziWeb {
    QString Export;
    QString Transiti;
    QString Vat;
    QString VatPiva; // between the country prefix and the national part
};
inline IndirizziWeb gIndirizziWeb;

inline InfoTaskbar gTaskbar;          // as last found when a window was placed
inline QPointer<QWidget> gFormAttesa; // the window whose pointer InizioAttesa turned busy
inline QString gTitoloSalvato;        // the caption Ctrl+F8 replaced, one for the whole program

// The answer of the last query, copied by InterrogaNumero: values 1..19 and titles 1..7 (0 unused).
inline std::array<QString, 20> ElencoEsiti;
inline std::array<QString, 8> ElencoTitoli;
