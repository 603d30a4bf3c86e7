// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ActionSequence.h"
#include "model/BaseParameter.h"
#include "model/Rule.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

namespace {

// A list that holds plain parameters, so the tests see positions without any rule semantics.
struct Items
{
    TActionSequence list;
    TBaseParameter* a = new TBaseParameter;
    TBaseParameter* b = new TBaseParameter;
    TBaseParameter* c = new TBaseParameter;

    Items()
    {
        list.AddNewItem(a);
        list.AddNewItem(b);
        list.AddNewItem(c);
    }
};

} // namespace

TEST(BaseList, NewObjectsHaveDistinctRegistryFormGuids)
{
    const QRegularExpression registryForm(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const TRule rule;
        const TActionSequence sequence;
        const TBaseParameter parameter;
        for (const QString& id : {rule.ID(), sequence.ID(), parameter.ID()}) {
            EXPECT_EQ(id.size(), 38);
            EXPECT_TRUE(registryForm.match(id).hasMatch()) << id.toStdString();
            EXPECT_FALSE(seen.contains(id));
            seen.insert(id);
        }
    }
}

TEST(BaseList, GetObjectByIdIsCaseSensitive)
{
    Items items;
    items.b->SetID(QStringLiteral("{0A0B0C0D-AAAA-BBBB-CCCC-0123456789AB}"));
    EXPECT_EQ(items.list.GetObjectByID(QStringLiteral("{0A0B0C0D-AAAA-BBBB-CCCC-0123456789AB}")), items.b);
    EXPECT_EQ(items.list.GetObjectByID(QStringLiteral("{0a0b0c0d-aaaa-bbbb-cccc-0123456789ab}")), nullptr);
}

TEST(BaseList, PositionOperations)
{
    Items items;
    TBaseParameter outsider;

    items.list.SwapItems(items.a, &outsider);
    EXPECT_EQ(items.list.MainList(), (QList<TBaseObject*> {items.a, items.b, items.c}));

    items.list.SwapItems(items.a, items.c);
    EXPECT_EQ(items.list.MainList(), (QList<TBaseObject*> {items.c, items.b, items.a}));

    items.list.AddNewItem(items.c); // now twice
    items.list.RemoveItem(items.c);
    EXPECT_EQ(items.list.MainList(), (QList<TBaseObject*> {items.b, items.a, items.c}));

    EXPECT_EQ(items.list.GetIndex(items.a), 1);
    EXPECT_EQ(items.list.GetIndex(&outsider), -1);
    EXPECT_EQ(items.list.GetObject(2), items.c);
    EXPECT_EQ(items.list.GetObject(3), nullptr);
    EXPECT_EQ(items.list.GetObject(-1), nullptr);
    EXPECT_EQ(items.list.Count(), 3);
}

TEST(BaseList, ExchangeItemReplacesInPlaceAndReleasesWhenAsked)
{
    Items items;
    auto* replacement = new TBaseParameter;
    items.list.ExchangeItem(items.b, replacement, true); // b is freed; ASan reports any later use
    EXPECT_EQ(items.list.MainList(), (QList<TBaseObject*> {items.a, replacement, items.c}));

    TBaseParameter notInList;
    auto* other = new TBaseParameter;
    items.list.ExchangeItem(&notInList, other, false);
    EXPECT_EQ(items.list.GetIndex(other), -1);
    delete other;
}

TEST(BaseList, ClearingARuleLeavesTheSequencesToTheirOwner)
{
    TBaseList sequences; // owns
    auto* sequence = new TActionSequence;
    sequences.AddNewItem(sequence);

    TRule rule;
    EXPECT_FALSE(rule.FreeObjects());
    rule.AddNewItem(sequence);
    rule.ClearList();
    EXPECT_EQ(rule.Count(), 0);
    EXPECT_EQ(sequences.GetObject(0), sequence); // still alive: ASan would flag a use after free
    EXPECT_EQ(sequence->Name(), QString());
}
