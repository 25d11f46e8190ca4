#include "results/LayoutColonne.h"

#include "core/Database.h"
#include "core/Tabella.h"
#include "core/Valori.h"

#include <QDebug>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTabella = u"LayOutCol"_s;

// Every resize saves: telling it each time would only repeat the same line.
void SegnalaCampiMancanti(const QString& finestra, qsizetype mancanti)
{
    static bool segnalato = false;
    if (segnalato)
        return;
    segnalato = true;
    qWarning().noquote() << u"La tabella %1 non ha campi per %2 colonne della finestra %3: le loro larghezze "
                            u"non sono salvate"_s.arg(kTabella)
                                .arg(mancanti)
                                .arg(finestra);
}

} // namespace

void CaricaLayoutColonne(Database& database, ColonneGriglia& colonne, const QString& finestra)
{
    Tabella tabella(database);
    if (!tabella.Apri(kTabella) || !tabella.Cerca(finestra))
        return;
    for (int i = 0; i < colonne.size() && i + 1 < tabella.NumeroCampi(); ++i) {
        const int larghezza = InteroCorto(ValNum(tabella.Campo(i + 1)));
        if (larghezza > 0 && colonne[i].ridimensionabile)
            colonne[i].larghezza = larghezza;
    }
}

void SalvaLayoutColonne(Database& database, const ColonneGriglia& colonne, const QString& finestra)
{
    Tabella tabella(database);
    if (!tabella.Apri(kTabella))
        return;
    if (tabella.Cerca(finestra))
        tabella.Modifica();
    else
        tabella.AggiungiNuovo();
    tabella.ImpostaCampo(0, finestra);
    const int salvate = qMin(int(colonne.size()), tabella.NumeroCampi() - 1);
    for (int i = 0; i < salvate; ++i)
        tabella.ImpostaCampo(i + 1, int(InteroCorto(colonne[i].larghezza)));
    if (salvate < colonne.size())
        SegnalaCampiMancanti(finestra, colonne.size() - salvate);
    tabella.Aggiorna();
}
