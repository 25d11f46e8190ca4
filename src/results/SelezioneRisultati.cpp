#include "results/SelezioneRisultati.h"

#include "core/Database.h"
#include "core/Valori.h"
#include "results/ColonneRisultati.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A unary + keeps SQLite from choosing an index for the term.
QString Termine(const QString& campo, const QString& resto, bool lungoIndice)
{
    return (lungoIndice ? u"+"_s : QString()) + campo + resto;
}

} // namespace

QString SelezioneRisultati::SqlFiltro() const
{
    QString sql = u"Select * FROM "_s + tabella;
    QString giunzione = u" WHERE "_s;
    if (filtri.stato > 0) {
        sql += giunzione + u"OK = "_s + QString::number(filtri.stato - 1);
        giunzione = u" AND "_s;
    }
    if (!filtri.nazione.isEmpty()) {
        sql += giunzione + u"Nazione = '"_s + filtri.nazione + u'\'';
        giunzione = u" AND "_s;
    }
    if (filtri.data == FiltroData::PrimaDel)
        sql += giunzione + u"DataRichiesta <= "_s + QString::number(filtri.giorno);
    else if (filtri.data == FiltroData::Dal)
        sql += giunzione + u"DataRichiesta >= "_s + QString::number(filtri.giorno);
    return sql;
}

QString SelezioneRisultati::SorgenteRecord() const
{
    QString sql =
        SqlFiltro() + u" ORDER BY "_s + CampoOrdine() + (ordine.discendente ? u" DESC"_s : u" ASC"_s);
    if (ordine.colonna > kColVat)
        sql += u", Nazione, VAT"_s;
    return sql;
}

Condizioni SelezioneRisultati::Filtri(bool lungoIndice) const
{
    Condizioni c;
    if (filtri.stato > 0) {
        c.termini << Termine(u"OK"_s, u" = ?"_s, lungoIndice);
        c.valori << filtri.stato - 1;
    }
    if (!filtri.nazione.isEmpty()) {
        c.termini << Termine(u"Nazione"_s, u" = ?"_s, lungoIndice);
        c.valori << filtri.nazione;
    }
    if (filtri.data == FiltroData::PrimaDel) {
        // The zero date, stored as NULL, comes before every day.
        c.termini << u"("_s + Termine(u"DataRichiesta"_s, u" <= ? OR "_s, lungoIndice) +
                         Termine(u"DataRichiesta"_s, u" IS NULL)"_s, lungoIndice);
        c.valori << InizioGiornoMemorizzato(filtri.giorno);
    } else if (filtri.data == FiltroData::Dal) {
        c.termini << Termine(u"DataRichiesta"_s, u" >= ?"_s, lungoIndice);
        c.valori << InizioGiornoMemorizzato(filtri.giorno);
    }
    return c;
}

QString SelezioneRisultati::CampoOrdine() const
{
    const ColonneGriglia& colonne = ColonneRisultati();
    return colonne.value(ordine.colonna, colonne.first()).campo;
}

Interrogazione SelezioneRisultati::Righe() const
{
    const Condizioni filtro = Filtri(false);
    QString sql = u"SELECT * FROM "_s + tabella;
    if (!filtro.termini.isEmpty())
        sql += u" WHERE "_s + filtro.termini.join(u" AND "_s);
    // Ties in ascending order whichever way the sort goes, as the grid shows them.
    QStringList chiave = ChiaveOrdine(CampoOrdine());
    if (ordine.discendente)
        chiave.first() += u" DESC"_s;
    return {sql + u" ORDER BY "_s + chiave.join(u", "_s), filtro.valori};
}

qint64 NumeroGiorno(const QDateTime& momento)
{
    return ArrotondaPari(SerialeData(momento));
}

QString InizioGiornoMemorizzato(qint64 giorno)
{
    return OrigineSeriale().addDays(giorno).toString(u"yyyy-MM-dd"_s) + u" 00:00:00"_s;
}
