#include "results/TabellaColori.h"

#include "core/Database.h"
#include "core/Dialoghi.h"
#include "core/Tabella.h"
#include "core/Valori.h"

#include <algorithm>
#include <array>
#include <cstdint>

using namespace Qt::Literals::StringLiterals;

namespace {

using BloccoColori = std::array<std::uint8_t, 64>;

BloccoColori LeggiBlocco(Tabella& tabella)
{
    BloccoColori blocco{};
    for (bool riga = tabella.MuoviPrimo(); riga; riga = tabella.MuoviSuccessivo()) {
        const std::int64_t indice = ArrotondaPari(ValNum(tabella.Campo(u"ColInd"_s)));
        if (indice >= 0 && indice < std::int64_t(blocco.size()))
            blocco[indice] = std::uint8_t(
                std::clamp<std::int64_t>(ArrotondaPari(ValNum(tabella.Campo(u"ColRgb"_s))), 0, 255));
    }
    return blocco;
}

void ScriviBlocco(Database& database, Tabella& tabella, const BloccoColori& blocco)
{
    Transazione transazione(database);
    for (int i = 0; i < int(blocco.size()); ++i) {
        if (tabella.Cerca(i)) {
            tabella.Modifica();
        } else {
            tabella.AggiungiNuovo();
            tabella.ImpostaCampo(u"ColInd"_s, i);
        }
        tabella.ImpostaCampo(u"ColRgb"_s, int(blocco[i]));
        if (!tabella.Aggiorna())
            return; // the block is stored whole or not at all
    }
    transazione.Conferma();
}

ColoriPersonalizzati ColoriDelBlocco(const BloccoColori& blocco)
{
    ColoriPersonalizzati colori{};
    for (std::size_t i = 0; i < colori.size(); ++i)
        colori[i] =
            ColoreRgb(blocco[4 * i]) | ColoreRgb(blocco[4 * i + 1]) << 8 | ColoreRgb(blocco[4 * i + 2]) << 16;
    return colori;
}

BloccoColori BloccoDeiColori(const ColoriPersonalizzati& colori)
{
    BloccoColori blocco{};
    for (std::size_t i = 0; i < colori.size(); ++i) {
        blocco[4 * i] = std::uint8_t(colori[i] & 0xFF);
        blocco[4 * i + 1] = std::uint8_t((colori[i] >> 8) & 0xFF);
        blocco[4 * i + 2] = std::uint8_t((colori[i] >> 16) & 0xFF);
    }
    return blocco;
}

} // namespace

bool ApriTabellaColori(Tabella& tabella)
{
    return ApriTabellaConRiprova(tabella, u"Colori"_s, u"Colori Personalizzati"_s,
                                 [](const Tabella& t) -> QString {
                                     QString messaggio = u"ERRORE IN APERTURA TABELLA 'COLORI'\n"_s;
                                     if (!t.CodiceErrore().isEmpty())
                                         messaggio += t.CodiceErrore() + u": "_s;
                                     return messaggio + t.Errore();
                                 });
}

QString ScegliColore(Database& database)
{
    Tabella tabella(database);
    const bool aperta = ApriTabellaColori(tabella);
    ColoriPersonalizzati personalizzati = ColoriDelBlocco(aperta ? LeggiBlocco(tabella) : BloccoColori{});
    const std::optional<ColoreRgb> colore = DialoghiCorrenti().ScegliColore(personalizzati);
    if (!colore)
        return {};
    if (aperta)
        ScriviBlocco(database, tabella, BloccoDeiColori(personalizzati));
    return QString::number(*colore);
}
