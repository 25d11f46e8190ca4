#include "countries/ComboNazioni.h"

#include "countries/Nazioni.h"

#include <QComboBox>

using namespace Qt::Literals::StringLiterals;

void RiempiComboNazioni(QComboBox* combo, const Nazioni& nazioni)
{
    combo->clear();
    const QList<RigaNazione>& righe = nazioni.Righe();
    for (qsizetype i = 0; i + 1 < righe.size(); ++i)
        combo->addItem(righe[i].codice + u" - "_s + righe[i].nome);
}
