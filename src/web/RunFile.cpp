#include "web/RunFile.h"

#include "core/Dialoghi.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

QString TestoErrore(int codice)
{
    switch (codice) {
    case 0:
        return u"Memoria o risorse del sistema esaurite. "_s;
    case 2:
        return u"Impossibile trovare il file. "_s;
    case 3:
        return u"Impossibile trovare la cartella. "_s;
    case 11:
        return u"Il formato del file non è valido. "_s;
    case 31:
        return u"Il sistema in uso non presenta alcuna associazione per questo tipo di file. \n\n"
               u"Installare un'applicazione appropriata oppure creare un'associazione. \n"
               u"Per creare un'associazione, selezionare il file sottoindicato. Tenendo \n"
               u"premuto il tasto Shift, cliccare col pulsante destro del mouse sul file. \n"
               u"Selezionare la voce \"Apri con...\" e spuntare la casella \"Utilizza \n"
               u"sempre...\". Selezionare l'applicazione appropriata e scegliere [Ok]. "_s;
    default:
        return {};
    }
}

int CodiceApertura(const QString& file, const QString& cartella)
{
    if (!cartella.trimmed().isEmpty() && !QFileInfo(cartella.trimmed()).isDir())
        return 3;
    const QFileInfo info(QDir(cartella.trimmed()).filePath(file.trimmed()));
    if (!info.dir().exists())
        return 3;
    if (!info.exists())
        return 2;
    return ApriConSistema(QUrl::fromLocalFile(info.absoluteFilePath()));
}

} // namespace

int ApriConSistema(const QUrl& indirizzo)
{
    return QDesktopServices::openUrl(indirizzo) ? kAperturaRiuscita : 31;
}

int RunFile(const QString& file, const QString& parametri, const QString& cartella)
{
    const int codice = CodiceApertura(file, cartella);
    const QString testo = codice < 32 ? TestoErrore(codice) : QString();
    if (testo.isEmpty())
        return codice;

    QString messaggio = testo + u"\n\nPercorso: '"_s + file.trimmed() + u"'\n"_s;
    if (!cartella.trimmed().isEmpty())
        messaggio += u"Cartella: '"_s + cartella.trimmed() + u"'\n"_s;
    if (!parametri.trimmed().isEmpty())
        messaggio += u"Parametri: '"_s + parametri.trimmed() + u"'"_s;
    MsgBox(messaggio, Pulsanti::Ok, Icona::Critica, u"RunFile: Errore di esecuzione"_s);
    return codice;
}
