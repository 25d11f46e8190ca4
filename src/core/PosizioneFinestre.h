#pragma once
// Placement of windows: working windows open just below the main window's menu bar, clear of the
// taskbar, with the size and state their settings section remembers; windows that remember their
// own place save it on closing.

#include "core/CalcoloPosizione.h"

#include <functional>

class Impostazioni;
class QScreen;
class QWidget;

// The main window `Startup`, or nullptr before it exists.
QWidget* FinestraPrincipale();

// The screen of the main window, or the primary screen before it exists.
QScreen* SchermoPrincipale();

// The window manager's frame around `w`. It is known only once a window has been shown: until then
// the main window's stands in for it.
QSize CorniceFinestra(const QWidget* w);

// Runs `azione` once, as soon as the window manager has put its frame around `finestra` and Qt knows
// it: some time after the window is shown, and never where windows have no frame.
void QuandoCorniceNota(QWidget* finestra, std::function<void()> azione);

// Places `finestra`, not yet shown, with its outer frame's corner at `angolo` (pixels).
void ImpostaPosizioneEsterna(QWidget* finestra, QPoint angolo);

// The same, with the outer size too. Until the window manager has drawn the frame its size is a guess
// (CorniceFinestra); once it is known, the client area is corrected.
void ImpostaGeometriaEsterna(QWidget* finestra, const QRect& esterno);

// The taskbar of the main window's screen.
InfoTaskbar PosizioneTaskbar();

// Sizes and places a window that is about to be shown; its object name is its settings section.
void RipristinaFinestra(QWidget* finestra, const Impostazioni& impostazioni);

// Records the window's state and, when it is normal, its size (sizable border only) and position.
void SalvaFinestra(QWidget* finestra, Impostazioni& impostazioni);

// For windows that reopen where they were: in the normal state only, the outer frame's left and
// top (negative counts as 0; written only while on the screen) and its width and height, in the
// window's own section.
void SalvaPosizioneEsterna(QWidget* finestra, Impostazioni& impostazioni);

// A border the user can drag: the window's size is not fixed.
bool BordoRidimensionabile(const QWidget* finestra);
