#pragma once
// Conversions of values read from the settings file or from database fields.

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

// Null, blank or non-numeric gives 0; a text with two "/" is a day/month/year date (with an
// optional time) and gives its date serial; otherwise a text of an optional sign, digits and the
// locale's decimal separator, with spaces at both ends, gives its number. Numbers and dates (database
// fields) convert directly.
double ValNum(const QVariant& valore);

// A day/month/year text, with an optional time ("05/12/2026", "5/12/26 10:30"), whatever the locale;
// nothing when it is not a valid date.
std::optional<QDateTime> DataGiornoMeseAnno(const QString& testo);

// The value's text, untrimmed; null, blank or starting with NUL gives `predefinito`, which is a
// single space when not given or blank.
QString ValTesto(const QVariant& valore, const QString& predefinito = QString());

// The text without the spaces at both ends; other blanks (TAB, line ends) stay.
QString TogliSpazi(const QString& testo);
QStringView TogliSpazi(QStringView testo);

// A number as the settings file holds it: the locale's decimal separator, no group separator.
QString TestoNumero(double numero);

// Day 0 of date serials: 30 December 1899.
QDate OrigineSeriale();
// Days since 30 December 1899, the time of day as the fraction.
double SerialeData(const QDateTime& momento);
// The moment a date serial stands for, to the millisecond.
QDateTime MomentoDaSeriale(double seriale);

// Nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
std::int64_t ArrotondaPari(double numero);

// A number rounded as above and held in 16 bits; values outside the range are clamped to it.
std::int16_t InteroCorto(double numero);
