// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/VCardReader.h"
#include "pim/ContactItem.h"

#include "TestFiles.h"
#include "TraceCapture.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

// The ten properties in their numbered order, for comparing a contact whole.
QStringList Properties(const TContactItem& contact)
{
    QStringList values;
    for (int index = 0; index < ContactPropertyCount; ++index)
        values.append(contact.Property(TContactProperty(index)));
    return values;
}

QList<TVCard> ReadFixture(const QString& name)
{
    const QString path = TestDataFile(QStringLiteral("pim/") + name);
    return ReadVCards(ReadFile(path), path);
}

QByteArray Card(const QByteArray& lines)
{
    return "BEGIN:VCARD\nVERSION:3.0\n" + lines + "END:VCARD\n";
}

} // namespace

TEST(VCardReader, MapsTheContactPropertiesOfEachVersion)
{
    struct Case
    {
        const char* file;
        QStringList properties;
    };
    // FirstName, LastName, FullName, CompanyName, Mobile, Email1..3, Home, Business.
    const Case cases[] = {
        {"contact30.vcf",
         {"Anna, Maria", "Meier-Lüdenscheidt", "Dr. Anna, Maria Meier-Lüdenscheidt", "Meier; Söhne GmbH",
          "0171 2345678", "anna.meier@example.org", "anna@example.net", "a.meier@example.com", "030 5550100",
          "+49 30 1234567"}},
        {"contact40.vcf",
         {"Jürgen", "Schmidt", "Jürgen Schmidt", "Schmidt & Partner", "+49-171-5550123", "j.schmidt@example.com", "",
          "", "+49-30-5550199", "+49-30-5550100"}},
        {"export21.vcf",
         {"Jörg", "Müller", "Jörg Müller", "Grün & Co. KG, Straßenbau und Tiefbau", "0172 9876543",
          "joerg.mueller@example.de", "", "", "030 98765", "030 1234 56"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TraceCapture trace;
        const QList<TVCard> cards = ReadFixture(QString::fromLatin1(c.file));
        ASSERT_EQ(cards.size(), 1);
        EXPECT_EQ(Properties(TContactItem::FromVCard(cards[0])), c.properties);
        EXPECT_FALSE(trace.Has(QStringLiteral("VCardReader::ReadVCards:Line skipped")));
    }
}

TEST(VCardReader, UnfoldsUnescapesAndDecodesValues)
{
    const QList<TVCard> cards30 = ReadFixture(QStringLiteral("contact30.vcf"));
    ASSERT_EQ(cards30.size(), 1);
    const TVCard& card30 = cards30[0];
    EXPECT_EQ(card30.Version, QStringLiteral("3.0"));
    EXPECT_EQ(card30.First(u"NOTE")->Text(),
              QStringLiteral("Erste Zeile\nZweite Zeile mit \\ undgefalteter Fortsetzung"));
    EXPECT_EQ(card30.First(u"ORG")->Components(), (QStringList {"Meier; Söhne GmbH", "Vertrieb"}));
    const TVCardProperty* grouped = card30.First(u"EMAIL");
    EXPECT_EQ(grouped->Group, QStringLiteral("item1"));
    EXPECT_EQ(grouped->Types, QStringList {"internet"});
    EXPECT_EQ(card30.Properties[7].Types, (QStringList {"work", "voice"})); // the second TEL: repeated TYPE

    const QList<TVCard> cards21 = ReadFixture(QStringLiteral("export21.vcf"));
    ASSERT_EQ(cards21.size(), 1); // the AGENT's inner card is no contact of its own
    EXPECT_EQ(cards21[0].First(u"NOTE")->Text(), QStringLiteral("Zeile eins\r\nZeile zwei"));
    EXPECT_EQ(cards21[0].First(u"TEL")->Types, (QStringList {"work", "voice"}));

    const QList<TVCard> cards40 = ReadFixture(QStringLiteral("contact40.vcf"));
    ASSERT_EQ(cards40.size(), 1);
    EXPECT_EQ(cards40[0].First(u"TEL")->ValueKind, QStringLiteral("uri"));
    EXPECT_EQ(cards40[0].First(u"TEL")->Types, (QStringList {"voice", "home"}));
}

TEST(VCardReader, TextsInOtherEncodingsOfTheFile)
{
    const QByteArray card = Card("FN:J\xc3\xb6rg M\xc3\xbcller\n");
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray cases[] = {
        card, "\xEF\xBB\xBF" + card, utf16.encode(QString::fromUtf8(card)),
        Card("FN:J\xf6rg M\xfcller\n"), // no character set named, and no UTF-8
    };
    for (const QByteArray& content : cases) {
        const QList<TVCard> cards = ReadVCards(content, QStringLiteral("test.vcf"));
        ASSERT_EQ(cards.size(), 1);
        EXPECT_EQ(cards[0].First(u"FN")->Text(), QStringLiteral("Jörg Müller"));
    }
}

TEST(VCardReader, EachTelephoneNumberFillsOnePlace)
{
    struct Case
    {
        const char* scenario;
        QByteArray tels;
        QString mobile, home, business;
    };
    const Case cases[] = {
        {"typed", "TEL;TYPE=home:1\nTEL;TYPE=work:2\nTEL;TYPE=cell:3\n", "3", "1", "2"},
        {"first of each kind wins, pref or not", "TEL;TYPE=work:1\nTEL;TYPE=work,pref:2\n", "", "", "1"},
        {"cell wins over work", "TEL;TYPE=work,cell:1\n", "1", "", ""},
        {"home and work: the first free", "TEL;TYPE=work:1\nTEL;TYPE=work,home:2\n", "", "2", "1"},
        {"fax, pager and car numbers are none of the three",
         "TEL;TYPE=work,fax:1\nTEL;TYPE=pager:2\nTEL;TYPE=car,voice:3\n", "", "", ""},
        {"untyped after the typed", "TEL:1\nTEL;TYPE=voice:2\nTEL;TYPE=home:3\n", "", "3", "1"},
        {"untyped where nothing is typed", "TEL:1\nTEL:2\nTEL:3\n", "", "1", "2"},
        {"empty numbers are skipped", "TEL;TYPE=cell:\nTEL;TYPE=cell: 4 \n", "4", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        const QList<TVCard> cards = ReadVCards(Card(c.tels), QStringLiteral("test.vcf"));
        ASSERT_EQ(cards.size(), 1);
        const TContactItem contact = TContactItem::FromVCard(cards[0]);
        EXPECT_EQ(contact.Property(TContactProperty::MobileTelephoneNumber), c.mobile);
        EXPECT_EQ(contact.Property(TContactProperty::HomeTelephoneNumber), c.home);
        EXPECT_EQ(contact.Property(TContactProperty::BusinessTelephoneNumber), c.business);
    }
}

TEST(VCardReader, FullNameFromTheNameWhenTheCardHasNone)
{
    const QList<TVCard> cards = ReadVCards(Card("N:Meier;Anna;Maria;Dr.;MBA\n"), QStringLiteral("test.vcf"));
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(TContactItem::FromVCard(cards[0]).Property(TContactProperty::FullName),
              QStringLiteral("Dr. Anna Maria Meier MBA"));
}

TEST(VCardReader, BrokenCardsAndLinesAreSkippedWithWarnings)
{
    TraceCapture trace;
    const QList<TVCard> cards = ReadFixture(QStringLiteral("broken.vcf"));
    ASSERT_EQ(cards.size(), 2);
    EXPECT_EQ(cards[0].First(u"FN")->Text(), QStringLiteral("Erste Gute"));
    const TContactItem damaged = TContactItem::FromVCard(cards[1]);
    EXPECT_EQ(damaged.Property(TContactProperty::FullName), QStringLiteral("Mit kaputter Zeile"));
    EXPECT_EQ(damaged.Property(TContactProperty::MobileTelephoneNumber), QStringLiteral("0170 4444444"));

    EXPECT_EQ(trace.Count(QStringLiteral("VCardReader::ReadVCards:Card skipped")), 2);
    EXPECT_EQ(trace.Count(QStringLiteral("VCardReader::ReadVCards:Line skipped")), 2);
    EXPECT_TRUE(trace.Has(QStringLiteral("VCardReader::ReadVCards:Text outside a card ignored")));
    EXPECT_TRUE(trace.LastValue(QStringLiteral("VCardReader::ReadVCards:Card skipped"))
                    .endsWith(QStringLiteral("broken.vcf, card 4: the file ends before END:VCARD")));
}

TEST(VCardReader, AnyBytesGiveNoCardsRatherThanACrash)
{
    QByteArray everyByte;
    for (int value = 0; value < 256; ++value)
        everyByte += char(value);
    const QByteArray cases[] = {
        everyByte,
        "BEGIN:VCARD\n" + everyByte,
        "BEGIN:VCARD\nFN;ENCODING=QUOTED-PRINTABLE:=\nAGENT:\nBEGIN:VCARD\n",
        "BEGIN:VCARD\nFN;CHARSET=\"no such set\";ENCODING=B:@@@\n:\n\"\nEND:VCARD\n",
        QByteArray(),
    };
    for (const QByteArray& content : cases) {
        const QList<TVCard> cards = ReadVCards(content, QStringLiteral("junk.vcf"));
        for (const TVCard& card : cards)
            TContactItem::FromVCard(card);
        EXPECT_LE(cards.size(), 1);
    }
}
