#include "core/Valori.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

bool Vuoto(const QString& testo)
{
    for (const QChar c : testo) {
        if (c != u' ')
            return false;
    }
    return true;
}

// Two-digit years fall in 1930..2029, as on the systems the program's files come from.
int AnnoCompleto(int anno, qsizetype cifre)
{
    if (cifre > 2)
        return anno;
    return anno < 30 ? 2000 + anno : 1900 + anno;
}

// An optional sign, digits and at most one decimal separator of the locale, spaces at both ends;
// anything else (exponents, group separators, inner spaces) gives 0.
double NumeroDaTesto(const QString& testo)
{
    // Built again only when the locale's separator changes: ValNum runs once per cell of a table.
    thread_local QString separatoreNoto;
    thread_local QRegularExpression numero;
    const QString separatore = QLocale().decimalPoint();
    if (numero.pattern().isEmpty() || separatore != separatoreNoto) {
        const QString decimale = QRegularExpression::escape(separatore);
        numero.setPattern(u"^[+-]?(?:[0-9]+(?:%1[0-9]*)?|%1[0-9]+)$"_s.arg(decimale));
        separatoreNoto = separatore;
    }
    QString cifre = TogliSpazi(testo);
    if (!numero.match(cifre).hasMatch())
        return 0;
    bool ok = false;
    const double n = cifre.replace(separatore, u"."_s).toDouble(&ok);
    return ok && std::isfinite(n) ? n : 0;
}

bool Nullo(const QVariant& valore)
{
    return !valore.isValid() || valore.isNull();
}

} // namespace

std::optional<QDateTime> DataGiornoMeseAnno(const QString& testo)
{
    static const QRegularExpression kData(
        uR"(^\s*(\d{1,2})/(\d{1,2})/(\d{1,4})(?:\s+(\d{1,2})[:.](\d{1,2})(?:[:.](\d{1,2}))?)?\s*$)"_s);
    const auto m = kData.match(testo);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate data(AnnoCompleto(m.captured(3).toInt(), m.capturedLength(3)), m.captured(2).toInt(),
                     m.captured(1).toInt());
    const QTime ora = m.hasCaptured(4) ? QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                                               m.hasCaptured(6) ? m.captured(6).toInt() : 0)
                                       : QTime(0, 0);
    if (!data.isValid() || !ora.isValid())
        return std::nullopt;
    return QDateTime(data, ora);
}

QDate OrigineSeriale()
{
    return QDate(1899, 12, 30);
}

QDateTime MomentoDaSeriale(double seriale)
{
    const double giorni = std::floor(seriale);
    const int ms = int(std::lround((seriale - giorni) * 86'400'000.0) % 86'400'000);
    return QDateTime(OrigineSeriale().addDays(qint64(giorni)), QTime::fromMSecsSinceStartOfDay(ms));
}

double SerialeData(const QDateTime& momento)
{
    const double giorni = double(OrigineSeriale().daysTo(momento.date()));
    return giorni + momento.time().msecsSinceStartOfDay() / 86'400'000.0;
}

double ValNum(const QVariant& valore)
{
    if (Nullo(valore))
        return 0;
    switch (valore.typeId()) {
    case QMetaType::QDateTime:
        return SerialeData(valore.toDateTime());
    case QMetaType::QDate:
        return SerialeData(valore.toDate().startOfDay());
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return valore.toDouble();
    default:
        break;
    }

    const QString testo = valore.toString();
    if (testo.count(u'/') >= 2) {
        const std::optional<QDateTime> data = DataGiornoMeseAnno(testo);
        return data ? SerialeData(*data) : 0;
    }
    return NumeroDaTesto(testo);
}

QString ValTesto(const QVariant& valore, const QString& predefinito)
{
    const QString ripiego = Vuoto(predefinito) ? u" "_s : predefinito;
    if (Nullo(valore))
        return ripiego;

    QString testo;
    switch (valore.typeId()) {
    case QMetaType::QDateTime:
        testo = valore.toDateTime().toString(u"dd/MM/yyyy HH:mm:ss"_s);
        break;
    case QMetaType::QDate:
        testo = valore.toDate().toString(u"dd/MM/yyyy"_s);
        break;
    case QMetaType::Float:
    case QMetaType::Double:
        testo = TestoNumero(valore.toDouble());
        break;
    default:
        testo = valore.toString();
    }
    if (Vuoto(testo) || testo.front() == QChar(u'\0'))
        return ripiego;
    return testo;
}

QStringView TogliSpazi(QStringView testo)
{
    qsizetype inizio = 0;
    qsizetype fine = testo.size();
    while (inizio < fine && testo[inizio] == u' ')
        ++inizio;
    while (fine > inizio && testo[fine - 1] == u' ')
        --fine;
    return testo.sliced(inizio, fine - inizio);
}

QString TogliSpazi(const QString& testo)
{
    return TogliSpazi(QStringView(testo)).toString();
}

QString TestoNumero(double numero)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(numero, 'g', 15);
}

std::int64_t ArrotondaPari(double numero)
{
    if (std::isnan(numero))
        return 0;
    const double sotto = std::floor(numero);
    const double resto = numero - sotto;
    double risultato = sotto;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(sotto, 2.0) != 0.0))
        risultato = sotto + 1;
    constexpr double kMassimo = 9.2e18;
    if (!(risultato > -kMassimo))
        return std::numeric_limits<std::int64_t>::min();
    if (!(risultato < kMassimo))
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(risultato);
}

std::int16_t InteroCorto(double numero)
{
    const std::int64_t n = ArrotondaPari(numero);
    if (n < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (n > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(n);
}
