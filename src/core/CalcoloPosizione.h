#pragma once
// Where a working window opens: pure arithmetic in twips, with the screen's top-left corner at 0,0.

#include <QRect>
#include <QSize>

#include <optional>

// The screen edge the taskbar sits on; the values are the codes the placement rules test.
enum class BordoTaskbar { Basso = 0, Destra = 1, Alto = 2, Sinistra = 3 };

struct InfoTaskbar {
    BordoTaskbar bordo = BordoTaskbar::Alto;
    int altezza = 0;   // twips
    int larghezza = 0; // twips
    int top = 0;       // pixels, from the screen's top-left corner
    int left = 0;      // pixels
};

// The taskbar is the strip of the screen outside its available area (both in pixels). When more
// than one edge is taken, the first of bottom, right, left and top counts. No strip gives the
// all-zero taskbar at the top.
InfoTaskbar TaskbarDaSchermo(const QRect& schermo, const QRect& disponibile, double dpiX, double dpiY);

// The main window: outer rectangle and client area (without title and menu bars).
struct RettangoliPrincipale {
    QRect esterno;
    QSize interno;
};

// A window about to open: its outer design size, its border, and its settings section as read.
struct DatiFinestra {
    QSize progetto;
    bool ridimensionabile = false;
    double wstate = 0;
    double dimX = 0;
    double dimY = 0;
};

struct Collocazione {
    bool massimizzata = false;
    QRect rettangolo; // outer rectangle; meaningless when maximized
};

// Just below the main window's menu bar, kept clear of a bottom, right or left taskbar and of the
// bottom and right screen edges. Without a main window the anchor is the screen's corner.
Collocazione CalcolaCollocazione(QSize schermo, const InfoTaskbar& taskbar,
                                 const std::optional<RettangoliPrincipale>& principale,
                                 const DatiFinestra& finestra);

// What a window that reopens where it was writes on closing: each coordinate, clamped at 0, only
// while it lies within the screen.
struct PosizioneDaSalvare {
    std::optional<int> posX;
    std::optional<int> posY;
};
PosizioneDaSalvare PosizioneInChiusura(QPoint angolo, QSize schermo);

// The browser window's saved placement (twips) corrected to fit a screen of `schermo` twips: as left,
// top, width, height.
QRect CorreggiPosizioneWeb(int top, int left, int altezza, int larghezza, QSize schermo);
