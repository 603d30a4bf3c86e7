// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class TOrvixLine;

// One row of a standard message: a parameter's alias and the value it resolved to.
struct TMessageRow
{
    QString Alias;
    QString Value;

    bool operator==(const TMessageRow&) const = default;
};

// The page an HTML message shows: a URL, or a template filled from the results of the run.
struct THtmlMessagePage
{
    // Wins over the template when not empty; shown as stored.
    QString WebserverUrl;
    // The template as stored (%NAME% references are expanded when it is filled).
    QString Template;
    // "key=result" lines the template's tags are filled from.
    QStringList ResultList;
    // Basic authentication, answered only for the URL's own scheme, host and port.
    QString User;
    QString Password;
    // Window size in pixels; the window's minimum of 370 x 170 still applies.
    int Width = 370;
    int Height = 300;
    bool DefaultWidth = true;
    // The window is made at start and kept hidden between calls.
    bool ShowInvisible = false;
};

/**
 * @brief What a message action hands the window that shows it.
 *
 * Copies of the action's settings, taken when the action runs: a window that
 * stays open may outlive the model it came from (an editor puts a working copy
 * in force), so it never points into the model. The call snapshot is shared
 * with the run and lives as long as its last holder.
 */
struct TMessageWindowRequest
{
    enum class TKind
    {
        Balloon,
        Html
    };

    TKind Kind = TKind::Balloon;
    // The action's ID: an HTML message has at most one window per action.
    QString ActionID;
    QString Caption;
    // The window fades out by itself TimeOutSec seconds after showing.
    bool TimeOut = false;
    // 0 .. MaxTimeOutSec, so that the time in milliseconds fits a 32-bit timer.
    int TimeOutSec = 5;
    // IDs of the action sequences offered as buttons, in order.
    QStringList SequenceIDs;
    // The call snapshot the buttons run on; null when the rule runs without a call.
    std::shared_ptr<TOrvixLine> Line;
    // Balloon: one row per resolved parameter, empty ones included.
    QList<TMessageRow> Rows;
    // HTML: the page.
    THtmlMessagePage Page;
    // A demonstration of the notification settings (the settings dialog's): the
    // window shows changed settings at once, keeps their opacity under the mouse,
    // and closing it only hides it, since the dialog shows it again.
    bool Demonstration = false;

    static constexpr int MaxTimeOutSec = 2147483;
};
