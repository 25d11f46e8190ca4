#include "programs/ModuliOpzionali.h"

#include "core/ChiaviIni.h"
#include "core/Dialoghi.h"
#include "core/DocumentoIni.h"
#include "core/Impostazioni.h"
#include "programs/RisolviProgramma.h"
#include "programs/ServiziSistema.h"
#include "session/Sessione.h"

#include <QUrl>

using namespace Qt::Literals::StringLiterals;

ModuliOpzionali::ModuliOpzionali(const Impostazioni& impostazioni, const QString& cartella)
    : m_impostazioni(impostazioni), m_cartella(cartella)
{}

void ModuliOpzionali::attivaProcedura()
{
    QString programma = m_impostazioni.Leggi(Chiavi::Applicativo(m_chiave));
    // A text as long as the reader keeps may have lost its end: never start it cut.
    if (programma.size() >= kLunghezzaMassimaValore) {
        MsgBox(m_chiave + u" troppo lungo su "_s + m_impostazioni.File());
        return;
    }
    const QString nelProgramma = m_cartella + u'/' + m_chiave;
    if (programma.isEmpty())
        programma = nelProgramma;
    if (IndirizzoWebOPosta(programma)) {
        if (programma.startsWith(u"www"_s))
            programma = u"http://"_s + programma;
        ApriIndirizzo(QUrl::fromUserInput(programma)); // a failure is the system's to report
        return;
    }
    for (const QString& candidato : {programma, nelProgramma, m_chiave}) {
        if (const std::optional<ComandoProgramma> comando = RisolviProgramma(candidato)) {
            lanciaProcedura(candidato, *comando);
            return;
        }
    }
    MsgBox(m_chiave + u" non presente su "_s + m_impostazioni.File());
}

void ModuliOpzionali::lanciaProcedura(const QString& programma, const ComandoProgramma& comando)
{
    if (!AvviaProgramma(comando, m_argModulo))
        MsgBox(programma + u" non trovato"_s);
    m_argModulo.clear();
}

void LanciaModulo(const Sessione& sessione, const QString& chiave, const QString& argomento)
{
    ModuliOpzionali modulo(sessione.impostazioni, sessione.cartella);
    modulo.nomeProceduraChiamata(chiave);
    modulo.argModulo(argomento);
    modulo.attivaProcedura();
}
