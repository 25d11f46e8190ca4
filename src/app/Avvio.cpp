#include "app/Avvio.h"

#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"

#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

Applicativi CaricaApplicativi(Impostazioni& impostazioni, const QString& cartella)
{
    if (impostazioni.Leggi(Chiavi::NomeVarie(1)).isEmpty())
        impostazioni.Scrivi(Chiavi::NomeVarie(1), u"Editor di testi"_s);
    if (impostazioni.Leggi(Chiavi::Varie(1)).isEmpty())
        impostazioni.Scrivi(Chiavi::Varie(1), EditorDiTesti());

    Applicativi a;
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        VoceApplicativo& v = a.voci[i];
        v.nome = impostazioni.Leggi(Chiavi::NomeVarie(i));
        v.programma = impostazioni.Leggi(Chiavi::Varie(i));
        if (i == 1) {
            // Still usable when the settings file cannot be written.
            if (v.nome.isEmpty())
                v.nome = u"Editor di Testi"_s;
            if (v.programma.isEmpty())
                v.programma = cartella;
        }
        v.visibile = !v.nome.isEmpty() && !v.programma.isEmpty();
        if (v.visibile && v.programma.right(9).toUpper() == u"EXCEL.EXE"_s)
            a.pathExcel = v.programma;
    }
    return a;
}

QString EditorDiTesti()
{
    static const char16_t* const kEditor[] = {u"gnome-text-editor", u"gedit",   u"kate",
                                              u"mousepad",          u"pluma",   u"xed",
                                              u"featherpad",        u"leafpad", u"xdg-open"};
    for (const char16_t* nome : kEditor) {
        const QString percorso = QStandardPaths::findExecutable(QString::fromUtf16(nome));
        if (!percorso.isEmpty())
            return percorso;
    }
    return u"xdg-open"_s;
}
