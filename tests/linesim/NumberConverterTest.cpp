// SPDX-License-Identifier: GPL-3.0-or-later

#include "NumberConverter.h"
#include "LineSimError.h"

#include <gtest/gtest.h>

namespace {

struct ConversionCase
{
    int style;
    const char* number;
    const char* expected;
};

// Test names in ctest show the case, not its bytes.
void PrintTo(const ConversionCase& c, std::ostream* out)
{
    *out << "style " << c.style << " of '" << c.number << "'";
}

class DefaultConversion : public ::testing::TestWithParam<ConversionCase>
{
};

TEST_P(DefaultConversion, ConvertsAsDocumented)
{
    const ConversionCase& c = GetParam();
    const NumberConverter converter; // 49, 30, extensions up to 4 digits
    EXPECT_EQ(converter.convert(c.style, QString::fromUtf8(c.number)), QString::fromUtf8(c.expected))
        << "style " << c.style << " of '" << c.number << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultConversion,
    ::testing::Values(
        // style 2: the canonical form
        ConversionCase {2, "0301234567", "+49301234567"}, ConversionCase {2, "030 / 123 45-67", "+49301234567"},
        ConversionCase {2, "(030) 123.456", "+4930123456"}, ConversionCase {2, "+49 30 1234567", "+49301234567"},
        ConversionCase {2, "0044 20 7946 0000", "+442079460000"}, ConversionCase {2, "089 123456", "+4989123456"},
        ConversionCase {2, "1234567", "+49301234567"}, ConversionCase {2, "12345", "+493012345"},
        ConversionCase {2, "1234", "1234"}, ConversionCase {2, "12-34", "1234"}, ConversionCase {2, "217", "217"},
        ConversionCase {2, "", ""}, ConversionCase {2, "0", "0"}, ConversionCase {2, "00", "00"},
        ConversionCase {2, "+", "+"}, ConversionCase {2, "Anna Berg", "Anna Berg"},
        ConversionCase {2, "030 CALL-ME", "030 CALL-ME"}, ConversionCase {2, "*21# 030", "*21# 030"},
        ConversionCase {2, "sip:anna@example.org", "sip:anna@example.org"},
        // style 1: national
        ConversionCase {1, "+49301234567", "0301234567"}, ConversionCase {1, "1234567", "0301234567"},
        ConversionCase {1, "0044 20 7946 0000", "00442079460000"}, ConversionCase {1, "030 123", "030123"},
        ConversionCase {1, "217", "217"}, ConversionCase {1, "Anna", "Anna"},
        // style 0: as given
        ConversionCase {0, "030 / 123 45-67", "030 / 123 45-67"}, ConversionCase {0, "+49 30", "+49 30"}));

TEST(NumberConverter, UsesConfiguredCodesAndExtensionLength)
{
    const NumberConverter austria(QStringLiteral("43"), QStringLiteral("01"), 3);
    EXPECT_EQ(austria.areaCode(), QStringLiteral("1")) << "the national prefix of the area code is dropped";
    EXPECT_EQ(austria.canonical(QStringLiteral("1234")), QStringLiteral("+4311234"));
    EXPECT_EQ(austria.canonical(QStringLiteral("123")), QStringLiteral("123"));
    EXPECT_EQ(austria.canonical(QStringLiteral("01 234")), QStringLiteral("+431234"));
    EXPECT_EQ(austria.national(QStringLiteral("+43 1 234")), QStringLiteral("01234"));
    EXPECT_EQ(austria.national(QStringLiteral("+49301234")), QStringLiteral("0049301234"));
    EXPECT_TRUE(austria.isExtension(QStringLiteral("12")));
    EXPECT_FALSE(austria.isExtension(QStringLiteral("1234")));
    EXPECT_FALSE(austria.isExtension(QStringLiteral("01")));
}

TEST(NumberConverter, RejectsUnusableSettingsAndStyles)
{
    const auto kindOf = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const SoftphoneError& e) {
            EXPECT_FALSE(e.message().isEmpty());
            return e.kind();
        }
        ADD_FAILURE() << "no SoftphoneError thrown";
        return SoftphoneError::Kind::NoCall;
    };
    using K = SoftphoneError::Kind;
    EXPECT_EQ(kindOf([] { NumberConverter(QStringLiteral("4x")); }), K::InvalidArgument);
    EXPECT_EQ(kindOf([] { NumberConverter(QStringLiteral("049")); }), K::InvalidArgument);
    EXPECT_EQ(kindOf([] { NumberConverter(QStringLiteral("49"), QString()); }), K::InvalidArgument);
    EXPECT_EQ(kindOf([] { NumberConverter(QStringLiteral("49"), QStringLiteral("30"), 0); }), K::InvalidArgument);
    EXPECT_EQ(kindOf([] { NumberConverter().convert(3, QStringLiteral("030")); }), K::InvalidArgument);
    EXPECT_EQ(kindOf([] { NumberConverter().convert(-1, QStringLiteral("030")); }), K::InvalidArgument);
}

} // namespace
