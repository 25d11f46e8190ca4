#pragma once
// The main window's size and position rules, in twips, as pure arithmetic.

#include <QPoint>
#include <QSize>

// Design client area of the main window; the outer size adds the frame, caption and menu bar.
inline constexpr int kLarghezzaProgetto = 6360;
inline constexpr int kAltezzaProgetto = 1860;
inline constexpr int kAltezzaMinima = 2550;

// A menu bar wrapped onto more lines makes the frame taller: the window widens to give it one line.
int LarghezzaFissa(int larghezzaEsterna, int altezzaCornice);
int AltezzaFissa(int altezzaEsterna);

// The first position, centred; may carry a half twip.
QPointF PosizioneCentrata(QSize schermo, QSize finestra);

// The saved position, with a coordinate off the screen (negative or beyond its size) set to 0.
QPoint PosizioneRipristinata(double posX, double posY, QSize schermo);
