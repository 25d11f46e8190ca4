#pragma once
// Text on the character grid of a 12-point fixed-pitch font, on the current printer: IniziaStampa
// starts the document, StampaA puts each piece at its row and column, FineStampa sends the page.
// On "PDF" the page becomes a file, which FineStampa then opens with the system's viewer.

#include <QFont>
#include <QString>

#include <cstdint>

// "Courier New" (or the font the system puts in its place) when it is fixed-pitch, else the
// system's fixed-pitch font.
QFont CarattereFisso(int punti);

// Starts a document on the current printer and measures the grid cell on "H". False when the printer cannot
// start one; the other calls then print nothing. `documento` names what is printed (the job's title,
// and on "PDF" without a chosen file the file in `cartellaPdf`: `documento`.pdf, or a date-time name
// when it is empty).
bool IniziaStampa(const QString& cartellaPdf, const QString& documento = {});

// Prints `testo` without its trailing blanks, its cell's top-left corner at `colonna` cell widths
// and `riga` cell heights from the top-left corner of the printable area.
void StampaA(const QString& testo, std::int16_t riga, std::int16_t colonna, bool grassetto);

// Ends the document: the page goes to the printer, or the PDF file to the system's viewer (nothing
// happens where there is none).
void FineStampa();
