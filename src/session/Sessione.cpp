#include "session/Sessione.h"

#include "core/CartellaProgramma.h"
#include "core/ChiaviIni.h"
#include "core/Valori.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

QString Base()
{
    return QString::fromUtf16(kNomeBaseProgramma);
}

} // namespace

Sessione::Sessione(const QString& cartella_, ModoSessione modo,
                   const std::function<void(Impostazioni&)>& primoAvvio)
    : cartella(QDir::cleanPath(cartella_)), fileIni(cartella + u'/' + Base() + u".ini"_s),
      fileDb(cartella + u'/' + Base() + u".db"_s), dirTemp(cartella + u"/TempFile/"_s),
      impostazioni(fileIni, modo == ModoSessione::Finestre ? Impostazioni::Scrittura::SuFile
                                                           : Impostazioni::Scrittura::SoloMemoria)
{
    QDir().mkpath(dirTemp); // a failure shows later, in whatever needs the folder
    database.Apri(fileDb);
    if (modo == ModoSessione::Finestre)
        QDir::setCurrent(cartella); // a command keeps the folder it was started in, for its paths
    const GruppoScritture gruppo(impostazioni);
    if (primoAvvio && !impostazioni.FileEsiste())
        primoAvvio(impostazioni);
    parametriWeb = ParametriWeb::Leggi(impostazioni);
    nazioni.Carica(impostazioni);
    colori = LeggiColori(impostazioni);
    indirizzi = IndirizziWeb::Leggi(impostazioni);
    client.ImpostaTempoMassimo(ClientHttp::TempoMassimo(impostazioni));
}

Sessione::~Sessione() = default;

ContestoQuery Sessione::Contesto()
{
    return {nazioni, indirizzi, impostazioni, client};
}

PoliticaPagine Sessione::Politica(int uso) const
{
    return {parametriWeb.Opzioni(uso), dirTemp, m_mostra.get()};
}

std::unique_ptr<Sessione> ApriSessione(const QString& cartella, ModoSessione modo,
                                       const std::function<void(Impostazioni&)>& primoAvvio)
{
    return std::make_unique<Sessione>(cartella, modo, primoAvvio);
}

std::array<std::uint32_t, 3> LeggiColori(const Impostazioni& impostazioni)
{
    constexpr std::array<std::uint32_t, 3> kPredefiniti = {15400938, 13684991, 12582399};
    std::array<std::uint32_t, 3> colori{};
    for (int i = 0; i < 3; ++i) {
        const double numero = impostazioni.Numero(Chiavi::Colore(i));
        // Any number but 0 is the user's; it draws with its three colour bytes.
        colori[i] = numero == 0 ? kPredefiniti[i] : std::uint32_t(ArrotondaPari(numero) & 0xFFFFFF);
    }
    return colori;
}
