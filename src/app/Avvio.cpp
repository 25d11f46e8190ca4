#include "app/Avvio.h"

#include "app/Globali.h"
#include "core/CartellaProgramma.h"
#include "core/FileIni.h"
#include "core/Valori.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

QString Indicizzata(const QString& chiave, int indice)
{
    return chiave + QString::number(indice);
}

} // namespace

void ImpostaPercorsi()
{
    const QString cartella = CartellaProgramma();
    const QString base = QString::fromUtf16(kNomeBaseProgramma);
    gFileDb = cartella + u'/' + base + u".db"_s;
    gDirTemp = cartella + u"/TempFile/"_s;
    QDir().mkpath(gDirTemp); // a failure shows later, in whatever needs the folder
    gIndice = 0;
    gMessaggio.clear();
    gStileModulo = 1;
    QDir::setCurrent(cartella);
    gFileIni = cartella + u'/' + base + u".ini"_s;
}

void CaricaParametriWeb()
{
    const QString s = u"WEBPARAM"_s;
    ParametriWeb& p = gParametriWeb;
    for (int k = 0; k < 3; ++k) {
        p.View[k] = InteroCorto(ValNum(LeggiIni(gFileIni, s, Indicizzata(u"View"_s, k))));
        p.Print[k] = InteroCorto(ValNum(LeggiIni(gFileIni, s, Indicizzata(u"Print"_s, k))));
        p.ChPrt[k] = InteroCorto(ValNum(LeggiIni(gFileIni, s, Indicizzata(u"ChPrt"_s, k))));
        p.Save[k] = InteroCorto(ValNum(LeggiIni(gFileIni, s, Indicizzata(u"Save"_s, k))));
        p.Stampante[k] = LeggiIni(gFileIni, s, Indicizzata(u"Stampante"_s, k));
        p.DirSave[k] = LeggiIni(gFileIni, s, Indicizzata(u"DirSave"_s, k));
    }
    p.IESkede = InteroCorto(ValNum(LeggiIni(gFileIni, s, u"IESkede"_s)));
}

void CaricaColori()
{
    constexpr std::array<std::uint32_t, 3> kPredefiniti = {15400938, 13684991, 12582399};
    for (int i = 0; i < 3; ++i) {
        const double numero = ValNum(LeggiIni(gFileIni, u"COLORIGRID"_s, Indicizzata(u"COLORE"_s, i)));
        const std::int64_t colore = ArrotondaPari(numero);
        // Only the three colour bytes make a colour; anything else is as good as missing.
        gColori[i] = colore > 0 && colore <= 0xFFFFFF ? std::uint32_t(colore) : kPredefiniti[i];
    }
}

VociApplicativi CaricaApplicativi()
{
    const QString s = u"APPLICATIVI"_s;
    if (LeggiIni(gFileIni, s, u"NomeVarie1"_s).isEmpty())
        ScriviIni(gFileIni, s, u"NomeVarie1"_s, u"Editor di testi"_s);
    if (LeggiIni(gFileIni, s, u"Varie1"_s).isEmpty())
        ScriviIni(gFileIni, s, u"Varie1"_s, EditorDiTesti());

    VociApplicativi voci;
    gPathExcel.clear();
    for (int i = 1; i <= kNumeroApplicativi; ++i) {
        VoceApplicativo& v = voci[i];
        v.nome = LeggiIni(gFileIni, s, Indicizzata(u"NomeVarie"_s, i));
        v.programma = LeggiIni(gFileIni, s, Indicizzata(u"Varie"_s, i));
        if (i == 1) {
            // Still usable when the settings file cannot be written.
            if (v.nome.isEmpty())
                v.nome = u"Editor di Testi"_s;
            if (v.programma.isEmpty())
                v.programma = CartellaProgramma();
        }
        v.visibile = !v.nome.isEmpty() && !v.programma.isEmpty();
        if (v.visibile && v.programma.right(9).toUpper() == u"EXCEL.EXE"_s)
            gPathExcel = v.programma;
    }
    return voci;
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
