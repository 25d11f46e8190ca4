#include "core/Dialoghi.h"

#include <QList>

#include <cstdio>

namespace {

std::unique_ptr<Dialoghi>& Installati()
{
    static std::unique_ptr<Dialoghi> dialoghi = std::make_unique<DialoghiRigaComando>();
    return dialoghi;
}

} // namespace

Dialoghi& DialoghiCorrenti()
{
    return *Installati();
}

void ImpostaDialoghi(std::unique_ptr<Dialoghi> dialoghi)
{
    Installati() = dialoghi ? std::move(dialoghi) : std::make_unique<DialoghiRigaComando>();
}

QList<Risposta> RisposteDi(Pulsanti pulsanti)
{
    switch (pulsanti) {
    case Pulsanti::Ok:
        return {Risposta::Ok};
    case Pulsanti::OkAnnulla:
        return {Risposta::Ok, Risposta::Annulla};
    case Pulsanti::InterrompiRiprovaIgnora:
        return {Risposta::Interrompi, Risposta::Riprova, Risposta::Ignora};
    case Pulsanti::SiNoAnnulla:
        return {Risposta::Si, Risposta::No, Risposta::Annulla};
    case Pulsanti::SiNo:
        return {Risposta::Si, Risposta::No};
    case Pulsanti::RiprovaAnnulla:
        return {Risposta::Riprova, Risposta::Annulla};
    }
    return {Risposta::Ok};
}

Risposta MsgBox(const QString& testo, Pulsanti pulsanti, Icona icona, const QString& titolo,
                Risposta predefinita)
{
    const QList<Risposta> ammesse = RisposteDi(pulsanti);
    if (!ammesse.contains(predefinita))
        predefinita = ammesse.first();
    return DialoghiCorrenti().Mostra(Messaggio{testo, titolo, icona, pulsanti, predefinita});
}

Risposta DialoghiRigaComando::Mostra(const Messaggio& messaggio)
{
    const QByteArray riga = (messaggio.titolo + QStringLiteral(": ") + messaggio.testo).toLocal8Bit();
    std::fprintf(stderr, "%s\n", riga.constData());
    std::fflush(stderr);
    switch (messaggio.pulsanti) {
    case Pulsanti::RiprovaAnnulla:
        return Risposta::Annulla;
    case Pulsanti::InterrompiRiprovaIgnora:
        return Risposta::Interrompi;
    default:
        return messaggio.predefinita;
    }
}

QString DialoghiRigaComando::ScegliCartella(const QString&, const QString&)
{
    return {};
}

QString DialoghiRigaComando::ScegliFile(const QString&, const QString&, const QString&)
{
    return {};
}

QString DialoghiRigaComando::ScegliProgramma(const QString&, const QString&)
{
    return {};
}

SceltaStampante DialoghiRigaComando::ScegliStampante(const SceltaStampante&)
{
    return {};
}

std::optional<ColoreRgb> DialoghiRigaComando::ScegliColore(ColoriPersonalizzati&)
{
    return std::nullopt;
}
