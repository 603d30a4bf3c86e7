// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// A point in time as a day number: whole days since 1899-12-30 00:00, the time
// of day as the fraction. 0 means "not set". The softphone reports its times in
// this form and the rules engine computes with it.
// Before the epoch the whole part counts the days back and the fraction still
// runs forward from that day's midnight: -1.25 is 1899-12-29 06:00, and values
// between -1 and 0 fall on 1899-12-30 itself. Day numbers carry no time zone;
// they are the local wall-clock time the softphone saw.
using TDateTime = double;

/**
 * @brief The regional date and time formats the program renders with.
 *
 * Taken from the user's regional settings (QLocale(), which is the system's
 * locale unless the program sets a default). A locale without regional data,
 * the "C"/"POSIX" locale of a bare session, gets the German defaults the
 * program has always shown: "dd.MM.yyyy", "HH:mm:ss", "." and ":".
 * The formats are Qt format strings.
 */
struct TRegionalFormats
{
    // Day and month names and the AM/PM texts.
    QLocale Locale;
    QString ShortDateFormat;
    // Without a time zone, unlike Qt's long format.
    QString LongTimeFormat;
    QChar DateSeparator;
    QChar TimeSeparator;

    static TRegionalFormats FromLocale(const QLocale& locale);
    static TRegionalFormats Current();
};

// The calendar date and the time of day of a day number, rounded to the millisecond.
// Throw EKestrunError for a value that is not a day number of the years 1 to 9999 (also NaN).
QDate DayNumberDate(TDateTime value);
QTime DayNumberTime(TDateTime value);
// Local time; the day number's wall-clock time is kept as it is.
QDateTime ToQDateTime(TDateTime value);
// Throws EKestrunError for an invalid date-time.
TDateTime ToTDateTime(const QDateTime& value);

// Short date, a blank and the long time; only the date when the time is exactly midnight.
QString DateTimeToStr(TDateTime value, const TRegionalFormats& formats = TRegionalFormats::Current());
QString DateToStr(TDateTime value, const TRegionalFormats& formats = TRegionalFormats::Current());
QString TimeToStr(TDateTime value, const TRegionalFormats& formats = TRegionalFormats::Current());

/**
 * Renders a date-time with the pattern language the user types into system parameters.
 * Letters are matched ignoring case:
 *   d, dd        day of month without / with leading zero;  ddd, dddd  short / long day name
 *   m, mm        month without / with leading zero;         mmm, mmmm  short / long month name
 *   yy, yyyy     two-digit / four-digit year (a run of one or two y is two digits, longer runs four)
 *   h, hh        hour (24-hour clock unless an am/pm marker follows), without / with leading zero
 *   n, nn        minutes; m and mm right after an hour specifier are minutes too ("hh:mm")
 *   s, ss        seconds;   z, zzz  milliseconds without / with leading zeros
 *   am/pm, a/p   12-hour clock for the hour, marker in the letter case written; ampm: the locale's texts
 *   /  :         the regional date and time separators
 *   '...' "..."  copied without the quotes
 * Every other character is copied. An empty pattern gives the short date, a blank and the long time.
 * Throws EKestrunError for an invalid date-time.
 */
QString FormatDateTime(const QString& pattern, const QDateTime& value,
                       const TRegionalFormats& formats = TRegionalFormats::Current());
