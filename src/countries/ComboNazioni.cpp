#include "countries/ComboNazioni.h"

#include "app/Globali.h"

#include <QComboBox>

using namespace Qt::Literals::StringLiterals;

void RiempiComboNazioni(QComboBox* combo)
{
    combo->clear();
    for (qsizetype i = 0; i + 1 < gNazioni.size(); ++i)
        combo->addItem(gNazioni[i].codice + u" - "_s + gNazioni[i].nome);
}
