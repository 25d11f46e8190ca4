#include "programs/Applicativi.h"

#include "core/ChiaviIni.h"
#include "core/DocumentoIni.h"
#include "core/Impostazioni.h"
#include "programs/RisolviProgramma.h"

#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

// The motive when the launch could not read `testo` as a program.
MotivoErrore MotivoProgramma(const QString& testo)
{
    if (RisolviProgramma(testo))
        return MotivoErrore::Nessuno;
    return DividiComando(testo) ? MotivoErrore::PercorsoInesistente : MotivoErrore::VirgoletteAperte;
}

} // namespace

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
        if (!v.visibile)
            continue;
        if (ComandoProgramma foglio = ComandoFoglioDiCalcolo(v.programma); !foglio.Vuoto())
            a.pathExcel = std::move(foglio);
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

ComandoProgramma ComandoFoglioDiCalcolo(const QString& programma)
{
    // The Windows form: a path whose last 9 characters are the program's file name, nothing after.
    if (programma.right(9).toUpper() == u"EXCEL.EXE"_s)
        return RisolviProgramma(programma).value_or(ComandoProgramma{programma, {}});

    std::optional<ComandoProgramma> comando = RisolviProgramma(programma);
    if (!comando) {
        const std::optional<QStringList> parole = DividiComando(programma);
        if (!parole || parole->isEmpty())
            return {};
        comando = ComandoProgramma{parole->first(), parole->mid(1)};
    }
    const QString nome = QFileInfo(comando->programma).fileName();
    if (nome == u"localc"_s || nome == u"gnumeric"_s)
        return *comando;
    if ((nome == u"libreoffice"_s || nome == u"soffice"_s) &&
        (comando->argomenti.isEmpty() || comando->argomenti.contains(u"--calc"_s)))
        return *comando;
    return {};
}

ErroreApplicativo ControllaApplicativo(int indice, const QString& nome, const QString& programma)
{
    const int campoProgramma = indice + kNumeroApplicativi;
    if (!DocumentoIni::ValoreIntegro(nome))
        return {indice, MotivoErrore::TestoNonIntegro};
    if (programma.isEmpty())
        return {};
    if (nome.isEmpty())
        return {indice, MotivoErrore::NomeMancante};
    if (!DocumentoIni::ValoreIntegro(programma))
        return {campoProgramma, MotivoErrore::TestoNonIntegro};

    const QString prima = programma.section(u'"', 0, 0).trimmed();
    if (IndirizzoWebOPosta(prima))
        return {};
    MotivoErrore motivo = MotivoProgramma(prima);
    if (motivo == MotivoErrore::Nessuno && prima != programma) // without quotes it was just checked
        motivo = MotivoProgramma(programma);
    if (motivo == MotivoErrore::Nessuno)
        return {};
    return {campoProgramma, motivo};
}
