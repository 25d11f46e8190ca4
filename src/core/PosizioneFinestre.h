#pragma once
// Placement of working windows: opened just below the main window's menu bar, clear of the taskbar,
// with the size and state their settings section remembers.

#include "core/CalcoloPosizione.h"

class QWidget;

// The main window `Startup`, or nullptr before it exists.
QWidget* FinestraPrincipale();

// The window manager's frame around `w`. It is known only once a window has been shown: until then
// the main window's stands in for it.
QSize CorniceFinestra(const QWidget* w);

// Finds the taskbar of the main window's screen, stores it in `gTaskbar` and returns its edge.
BordoTaskbar PosizioneTaskbar();

// Sizes and places a window that is about to be shown; its object name is its settings section.
void RipristinaFinestra(QWidget* finestra);

// Records the window's state and, when it is normal, its size (sizable border only) and position.
void SalvaFinestra(QWidget* finestra);

// A border the user can drag: the window's size is not fixed.
bool BordoRidimensionabile(const QWidget* finestra);
