// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/EnumSet.h"

#include <QMetaType>

// What a rule reacts to. The ordinals are stored in rules files: never reorder.

enum TCallOptionBase : quint8
{
    cobIn,
    cobOut,
    cobNotification,
    cobTransfer,
    cobApplicationStart
};

enum TCallOptionInEx : quint8
{
    coIntern,
    coExtern
};

enum TCallOptionIn : quint8
{
    coiAll,
    coiIncomingCall,
    coiCallPickUp,
    coiCallTerminated
};

enum TCallOptionOut : quint8
{
    cooAll,
    cooDial,
    cooRemoteRing,
    cooRemoteBusy,
    cooRemoteWaiting,
    cooRemoteConnected,
    cooTerminated
};

enum TCallOptionInNumber : quint8
{
    coinAll,
    coinFromNumber,
    coinToExtension
};

enum TCallOptionOutNumber : quint8
{
    coonAll,
    coonToNumber,
    coonFromExtension
};

enum TCallOptionNotificationNumber : quint8
{
    cosAll,
    cosToNumber,
    cosFromNumber
};

template <>
struct TEnumNames<TCallOptionBase>
{
    static constexpr std::array<std::string_view, 5> Names {"cobIn", "cobOut", "cobNotification", "cobTransfer",
                                                            "cobApplicationStart"};
};

template <>
struct TEnumNames<TCallOptionInEx>
{
    static constexpr std::array<std::string_view, 2> Names {"coIntern", "coExtern"};
};

template <>
struct TEnumNames<TCallOptionIn>
{
    static constexpr std::array<std::string_view, 4> Names {"coiAll", "coiIncomingCall", "coiCallPickUp",
                                                            "coiCallTerminated"};
};

template <>
struct TEnumNames<TCallOptionOut>
{
    static constexpr std::array<std::string_view, 7> Names {"cooAll",        "cooDial",          "cooRemoteRing",
                                                            "cooRemoteBusy", "cooRemoteWaiting", "cooRemoteConnected",
                                                            "cooTerminated"};
};

template <>
struct TEnumNames<TCallOptionInNumber>
{
    static constexpr std::array<std::string_view, 3> Names {"coinAll", "coinFromNumber", "coinToExtension"};
};

template <>
struct TEnumNames<TCallOptionOutNumber>
{
    static constexpr std::array<std::string_view, 3> Names {"coonAll", "coonToNumber", "coonFromExtension"};
};

template <>
struct TEnumNames<TCallOptionNotificationNumber>
{
    static constexpr std::array<std::string_view, 3> Names {"cosAll", "cosToNumber", "cosFromNumber"};
};

using TCallOptionBaseSet = TSet<TCallOptionBase>;
using TCallOptionInExSet = TSet<TCallOptionInEx>;
using TCallOptionInSet = TSet<TCallOptionIn>;
using TCallOptionOutSet = TSet<TCallOptionOut>;
using TCallOptionInNumberSet = TSet<TCallOptionInNumber>;
using TCallOptionOutNumberSet = TSet<TCallOptionOutNumber>;
using TCallOptionNotificationNumberSet = TSet<TCallOptionNotificationNumber>;

// Lets QVariant render every set as text (trace dumps); called once by the rule class.
void RegisterCallOptionSetConverters();
