#include "support/CartellaProva.h"

#include "core/ChiaviIni.h"
#include "support/ServerProva.h"

using namespace Qt::Literals::StringLiterals;

CartellaProva::CartellaProva() : m_ini(m_dir.filePath(u"tarvel.ini"_s)) {}

void CartellaProva::IndirizziVerso(const ServerProva& server, int secondi)
{
    m_ini.Scrivi({{Chiavi::IndirizzoWeb(u"VAT"_s), server.Indirizzo(u"/vies?stato="_s).toString()},
                  {Chiavi::IndirizzoWeb(u"EXPORT"_s), server.Indirizzo(u"/export?mrn="_s).toString()},
                  {Chiavi::IndirizzoWeb(u"TRANSITI"_s), server.Indirizzo(u"/transito?mrn="_s).toString()},
                  {Chiavi::TempoMax(), QString::number(secondi)}});
}
