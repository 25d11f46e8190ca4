#include "web/PdfCreator.h"

#include "core/Attese.h"
#include "core/ChiaviIni.h"
#include "core/Dialoghi.h"
#include "core/Impostazioni.h"
#include "core/UtilitaFile.h"
#include "core/Valori.h"

#include <QElapsedTimer>

using namespace Qt::Literals::StringLiterals;

QString LeggiPdfCreator(const Impostazioni& impostazioni, const QString& nomeStampante)
{
    if (nomeStampante.toUpper() != u"PDFCREATOR"_s)
        return {};
    const auto valore = [&](const QString& chiave) {
        return impostazioni.Leggi(Chiavi::PdfCreator(chiave)).trimmed();
    };
    if (ValNum(valore(u"UseAutosave"_s)) == 0)
        return {};
    const QString modello = valore(u"AutosaveFilename"_s);
    if (!modello.isEmpty() && modello != u"<Title>"_s) {
        MsgBox(u"NOME DEL SALVATAGGIO AUTOMATICO DIVERSO DA <Title>"_s);
        return {};
    }
    QString cartella = valore(u"AutosaveDirectory"_s);
    if (cartella.endsWith(u'\\') || cartella.endsWith(u'/'))
        cartella.chop(1);
    return cartella;
}

QString NomePdf(const QString& tipo, const QString& numero)
{
    const QString nome = tipo == u"ex"_s || tipo == u"tr"_s ? tipo.toUpper() + u'_' + numero
                                                            : numero.left(2) + u'_' + numero.mid(2);
    return NomeFileSicuro(nome) + u".pdf"_s;
}

QString TitoloStampa(const QString& tipo, const QString& host)
{
    // The names PDFCreator gave these pages when the browser titled them with their address.
    const QString pagina = tipo == u"ex"_s   ? u"_ed_servizi_esportazione_export"_s
                           : tipo == u"tr"_s ? u"_ed_servizi_transito_mrn_transito"_s
                                             : u"_servizi_vies_vies.htm_act=piva&st"_s;
    return NomeFileSicuro(u"http___"_s + host + pagina);
}

void RinominaPdfCreator(const QString& cartella, const QString& tipo, const QString& numero,
                        const QString& host)
{
    const QString origine = cartella + u'/' + TitoloStampa(tipo, host) + u".pdf"_s;
    QElapsedTimer tempo;
    tempo.start();
    for (;;) {
        QString cercato = origine;
        if (FileEsiste(cercato))
            break;
        if (tempo.elapsed() > Attese().pdfMs)
            return;
        Attendi(Attese().passoMs);
    }
    RinominaFile(origine, cartella + u'/' + NomePdf(tipo, numero), 3);
}
