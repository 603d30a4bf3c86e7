// SPDX-License-Identifier: GPL-3.0-or-later

#include "VelquistTestSupport.h"

#include "TraceCapture.h"
#include "parameters/Velquist.h"

#include <QFile>

namespace {

struct CatalogueCase
{
    const char* folder;
    TVelquistDictionary names;
    TVelquistDictionary types;
};

inline void PrintTo(const CatalogueCase& c, std::ostream* os)
{
    *os << c.folder;
}

class CatalogueTest : public VelquistFixture, public ::testing::WithParamInterface<CatalogueCase>
{
};

QString DataFolder(const char* name)
{
    return QStringLiteral(KESTRUN_TEST_DATA "/velquist/") + QLatin1StringView(name);
}

} // namespace

// Each case reads over a full catalogue, so what was read before must not survive.
TEST_P(CatalogueTest, ReadsWhatTheFileHoldsUpToItsFirstFault)
{
    const CatalogueCase& c = GetParam();
    TVelquist velquist;
    velquist.SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    velquist.ReadLDAPFields();
    ASSERT_FALSE(velquist.LDAPFields().isEmpty());

    velquist.SetProgramFolder(DataFolder(c.folder));
    velquist.ReadLDAPFields();
    EXPECT_EQ(velquist.LDAPFields(), c.names);
    EXPECT_EQ(velquist.LDAPNumberFields(), c.types);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CatalogueTest,
    ::testing::Values(CatalogueCase {"missing", {}, {}}, CatalogueCase {"catalogue-truncated", {}, {}},
                      CatalogueCase {"catalogue-duplicate",
                                     {{"givenname", "Vorname"}, {"telephonemobile", "Mobiltelefon"}},
                                     {{"givenname", "1"}, {"telephonemobile", "3"}}},
                      CatalogueCase {"catalogue-mixed",
                                     {{"telephonefax", "Telefax"}, {"notes", ""}},
                                     {{"telephonefax", "3"}, {"notes", ""}}}),
    [](const auto& info) {
        std::string name = info.param.folder;
        std::erase(name, '-');
        return name;
    });

using ShippedCatalogueTest = VelquistFixture;

TEST_F(ShippedCatalogueTest, NamesEveryFieldInGermanAndTypesTheTelephoneFields)
{
    TraceCapture trace;
    TVelquist velquist;
    velquist.SetProgramFolder(QStringLiteral(KESTRUN_RESOURCES));
    velquist.ReadLDAPFields();

    const TVelquistDictionary names = velquist.LDAPFields();
    EXPECT_EQ(trace.LastValue(QStringLiteral("Velquist::ReadLDAPFields:LDAPFields found")),
              QString::number(names.size()));
    EXPECT_EQ(names.value(QStringLiteral("telephonebusiness")), QStringLiteral("Telefon geschäftlich"));
    for (auto field = names.cbegin(); field != names.cend(); ++field)
        EXPECT_FALSE(field.value().isEmpty()) << field.key().toStdString();
    for (const char* field : {"telephonebusiness", "telephonehome", "telephonemobile", "telephonefax"})
        EXPECT_TRUE(velquist.IsNumberField(QString::fromLatin1(field))) << field;
    EXPECT_FALSE(velquist.IsNumberField(QStringLiteral("city")));

    // The demo directory must only use fields the dialog offers.
    QFile contacts(QStringLiteral(VELQUIST_SIM_CONTACTS));
    ASSERT_TRUE(contacts.open(QIODevice::ReadOnly));
    for (const QByteArray& column : contacts.readLine().trimmed().split(','))
        EXPECT_TRUE(names.contains(QString::fromUtf8(column))) << column.toStdString();
}
