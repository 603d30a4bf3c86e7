// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

// An entry of the call-value lists of the parameter dialogs: a call value by its
// caption, or a group header, whose value is its own caption.
struct TCallValueChoice
{
    QString Caption;
    QString Value;
};

// The call values in three groups, each headed by its header: incoming call,
// outgoing call, call notification. A value meant for several kinds of call
// stands in the first group only.
QList<TCallValueChoice> CallValueChoices();

// Whether a value chosen from those lists is a group header, which names no call value.
bool IsCallValueGroupHeader(const QString& value);
