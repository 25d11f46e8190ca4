#include "web/LetturaVies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

// The service writes "---" where it has nothing to say.
QString Testo(const QJsonObject& o, const QString& chiave)
{
    const QString testo = o.value(chiave).toString().trimmed();
    return testo == u"---"_s ? QString() : testo;
}

QString Indirizzo(const QString& testo)
{
    QStringList righe;
    for (const QString& riga : testo.split(u'\n')) {
        if (!riga.trimmed().isEmpty())
            righe << riga.trimmed();
    }
    return righe.join(u", "_s);
}

// "2026-12-05T10:31:00.000Z" read as the day it names.
QString Data(const QString& testo)
{
    const QStringList parti = testo.left(10).split(u'-');
    if (parti.size() != 3)
        return {};
    return parti[2] + u'/' + parti[1] + u'/' + parti[0];
}

} // namespace

LetturaVies LeggiRispostaVies(const QByteArray& corpo)
{
    LetturaVies v;
    const QJsonDocument documento = QJsonDocument::fromJson(corpo);
    if (!documento.isObject()) {
        v.errore = u"RISPOSTA_NON_LEGGIBILE"_s;
        return v;
    }
    const QJsonObject o = documento.object();
    const QJsonArray involucri = o.value(u"errorWrappers"_s).toArray();
    const QString codice = involucri.isEmpty() ? o.value(u"userError"_s).toString()
                                               : involucri.first().toObject().value(u"error"_s).toString();
    const bool risposta =
        involucri.isEmpty() && o.value(u"isValid"_s).isBool() &&
        (codice.isEmpty() || codice == u"VALID"_s || codice == u"INVALID"_s || codice == u"INVALID_INPUT"_s);
    if (!risposta) {
        v.errore = codice.isEmpty() ? u"RISPOSTA_NON_LEGGIBILE"_s : codice;
        v.riprovare = v.errore.endsWith(u"MAX_CONCURRENT_REQ"_s);
        return v;
    }
    const bool valido = o.value(u"isValid"_s).toBool();

    LetturaPagina& l = v.lettura;
    if (!valido) {
        l.titoli[2] = u"*** No, numero IVA non valido"_s;
        return v;
    }
    l.risultato = true;
    const QStringList titoli{u"Esito:"_s,    u"Numero partita IVA"_s,      u"Denominazione"_s,
                             u"Indirizzo"_s, u"Data di inizio attività"_s, u"Data di fine attività"_s,
                             QString()};
    for (int j = 1; j <= 7; ++j)
        l.titoli[j] = titoli[j - 1];
    v.consultazione = Testo(o, u"requestIdentifier"_s);
    l.esiti[1] = u"Sì, numero IVA valido"_s;
    l.esiti[2] = Testo(o, u"countryCode"_s) + u' ' + Testo(o, u"vatNumber"_s);
    l.esiti[3] = Testo(o, u"name"_s);
    l.esiti[4] = Indirizzo(Testo(o, u"address"_s));
    l.esiti[5] = QString(u""_s);
    l.esiti[6] = QString(u""_s);
    l.esiti[7] =
        v.consultazione.isEmpty() ? QString(u""_s) : u"Numero di consultazione: "_s + v.consultazione;
    l.esiti[8] = Data(Testo(o, u"requestDate"_s));
    return v;
}

QString TestoNonDisponibile(const QString& codice)
{
    return u"# Servizio VIES non disponibile: "_s + codice + u" #"_s;
}
