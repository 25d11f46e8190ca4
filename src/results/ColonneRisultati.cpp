#include "results/ColonneRisultati.h"

using namespace Qt::Literals::StringLiterals;

const ColonneGriglia& ColonneRisultati()
{
    static const ColonneGriglia colonne{{u"N."_s, u"Nazione"_s, true, true, 450},
                                        {u"VAT"_s, u"VAT"_s, true, true, 1700},
                                        {u"VALIDITA'"_s, u"Esito"_s, true, true, 2200},
                                        {u"DENOMINAZIONE"_s, u"Denominazione"_s, true, true, 3800},
                                        {u"INDIRIZZO"_s, u"Indirizzo"_s, true, true, 3800},
                                        {u"INIZIO"_s, u"Inizio"_s, true, true, 1200},
                                        {u"TERMINE"_s, u"Fine"_s, true, true, 1200},
                                        {u"ES."_s, u"OK"_s, true, true, 450},
                                        {u"DATA RICH."_s, u"DataRichiesta"_s, true, true, 2200},
                                        {u"CONSULTAZIONE"_s, u"Consultazione"_s, false, true, 2400}};
    return colonne;
}
