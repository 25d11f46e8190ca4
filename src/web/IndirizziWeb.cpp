#include "web/IndirizziWeb.h"

#include "core/ChiaviIni.h"
#include "core/Impostazioni.h"

#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

// Letters and digits as they are, anything else (non-ASCII letters too) as %XX of its UTF-8 bytes.
QString Codifica(const QString& testo)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(testo, {}, "-._~"));
}

} // namespace

IndirizziWeb IndirizziWeb::Leggi(const Impostazioni& impostazioni)
{
    const auto leggi = [&](const QString& chiave, const QString& predefinito) {
        const QString valore = impostazioni.Leggi(Chiavi::IndirizzoWeb(chiave));
        return valore.isEmpty() ? predefinito : valore;
    };
    IndirizziWeb w;
    w.Export = leggi(u"EXPORT"_s, u"http://www.adm.gov.it/ed/servizi/esportazione/export.htm?mrn="_s);
    w.Transiti =
        leggi(u"TRANSITI"_s, u"http://www.adm.gov.it/ed/servizi/ecustoms/transito/mrn/transito.htm?mrn="_s);
    w.Vat = leggi(u"VAT"_s, u"http://www1.agenziaentrate.gov.it/servizi/vies/vies.htm?act=piva&stato="_s);
    w.VatPiva = leggi(u"VATPIVA"_s, u"&piva="_s);
    w.VatRest = leggi(u"VIESREST"_s, u"https://ec.europa.eu/taxation_customs/vies/rest-api/ms/"_s);
    w.fonte = LeggiFonte(impostazioni.Leggi(Chiavi::IndirizzoWeb(u"FONTEVAT"_s)));
    w.Richiedente = impostazioni.Leggi(Chiavi::IndirizzoWeb(u"RICHIEDENTE"_s)).remove(u' ').toUpper();
    return w;
}

QString NomeFonte(FonteVat fonte)
{
    return fonte == FonteVat::Vies ? u"servizio VIES della Commissione europea"_s
                                   : u"pagina dell'Agenzia delle Entrate"_s;
}

FonteVat LeggiFonte(const QString& testo)
{
    return testo.trimmed().compare(u"VIES"_s, Qt::CaseInsensitive) == 0 ? FonteVat::Vies : FonteVat::Pagina;
}

QString IndirizziWeb::IndirizzoVies(const QString& codice) const
{
    QString indirizzo = VatRest + Codifica(codice.left(2)) + u"/vat/"_s + Codifica(codice.mid(2));
    if (Richiedente.size() > 2)
        indirizzo += u"?requesterMemberStateCode="_s + Codifica(Richiedente.left(2)) +
                     u"&requesterNumber="_s + Codifica(Richiedente.mid(2));
    return indirizzo;
}

QString IndirizziWeb::IndirizzoVat(const QString& codice) const
{
    return Vat + Codifica(codice.left(2)) + VatPiva + Codifica(codice.mid(2));
}

QString IndirizziWeb::IndirizzoExport(const QString& mrn) const
{
    return Export + Codifica(mrn);
}

QString IndirizziWeb::IndirizzoTransiti(const QString& mrn) const
{
    return Transiti + Codifica(mrn);
}

void PulisciCacheMrn(const QString& /*numero*/)
{
    // Nothing to delete: the HTTP client keeps no disk cache and there is no shared web cache.
}
