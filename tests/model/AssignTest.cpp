// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ActionSequence.h"
#include "model/OrvixLine.h"
#include "model/Rule.h"
#include "parameters/ParameterVelquist.h"

#include <gtest/gtest.h>

#include <QVariant>

TEST(Assign, RuleCopyKeepsTargetIdAndSharesSequences)
{
    TActionSequence first;
    TActionSequence second;
    TRule source;
    source.SetName(QStringLiteral("Kunde"));
    source.SetActive(false);
    source.SetCallOptionBase({cobIn, cobTransfer});
    source.SetCallOptionInEx({coExtern});
    source.SetCallOptionIn({coiIncomingCall});
    source.SetCallOptionOut({cooDial, cooTerminated});
    source.SetCallOptionInNumber({coinFromNumber});
    source.SetCallOptionOutNumber({coonAll});
    source.SetCallOptionNotificationNumber({cosToNumber});
    source.SetFromNumberIn(QStringLiteral("030*;+49*"));
    source.SetToExtensionNumberIn(QStringLiteral("12?"));
    source.SetToNumberOut(QStringLiteral("0800*"));
    source.SetFromExtensionNumberOut(QStringLiteral("2*"));
    source.SetNotificationNumberIn(QStringLiteral("*"));
    source.SetNotificationNumberTo(QStringLiteral("55"));
    source.AddNewItem(&first);
    source.AddNewItem(&second);

    TRule target;
    const QString targetId = target.ID();
    target.Assign(&source);

    EXPECT_EQ(target.ID(), targetId);
    EXPECT_EQ(target.Name(), source.Name());
    EXPECT_FALSE(target.Active());
    EXPECT_EQ(target.CallOptionBase(), source.CallOptionBase());
    EXPECT_EQ(target.CallOptionInEx(), source.CallOptionInEx());
    EXPECT_EQ(target.CallOptionIn(), source.CallOptionIn());
    EXPECT_EQ(target.CallOptionOut(), source.CallOptionOut());
    EXPECT_EQ(target.CallOptionInNumber(), source.CallOptionInNumber());
    EXPECT_EQ(target.CallOptionOutNumber(), source.CallOptionOutNumber());
    EXPECT_EQ(target.CallOptionNotificationNumber(), source.CallOptionNotificationNumber());
    EXPECT_EQ(target.FromNumberIn(), source.FromNumberIn());
    EXPECT_EQ(target.ToExtensionNumberIn(), source.ToExtensionNumberIn());
    EXPECT_EQ(target.ToNumberOut(), source.ToNumberOut());
    EXPECT_EQ(target.FromExtensionNumberOut(), source.FromExtensionNumberOut());
    EXPECT_EQ(target.NotificationNumberIn(), source.NotificationNumberIn());
    EXPECT_EQ(target.NotificationNumberTo(), source.NotificationNumberTo());
    EXPECT_EQ(target.MainList(), (QList<TBaseObject*> {&first, &second}));
    EXPECT_FALSE(target.FreeObjects());

    source.RemoveItem(&first);
    EXPECT_EQ(target.Count(), 2) << "the copy has its own list of the same references";
}

TEST(Assign, CopyOfAnOwningListDoesNotOwnTheSharedItems)
{
    auto* parameter = new TParameterVelquist;
    TActionSequence owner;
    owner.AddNewItem(parameter);
    {
        TActionSequence copy;
        copy.AddNewItem(new TParameterVelquist); // owned by the copy before the assignment: freed by it
        copy.Assign(&owner);
        EXPECT_EQ(copy.GetObject(0), parameter);
        EXPECT_FALSE(copy.FreeObjects());
    }
    // The copy is gone; the owner still holds a live parameter (ASan reports otherwise).
    EXPECT_EQ(qobject_cast<TParameterVelquist*>(owner.GetObject(0))->SearchField(), QStringLiteral("searchnumber"));
}

TEST(Assign, ParameterCopiesSettingsButNotItsIdentity)
{
    TParameterVelquist source;
    source.SetAlias(QStringLiteral("Firma"));
    source.SetShowAlias(false);
    source.SetCancelOnNoResult(true);
    source.SetParameterValue(QStringLiteral("company"));
    source.SetSearchBase(QStringLiteral("quarvo"));
    source.SetSearchOptionUser(true);

    TParameterVelquist target;
    const QString targetId = target.ID();
    target.Assign(&source);

    EXPECT_EQ(target.ID(), targetId);
    EXPECT_EQ(target.Alias(), QStringLiteral("Firma"));
    EXPECT_FALSE(target.ShowAlias());
    EXPECT_TRUE(target.CancelOnNoResult());
    EXPECT_EQ(target.ParameterValue(), QStringLiteral("company"));
    EXPECT_EQ(target.SearchBase(), QStringLiteral("quarvo"));
    EXPECT_TRUE(target.SearchOptionUser());
}

TEST(Assign, SettingAnEmptyParameterIdKeepsTheOldOne)
{
    TParameterVelquist parameter;
    const QString id = parameter.ID();
    parameter.SetID(QString());
    EXPECT_EQ(parameter.ID(), id);
    parameter.setProperty("ID", QVariant(QString()));
    EXPECT_EQ(parameter.ID(), id);
}

TEST(Assign, SnapshotCopiesCallDataButNotLineManagerVariablesOrLine)
{
    auto line = std::make_shared<TOrvixLine>();
    line->SetLineState(QStringLiteral("LSRinging"));
    line->SetLineStateHistory({QStringLiteral("LSRinging")});
    line->SetLineStateQueue({QStringLiteral("LSActive")});
    line->SetCallId(5);
    line->SetCallerNumber(QStringLiteral("+493012345"));
    line->SetConnectionStartTime(46000.5);
    line->SetIsTransferredCall(true);
    line->SetUserVariable(QStringLiteral("Custom1"), QStringLiteral("Anna"));
    line->SetOrvixLine(std::make_shared<TOrvixLine>());

    TOrvixLine snapshot;
    snapshot.Assign(line.get());

    EXPECT_EQ(snapshot.LineState(), QStringLiteral("LSRinging"));
    EXPECT_EQ(snapshot.LineStateHistory(), line->LineStateHistory());
    EXPECT_EQ(snapshot.LineStateQueue(), line->LineStateQueue());
    EXPECT_EQ(snapshot.CallId(), 5);
    EXPECT_EQ(snapshot.CallerNumber(), QStringLiteral("+493012345"));
    EXPECT_DOUBLE_EQ(snapshot.ConnectionStartTime(), 46000.5);
    EXPECT_TRUE(snapshot.IsTransferredCall());
    EXPECT_EQ(snapshot.GetUserVariableResult(QStringLiteral("Custom1")), QString());
    EXPECT_EQ(snapshot.TemporaryVariables().size(), TOrvixLine::CustomVariableCount);
    EXPECT_EQ(snapshot.OrvixLine(), nullptr);

    line->SetLineStateHistory({});
    EXPECT_EQ(snapshot.LineStateHistory().size(), 1) << "string lists are copied by content";
}
