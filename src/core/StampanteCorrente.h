#pragma once
// The one printer of the whole program: the system's default at start, changed by the printer
// choices of the windows. Beside the installed printers there is always "PDF", which writes files.

#include "core/Dialoghi.h"

#include <QString>
#include <QStringList>

class QPrinter;

inline constexpr char16_t kStampantePdf[] = u"PDF";

QPrinter& StampanteCorrente();

// The current printer's device name: an installed printer's name, or "PDF".
QString NomeStampanteCorrente();
bool StampanteCorrentePdf();
// The name with, for "PDF", the output file chosen for it ("" when none was).
SceltaStampante SceltaStampanteCorrente();

// The installed printers, then "PDF".
QStringList ElencoStampanti();

// The printer dialog of the windows' "&Stampante" menus: the chosen printer becomes the current one;
// a cancel changes nothing.
void ScegliStampanteCorrente();

// Points `stampante` at the printer `nome`; false, with nothing changed, when no such printer exists.
bool ImpostaStampante(QPrinter& stampante, const QString& nome);

// Makes `nome` the current printer, likewise. `filePdf` is where "PDF" writes every print; without
// one each print names its own file.
bool ImpostaStampanteCorrente(const QString& nome, const QString& filePdf = {});
