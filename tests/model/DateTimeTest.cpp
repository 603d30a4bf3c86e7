// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/DateTime.h"
#include "platform/KestrunError.h"

#include "ScopedLocale.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QDateTime Afternoon(QDate(2026, 12, 8), QTime(14, 5, 9, 7));

} // namespace

TEST(DayNumber, SplitsIntoDateAndTimeOfDay)
{
    struct Case
    {
        TDateTime value;
        QDate date;
        QTime time;
    };
    const Case cases[] = {
        {0, QDate(1899, 12, 30), QTime(0, 0)},
        {45000.5, QDate(2023, 3, 15), QTime(12, 0)},
        {2.75, QDate(1900, 1, 1), QTime(18, 0)},
        // Before the epoch the fraction still runs forward from the day's midnight.
        {-1.25, QDate(1899, 12, 29), QTime(6, 0)},
        {-0.5, QDate(1899, 12, 30), QTime(12, 0)},
        // A fraction a hair below a whole day is the next midnight.
        {1.9999999999, QDate(1900, 1, 1), QTime(0, 0)},
        {-2.9999999999, QDate(1899, 12, 29), QTime(0, 0)},
        {-693593, QDate(1, 1, 1), QTime(0, 0)},
        {2958465.5, QDate(9999, 12, 31), QTime(12, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(DayNumberDate(c.value), c.date);
        EXPECT_EQ(DayNumberTime(c.value), c.time);
        EXPECT_EQ(ToQDateTime(c.value), QDateTime(c.date, c.time));
    }
}

TEST(DayNumber, RoundTripsThroughQDateTime)
{
    for (const QDateTime& value :
         {Afternoon, QDateTime(QDate(1899, 12, 30), QTime(0, 0)), QDateTime(QDate(1899, 12, 29), QTime(6, 0)),
          QDateTime(QDate(1, 1, 1), QTime(23, 59, 59, 999))}) {
        SCOPED_TRACE(value.toString(Qt::ISODateWithMs).toStdString());
        EXPECT_EQ(ToQDateTime(ToTDateTime(value)), value);
    }
    EXPECT_DOUBLE_EQ(ToTDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(DayNumber, RejectsWhatIsNoDate)
{
    for (const TDateTime value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                  -693594.0, 2958466.0, 1e300}) {
        SCOPED_TRACE(value);
        EXPECT_THROW(DayNumberDate(value), EKestrunError);
    }
    EXPECT_THROW(ToTDateTime(QDateTime()), EKestrunError);
    EXPECT_THROW(FormatDateTime(QStringLiteral("hh"), QDateTime()), EKestrunError);
}

TEST(RegionalFormats, FollowTheLocaleWithFourDigitYearsAndNoZone)
{
    struct Case
    {
        QLocale locale;
        QString shortDate;
        QString longTime;
        QChar dateSeparator;
        QChar timeSeparator;
    };
    const Case cases[] = {
        {ScopedLocale::German(), QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"), u'.', u':'},
        {ScopedLocale::UnitedStates(), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP"), u'/', u':'},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm:ss"), u'-',
         u':'},
        // Invisible direction marks around the separator are not the separator.
        {QLocale(QLocale::Arabic, QLocale::Egypt), QString(), QString(), u'/', u':'},
        // A session without regional settings shows what the program always showed.
        {QLocale::c(), QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"), u'.', u':'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        const TRegionalFormats formats = TRegionalFormats::FromLocale(c.locale);
        if (!c.shortDate.isEmpty()) {
            EXPECT_EQ(formats.ShortDateFormat, c.shortDate);
            EXPECT_EQ(formats.LongTimeFormat, c.longTime);
        }
        EXPECT_EQ(formats.DateSeparator, c.dateSeparator);
        EXPECT_EQ(formats.TimeSeparator, c.timeSeparator);
    }
}

TEST(RegionalFormats, CurrentFollowsTheDefaultLocale)
{
    const ScopedLocale locale(ScopedLocale::UnitedStates());
    EXPECT_EQ(TRegionalFormats::Current().ShortDateFormat, QStringLiteral("M/d/yyyy"));
}

TEST(DayNumberRendering, ShortDateLongTimeAndMidnightWithoutTime)
{
    const TRegionalFormats german = TRegionalFormats::FromLocale(ScopedLocale::German());
    const TRegionalFormats american = TRegionalFormats::FromLocale(ScopedLocale::UnitedStates());
    const TDateTime afternoon = ToTDateTime(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
    const TDateTime midnight = ToTDateTime(QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
    const TDateTime threeMinutes = (3 * 60 + 27) / 86400.0;

    EXPECT_EQ(DateTimeToStr(afternoon, german), QStringLiteral("08.12.2026 14:05:09"));
    EXPECT_EQ(DateTimeToStr(midnight, german), QStringLiteral("08.12.2026"));
    EXPECT_EQ(DateTimeToStr(0, german), QStringLiteral("30.12.1899"));
    EXPECT_EQ(DateToStr(afternoon, german), QStringLiteral("08.12.2026"));
    EXPECT_EQ(TimeToStr(afternoon, german), QStringLiteral("14:05:09"));
    EXPECT_EQ(TimeToStr(0, german), QStringLiteral("00:00:00"));
    EXPECT_EQ(TimeToStr(threeMinutes, german), QStringLiteral("00:03:27"));
    EXPECT_EQ(DateTimeToStr(afternoon, american), QStringLiteral("12/8/2026 2:05:09 PM"));
}

TEST(DateTimePattern, RendersEachSpecifier)
{
    const TRegionalFormats german = TRegionalFormats::FromLocale(ScopedLocale::German());
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("hh:nn:ss"), QStringLiteral("14:05:09")},
        {QStringLiteral("dd.mm.yyyy"), QStringLiteral("08.12.2026")},
        {QStringLiteral("dd/mm/yy"), QStringLiteral("08.12.26")},
        {QStringLiteral("yyyy-mm-dd hh:nn:ss"), QStringLiteral("2026-12-08 14:05:09")},
        {QStringLiteral("d.m.y h:n:s"), QStringLiteral("8.12.26 14:5:9")},
        {QStringLiteral("DD.MM.YYYY HH:NN"), QStringLiteral("08.12.2026 14:05")},
        // Month letters right after an hour are minutes.
        {QStringLiteral("HH:mm:ss"), QStringLiteral("14:05:09")},
        {QStringLiteral("hh:mm dd.mm"), QStringLiteral("14:05 08.12")},
        {QStringLiteral("ddd, dddd"), QStringLiteral("Di., Dienstag")},
        {QStringLiteral("mmm/mmmm"), QStringLiteral("Dez..Dezember")},
        {QStringLiteral("ss.zzz z"), QStringLiteral("09.007 7")},
        {QStringLiteral("h:nn am/pm"), QStringLiteral("2:05 pm")},
        {QStringLiteral("hh AM/PM"), QStringLiteral("02 PM")},
        {QStringLiteral("h a/p"), QStringLiteral("2 p")},
        {QStringLiteral("h ampm"), QStringLiteral("2 PM")},
        {QStringLiteral("'hh:nn' \"dd\" hh"), QStringLiteral("hh:nn dd 14")},
        {QStringLiteral("yyyy#x_"), QStringLiteral("2026#x_")},
        {QString(), QStringLiteral("08.12.2026 14:05:09")},
    };
    for (const auto& [pattern, expected] : cases) {
        SCOPED_TRACE(pattern.toStdString());
        EXPECT_EQ(FormatDateTime(pattern, Afternoon, german), expected);
    }
}

TEST(DateTimePattern, UsesTheRegionalSeparatorsAndTwelveHourMidnight)
{
    const TRegionalFormats american = TRegionalFormats::FromLocale(ScopedLocale::UnitedStates());
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yy hh:nn"), Afternoon, american), QStringLiteral("08/12/26 14:05"));
    EXPECT_EQ(FormatDateTime(QString(), Afternoon, american), QStringLiteral("12/8/2026 2:05:09 PM"));
    const QDateTime afterMidnight(QDate(2026, 12, 8), QTime(0, 30));
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:nn am/pm"), afterMidnight, american), QStringLiteral("12:30 am"));
}
