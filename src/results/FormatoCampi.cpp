#include "results/FormatoCampi.h"

#include "core/Valori.h"

#include <QDate>

#include <cmath>
#include <cstdint>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::int64_t kUltimoGiorno = 2'958'465; // 31/12/9999, the last day a date field holds

void AccodaTesto(QString& riga, const QVariant& valore)
{
    if (valore.isNull())
        return;
    const QString testo = valore.toString();
    if (testo.isEmpty() || testo.front() == QChar(u'\0'))
        return;
    const QStringView dentro = TogliSpazi(QStringView(testo));
    if (!dentro.contains(u'\n')) {
        riga += dentro;
        return;
    }
    for (const QChar c : dentro) {
        if (c != u'\n')
            riga += c;
    }
}

int Cifre(QStringView testo, qsizetype da, qsizetype quante)
{
    int numero = 0;
    for (qsizetype i = da; i < da + quante; ++i) {
        const char16_t c = testo[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        numero = numero * 10 + (c - u'0');
    }
    return numero;
}

// The stored form "YYYY-MM-DD HH:MM:SS" (time optional) as a date serial, read by hand: every row
// has three of them.
std::optional<double> SerialeMemorizzato(QStringView testo)
{
    if (testo.size() < 10 || testo[4] != u'-' || testo[7] != u'-')
        return std::nullopt;
    const int anno = Cifre(testo, 0, 4);
    const QDate data(anno, Cifre(testo, 5, 2), Cifre(testo, 8, 2));
    if (anno < 0 || !data.isValid())
        return std::nullopt;
    int secondi = 0;
    if (testo.size() > 10) {
        if (testo.size() < 16 || (testo[10] != u' ' && testo[10] != u'T') || testo[13] != u':')
            return std::nullopt;
        const int ore = Cifre(testo, 11, 2);
        const int minuti = Cifre(testo, 14, 2);
        const int sec = testo.size() >= 19 && testo[16] == u':' ? Cifre(testo, 17, 2) : 0;
        if (ore < 0 || ore > 23 || minuti < 0 || minuti > 59 || sec < 0 || sec > 59)
            return std::nullopt;
        secondi = ore * 3600 + minuti * 60 + sec;
    }
    return double(OrigineSeriale().daysTo(data)) + secondi / 86400.0;
}

void AccodaCifre(QString& riga, int numero, int cifre)
{
    char cifra[12];
    int n = 0;
    do {
        cifra[n++] = char('0' + numero % 10);
        numero /= 10;
    } while (numero > 0 && n < 12);
    while (n < cifre)
        cifra[n++] = '0';
    while (n > 0)
        riga += QLatin1Char(cifra[--n]);
}

void AccodaData(QString& riga, const QVariant& valore)
{
    std::optional<double> seriale;
    if (valore.typeId() == QMetaType::QString)
        seriale = SerialeMemorizzato(valore.toString());
    const std::int64_t giorno = ArrotondaPari(seriale ? *seriale : ValNum(valore));
    if (giorno < 1 || giorno > kUltimoGiorno)
        return;
    int anno = 0;
    int mese = 0;
    int giornoDelMese = 0;
    OrigineSeriale().addDays(giorno).getDate(&anno, &mese, &giornoDelMese);
    AccodaCifre(riga, giornoDelMese, 2);
    riga += u'/';
    AccodaCifre(riga, mese, 2);
    riga += u'/';
    AccodaCifre(riga, anno, 4);
}

void AccodaNumero(QString& riga, const QVariant& valore)
{
    const double numero = ValNum(valore);
    if (numero == std::trunc(numero) && std::abs(numero) < 1e15)
        riga += QString::number(qint64(numero));
    else
        riga += TestoNumero(numero);
}

} // namespace

// A column's kind by its declared type, as SQLite reads declared types. The driver reports dates as
// text, so the table's declaration is what tells them apart.
TipoCampo TipoDichiarato(const QString& dichiarato)
{
    const QString tipo = dichiarato.toUpper();
    if (tipo.startsWith(u"DATE"_s))
        return TipoCampo::Data;
    if (tipo.contains(u"CHAR"_s) || tipo.contains(u"CLOB"_s) || tipo.contains(u"TEXT"_s))
        return TipoCampo::Testo;
    return TipoCampo::Numero;
}

void AccodaCampo(QString& riga, const QVariant& valore, TipoCampo tipo)
{
    switch (tipo) {
    case TipoCampo::Testo:
        AccodaTesto(riga, valore);
        break;
    case TipoCampo::Data:
        AccodaData(riga, valore);
        break;
    case TipoCampo::Numero:
        AccodaNumero(riga, valore);
        break;
    }
}
