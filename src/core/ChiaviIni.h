#pragma once
// The keys of the settings file, each named once for its readers and writers.

#include "core/Impostazioni.h"

namespace Chiavi {

// Placement of a window, in the section named after its internal name.
inline Chiave WState(const QString& finestra)
{
    return {finestra, QStringLiteral("WSTATE")};
}
inline Chiave DimX(const QString& finestra)
{
    return {finestra, QStringLiteral("DIMX")};
}
inline Chiave DimY(const QString& finestra)
{
    return {finestra, QStringLiteral("DIMY")};
}
inline Chiave PosX(const QString& finestra)
{
    return {finestra, QStringLiteral("POSX")};
}
inline Chiave PosY(const QString& finestra)
{
    return {finestra, QStringLiteral("POSY")};
}

// The country table: the codes in display order, then one row per code.
inline Chiave Codici()
{
    return {QStringLiteral("NAZIONI"), QStringLiteral("CODICI")};
}
inline Chiave Nazione(const QString& codice)
{
    return {QStringLiteral("NAZIONI"), codice};
}

// The visible columns of the results browser: one letter per column, "S" shown.
inline Chiave LayOut()
{
    return {QStringLiteral("EleVATok"), QStringLiteral("LayOUT")};
}

inline Chiave Colore(int i)
{
    return ChiaveIndicizzata(QStringLiteral("COLORIGRID"), QStringLiteral("COLORE"), i);
}

// Web options, per use 0..2, and the one shared display choice.
inline Chiave View(int uso)
{
    return ChiaveIndicizzata(QStringLiteral("WEBPARAM"), QStringLiteral("View"), uso);
}
inline Chiave Print(int uso)
{
    return ChiaveIndicizzata(QStringLiteral("WEBPARAM"), QStringLiteral("Print"), uso);
}
inline Chiave ChPrt(int uso)
{
    return ChiaveIndicizzata(QStringLiteral("WEBPARAM"), QStringLiteral("ChPrt"), uso);
}
inline Chiave Stampante(int uso)
{
    return ChiaveIndicizzata(QStringLiteral("WEBPARAM"), QStringLiteral("Stampante"), uso);
}
inline Chiave Save(int uso)
{
    return ChiaveIndicizzata(QStringLiteral("WEBPARAM"), QStringLiteral("Save"), uso);
}
inline Chiave DirSave(int uso)
{
    return ChiaveIndicizzata(QStringLiteral("WEBPARAM"), QStringLiteral("DirSave"), uso);
}
inline Chiave IESkede()
{
    return {QStringLiteral("WEBPARAM"), QStringLiteral("IESkede")};
}

// External programs, entries 1..11.
inline Chiave NomeVarie(int i)
{
    return ChiaveIndicizzata(QStringLiteral("APPLICATIVI"), QStringLiteral("NomeVarie"), i);
}
inline Chiave Varie(int i)
{
    return ChiaveIndicizzata(QStringLiteral("APPLICATIVI"), QStringLiteral("Varie"), i);
}
// The same keys by name, as the launcher receives them ("Varie3").
inline Chiave Applicativo(const QString& nome)
{
    return {QStringLiteral("APPLICATIVI"), nome};
}

// Addresses of the agencies' pages, and the time limit of a request in seconds.
inline Chiave IndirizzoWeb(const QString& nome)
{
    return {QStringLiteral("INDIRIZZIWEB"), nome};
}
inline Chiave TempoMax()
{
    return IndirizzoWeb(QStringLiteral("TEMPOMAX"));
}

// Text markers of the customs pages.
inline Chiave MarcatoreWeb(const QString& nome)
{
    return {QStringLiteral("PARAMWEB"), nome};
}

// The list check window: the last list file and the output choice (0 FILE, 1 Stampa, 2 D.B.).
inline Chiave ElencoPath()
{
    return {QStringLiteral("EleVat"), QStringLiteral("PATH")};
}
inline Chiave ElencoCome()
{
    return {QStringLiteral("EleVat"), QStringLiteral("COME")};
}
// Pages a list run asks at once.
inline Chiave ElencoParallelo()
{
    return {QStringLiteral("EleVat"), QStringLiteral("PARALLELO")};
}

// The print window's last confirmation.
inline Chiave Stampa(const QString& nome)
{
    return {QStringLiteral("STAMPA"), nome};
}

// The automatic saving of the PDFCreator virtual printer.
inline Chiave PdfCreator(const QString& nome)
{
    return {QStringLiteral("PDFCREATOR"), nome};
}

} // namespace Chiavi
