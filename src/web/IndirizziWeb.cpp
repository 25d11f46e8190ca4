#include "web/IndirizziWeb.h"

#include "app/Globali.h"
#include "core/FileIni.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString Leggi(const QString& chiave, const QString& predefinito)
{
    const QString valore = LeggiIni(gFileIni, u"INDIRIZZIWEB"_s, chiave);
    return valore.isEmpty() ? predefinito : valore;
}

} // namespace

void LeggiIndirizziWeb()
{
    IndirizziWeb& w = gIndirizziWeb;
    w.Export = Leggi(u"EXPORT"_s, u"http://www.adm.gov.it/ed/servizi/esportazione/export.htm?mrn="_s);
    w.Transiti =
        Leggi(u"TRANSITI"_s, u"http://www.adm.gov.it/ed/servizi/ecustoms/transito/mrn/transito.htm?mrn="_s);
    w.Vat = Leggi(u"VAT"_s, u"http://www1.agenziaentrate.gov.it/servizi/vies/vies.htm?act=piva&stato="_s);
    w.VatPiva = Leggi(u"VATPIVA"_s, u"&piva="_s);
}

QString IndirizzoVat(const QString& codice)
{
    return gIndirizziWeb.Vat + codice.left(2) + gIndirizziWeb.VatPiva + codice.mid(2);
}

QString IndirizzoExport(const QString& mrn)
{
    return gIndirizziWeb.Export + mrn;
}

QString IndirizzoTransiti(const QString& mrn)
{
    return gIndirizziWeb.Transiti + mrn;
}

void PulisciCacheMrn(const QString& /*numero*/)
{
    // Nothing to delete: the HTTP client keeps no disk cache and there is no shared web cache.
}
