#include "web/ParametriWeb.h"

#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"
#include "core/Valori.h"

#include <algorithm>

ParametriWeb ParametriWeb::Leggi(const Impostazioni& impostazioni)
{
    const auto numero = [&](const Chiave& chiave) { return InteroCorto(impostazioni.Numero(chiave)); };
    ParametriWeb p;
    for (int k = 0; k < 3; ++k) {
        p.View[k] = numero(Chiavi::View(k));
        p.Print[k] = numero(Chiavi::Print(k));
        p.ChPrt[k] = numero(Chiavi::ChPrt(k));
        p.Save[k] = numero(Chiavi::Save(k));
        p.Stampante[k] = impostazioni.Leggi(Chiavi::Stampante(k));
        p.DirSave[k] = impostazioni.Leggi(Chiavi::DirSave(k));
    }
    p.IESkede = numero(Chiavi::IESkede());
    return p;
}

void ParametriWeb::Salva(Impostazioni& impostazioni, int uso) const
{
    impostazioni.Scrivi({{Chiavi::IESkede(), QString::number(IESkede)},
                         {Chiavi::View(uso), QString::number(View[uso])},
                         {Chiavi::Save(uso), QString::number(Save[uso])},
                         {Chiavi::DirSave(uso), DirSave[uso]},
                         {Chiavi::Print(uso), QString::number(Print[uso])},
                         {Chiavi::ChPrt(uso), QString::number(ChPrt[uso])},
                         {Chiavi::Stampante(uso), Stampante[uso]}});
}

OpzioniPagina ParametriWeb::Opzioni(int uso) const
{
    const int k = std::clamp(uso, 0, 2);
    return {k, View[k], Print[k], ChPrt[k], Stampante[k], Save[k], DirSave[k], IESkede};
}
