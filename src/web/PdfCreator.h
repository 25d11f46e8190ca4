#pragma once
// PDFCreator, a virtual printer that saves every print job as a PDF by itself: its automatic-save
// settings, and the renaming of the file it writes after the number whose page was printed.

#include <QString>

class Impostazioni;

// PDFCreator's automatic-save folder when `nomeStampante` is PDFCreator and its settings (section
// PDFCREATOR of the settings file) let the follow-up run; "" otherwise. A name pattern other than
// "<Title>" is reported to the user.
QString LeggiPdfCreator(const Impostazioni& impostazioni, const QString& nomeStampante);

// The file name of an answer page's PDF: "EX_"/"TR_" + MRN, or the VAT code's prefix, "_", the
// national number; ".pdf".
QString NomePdf(const QString& tipo, const QString& numero);

// The print job's title for a page of kind `tipo` from `host`: PDFCreator's "<Title>" pattern makes
// it the name of the file it writes.
QString TitoloStampa(const QString& tipo, const QString& host);

// Waits for PDFCreator's file in `cartella` and gives it its final name. A file that does not come
// within the PDF wait limit, or cannot be renamed, is left as it is, silently.
void RinominaPdfCreator(const QString& cartella, const QString& tipo, const QString& numero,
                        const QString& host);
