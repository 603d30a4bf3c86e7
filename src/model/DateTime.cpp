// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/DateTime.h"

#include "platform/KestrunError.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 MsecsPerDay = 86'400'000;
// The Julian day of 1899-12-30, day number 0.
constexpr qint64 EpochJulianDay = 2415019;
// The whole days of 0001-01-01 and 9999-12-31.
constexpr double FirstDay = -693593;
constexpr double LastDay = 2958465;

struct TDayParts
{
    qint64 Days = 0;
    qint64 Msecs = 0;
};

TDayParts SplitDayNumber(TDateTime value)
{
    const double whole = std::trunc(value);
    if (!std::isfinite(value) || whole < FirstDay || whole > LastDay)
        throw EKestrunError(QStringLiteral("%1 is not a day number between 0001-01-01 and 9999-12-31.").arg(value));
    TDayParts parts {qint64(whole), std::llround(std::fabs(value - whole) * MsecsPerDay)};
    // A fraction that rounds up to a whole day is midnight of the following day.
    if (parts.Msecs == MsecsPerDay) {
        parts.Days += 1;
        parts.Msecs = 0;
    }
    return parts;
}

QDate DateOf(const TDayParts& parts)
{
    return QDate::fromJulianDay(EpochJulianDay + parts.Days);
}

QTime TimeOf(const TDayParts& parts)
{
    return QTime::fromMSecsSinceStartOfDay(int(parts.Msecs));
}

TRegionalFormats GermanDefaults()
{
    return {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"),
            QLatin1Char('.'), QLatin1Char(':')};
}

// Regional settings show the year of a short date with four digits; the CLDR
// formats Qt uses show two (de_DE "dd.MM.yy", en_US "M/d/yy").
QString WidenYear(const QString& format)
{
    QString widened;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('y')) {
            widened += c;
            ++i;
            continue;
        }
        qsizetype run = 0;
        while (i + run < format.size() && format[i + run] == QLatin1Char('y'))
            ++run;
        widened += run == 2 ? QStringLiteral("yyyy") : QString(run, QLatin1Char('y'));
        i += run;
    }
    return widened;
}

// Qt's long time format ends with the time zone ("HH:mm:ss t"); the time of a
// call or of the clock is shown without one.
QString WithoutTimeZone(const QString& format)
{
    QString stripped;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) {
            while (!stripped.isEmpty() && stripped.back().isSpace())
                stripped.chop(1);
            continue;
        }
        stripped += c;
    }
    return stripped.trimmed();
}

// The first character of a format that is neither a pattern letter, a quote,
// a blank nor an invisible direction mark (ar_EG: "d\u200F/M\u200F/yyyy").
QChar FirstSeparator(const QString& format, QChar fallback)
{
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\'') && c.category() != QChar::Other_Format)
            return c;
    }
    return fallback;
}

QString Padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

bool StartsWithAt(const QString& text, qsizetype at, QLatin1StringView word)
{
    return QStringView(text).mid(at).startsWith(word, Qt::CaseInsensitive);
}

// Whether an am/pm marker follows an hour specifier, which makes it a 12-hour clock hour.
bool AmPmFollows(const QString& pattern, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (StartsWithAt(pattern, i, QLatin1StringView("am/pm")) ||
                   StartsWithAt(pattern, i, QLatin1StringView("a/p")) ||
                   StartsWithAt(pattern, i, QLatin1StringView("ampm"))) {
            return true;
        }
    }
    return false;
}

} // namespace

TRegionalFormats TRegionalFormats::FromLocale(const QLocale& locale)
{
    TRegionalFormats defaults = GermanDefaults();
    if (locale.language() == QLocale::C)
        return defaults;
    TRegionalFormats formats {locale,
                              WidenYear(locale.dateFormat(QLocale::ShortFormat)),
                              WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)),
                              {},
                              {}};
    if (formats.ShortDateFormat.isEmpty())
        formats.ShortDateFormat = defaults.ShortDateFormat;
    if (formats.LongTimeFormat.isEmpty())
        formats.LongTimeFormat = defaults.LongTimeFormat;
    formats.DateSeparator = FirstSeparator(formats.ShortDateFormat, defaults.DateSeparator);
    formats.TimeSeparator = FirstSeparator(formats.LongTimeFormat, defaults.TimeSeparator);
    return formats;
}

TRegionalFormats TRegionalFormats::Current()
{
    return FromLocale(QLocale());
}

QDate DayNumberDate(TDateTime value)
{
    return DateOf(SplitDayNumber(value));
}

QTime DayNumberTime(TDateTime value)
{
    return TimeOf(SplitDayNumber(value));
}

QDateTime ToQDateTime(TDateTime value)
{
    const TDayParts parts = SplitDayNumber(value);
    return QDateTime(DateOf(parts), TimeOf(parts));
}

TDateTime ToTDateTime(const QDateTime& value)
{
    if (!value.isValid())
        throw EKestrunError(QStringLiteral("An invalid date-time has no day number."));
    const double days = double(value.date().toJulianDay() - EpochJulianDay);
    const double fraction = double(value.time().msecsSinceStartOfDay()) / double(MsecsPerDay);
    return days >= 0 ? days + fraction : days - fraction;
}

QString DateTimeToStr(TDateTime value, const TRegionalFormats& formats)
{
    const TDayParts parts = SplitDayNumber(value);
    QString date = formats.Locale.toString(DateOf(parts), formats.ShortDateFormat);
    if (parts.Msecs == 0)
        return date;
    return date + QLatin1Char(' ') + formats.Locale.toString(TimeOf(parts), formats.LongTimeFormat);
}

QString DateToStr(TDateTime value, const TRegionalFormats& formats)
{
    return formats.Locale.toString(DayNumberDate(value), formats.ShortDateFormat);
}

QString TimeToStr(TDateTime value, const TRegionalFormats& formats)
{
    return formats.Locale.toString(DayNumberTime(value), formats.LongTimeFormat);
}

QString FormatDateTime(const QString& pattern, const QDateTime& value, const TRegionalFormats& formats)
{
    if (!value.isValid())
        throw EKestrunError(QStringLiteral("An invalid date-time cannot be formatted with \"%1\".").arg(pattern));
    const QDate date = value.date();
    const QTime time = value.time();
    if (pattern.isEmpty()) {
        return formats.Locale.toString(date, formats.ShortDateFormat) + QLatin1Char(' ') +
            formats.Locale.toString(time, formats.LongTimeFormat);
    }

    QString text;
    // The previous letter, upper case: "m" right after "h" means minutes.
    QChar lastLetter;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = pattern.indexOf(c, i + 1);
            if (end < 0)
                end = pattern.size();
            text += QStringView(pattern).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == QLatin1Char('/') || c == QLatin1Char(':')) {
            text += c == QLatin1Char('/') ? formats.DateSeparator : formats.TimeSeparator;
            ++i;
            continue;
        }
        if (!c.isLetter()) {
            text += c;
            ++i;
            continue;
        }

        const QChar letter = c.toUpper();
        if (letter == QLatin1Char('A')) {
            const bool pm = time.hour() >= 12;
            if (StartsWithAt(pattern, i, QLatin1StringView("am/pm"))) {
                text += QStringView(pattern).mid(pm ? i + 3 : i, 2);
                i += 5;
            } else if (StartsWithAt(pattern, i, QLatin1StringView("a/p"))) {
                text += pattern[pm ? i + 2 : i];
                i += 3;
            } else if (StartsWithAt(pattern, i, QLatin1StringView("ampm"))) {
                text += pm ? formats.Locale.pmText() : formats.Locale.amText();
                i += 4;
            } else {
                text += c;
                ++i;
            }
            lastLetter = letter;
            continue;
        }

        int run = 0;
        while (i + run < pattern.size() && pattern[i + run].toUpper() == letter)
            ++run;
        const QChar specifier =
            letter == QLatin1Char('M') && lastLetter == QLatin1Char('H') ? QLatin1Char('N') : letter;
        switch (specifier.unicode()) {
        case 'Y':
            text += run <= 2 ? Padded(date.year() % 100, 2) : Padded(date.year(), 4);
            break;
        case 'M':
            if (run <= 2)
                text += Padded(date.month(), run);
            else
                text += formats.Locale.monthName(date.month(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'D':
            if (run <= 2)
                text += Padded(date.day(), run);
            else
                text += formats.Locale.dayName(date.dayOfWeek(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'H': {
            int hour = time.hour();
            if (AmPmFollows(pattern, i + run)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            text += Padded(hour, std::min(run, 2));
            break;
        }
        case 'N':
            text += Padded(time.minute(), std::min(run, 2));
            break;
        case 'S':
            text += Padded(time.second(), std::min(run, 2));
            break;
        case 'Z':
            text += Padded(time.msec(), run == 1 ? 1 : 3);
            break;
        default:
            text += QStringView(pattern).mid(i, run);
            break;
        }
        lastLetter = letter;
        i += run;
    }
    return text;
}
