// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <span>
#include <string_view>

class TBaseAction;
struct QMetaObject;

// Which definition dialog edits an action of a kind. Kinds whose dialogs differ
// only in caption share one.
enum class TActionDialog
{
    // Not edited by hand (the Outlook contact action is made by the program's own rules files only).
    None,
    BalloonMessage,
    HtmlMessage,
    // The program's path or the document's, with the parameters of the call.
    ProgramOrDocument,
    CommandChannel,
    Stopper,
    // Nothing to set but the caption: take, end and block a call.
    CaptionOnly,
    Dtmf,
    PimItem,
    EMail,
};

/**
 * @brief Everything the program knows about one kind of action, in one place:
 * the constructors take caption and icon from it, the rules file its type
 * identifier and factory, the sequence editor its palette, the editors the
 * dialog and the dialog's caption.
 */
struct TActionKind
{
    const QMetaObject* Class;
    // Names the class in rules files and template tags ("baStopper").
    std::string_view TypeIdentifier;
    // What a new action of the kind is called, in lists and in the palette.
    QString Caption;
    // Its icon in the program's icon list.
    QStringView IconName;
    // The palette's group node the kind stands under; empty: at the top.
    QString PaletteGroup;
    // Position in the sequence editor's palette, counted from 1; 0: not offered there.
    int PalettePlace;
    TActionDialog Dialog;
    QString DialogCaption;
    std::unique_ptr<TBaseAction> (*Make)();
};

// A group node of the palette: its name and its icon.
struct TActionPaletteGroup
{
    QString Name;
    QStringView IconName;
};

// Every kind, in the order of the rules file's type table.
std::span<const TActionKind> ActionKinds();
// The kind of exactly that class (a subclass has a kind of its own); null for a class that is none.
const TActionKind* FindActionKind(const QMetaObject& meta);
const TActionKind* FindActionKind(const TBaseAction& action);
// The kind of a class that is one; throws std::logic_error for any other, which is a programming error.
const TActionKind& ActionKindOf(const QMetaObject& meta);

std::span<const TActionPaletteGroup> ActionPaletteGroups();
