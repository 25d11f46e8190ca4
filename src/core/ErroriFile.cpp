#include "core/ErroriFile.h"

#include "core/Dialoghi.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

using namespace Qt::Literals::StringLiterals;

int NumeroErroreFile(int erroreSistema, const QString& percorso)
{
    switch (erroreSistema) {
    case ENOENT:
        return QFileInfo(percorso).absoluteDir().exists() ? kErrFileNonTrovato : kErrPercorsoInesistente;
    case ENOTDIR:
        return kErrPercorsoInesistente;
    case EACCES:
    case EPERM:
    case EROFS:
        return kErrPermessoNegato;
    case ENOSPC:
    case EDQUOT:
        return kErrDiscoPieno;
    case EIO:
        return kErrIO;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return kErrGiaAperto;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return kErrNomeErrato;
    case ENXIO:
    case ENODEV:
        return kErrDeviceNonDisponibile;
    case ENOMEDIUM:
        return kErrDiscoNonPronto;
    default:
        return kErrAccessoPercorso;
    }
}

int MessaggioErroreFile(int numero, const QString& nomeFile)
{
    const QString unita = nomeFile.left(2);
    QString testo;
    bool riprova = true;
    switch (numero) {
    case kErrNomeErrato:
    case kErrNomeErrato2:
        testo = u"Il nome dell'archivio non è corretto."_s;
        riprova = false;
        break;
    case kErrModoErrato:
        testo = u"L'archivio non si può aprire per quel tipo di accesso."_s;
        riprova = false;
        break;
    case kErrGiaAperto:
        testo = u"L'archivio è già aperto."_s;
        break;
    case kErrIO:
        testo = u"Errore di I/O sul DEVICE del file   "_s + unita;
        break;
    case kErrDiscoPieno:
        testo = u"Non c'è più spazio sul disco   "_s + unita;
        break;
    case kErrFineFile:
        testo = u"L'archivio ha un fine-file non standard,\no è stata fatta una lettura oltre la fine."_s;
        riprova = false;
        break;
    case kErrDeviceNonDisponibile:
        testo = u"Questo device non e' utilizzabile   "_s + unita;
        riprova = false;
        break;
    case kErrDiscoNonPronto:
        testo = u"Il disco non è pronto   "_s + unita;
        break;
    case kErrPercorsoInesistente:
        testo = u"Questo percorso non esiste."_s;
        break;
    default:
        return kRispostaNessunMessaggio;
    }
    const Risposta r = MsgBox(testo, riprova ? Pulsanti::RiprovaAnnulla : Pulsanti::Ok, Icona::Esclamazione,
                              u"Errori su  "_s + nomeFile, riprova ? Risposta::Riprova : Risposta::Ok);
    return r == Risposta::Riprova ? kRispostaRiprova : kRispostaChiuso;
}
