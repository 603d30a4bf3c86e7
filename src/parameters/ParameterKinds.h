// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <span>
#include <string_view>

class TBaseParameter;
struct QMetaObject;

// Which parameter dialog edits a parameter of a kind.
enum class TParameterDialog
{
    // Call value, directory lookup and address book: one dialog whose panels follow the kind.
    Multi,
    User,
    System,
    Interaction,
};

/**
 * @brief Everything the program knows about one kind of parameter, in one
 * place: the constructors take caption and icon from it, the rules file its
 * type identifier and factory, the parameter panel its list of kinds to add,
 * and the editors the dialog and its caption.
 */
struct TParameterKind
{
    const QMetaObject* Class;
    // Names the class in rules files ("saOrvix").
    std::string_view TypeIdentifier;
    QString Caption;
    QStringView IconName;
    TParameterDialog Dialog;
    QString DialogCaption;
    std::unique_ptr<TBaseParameter> (*Make)();
};

// Every kind, in the order the parameter panel offers them.
std::span<const TParameterKind> ParameterKinds();
// The kind of exactly that class; null for a class that is none.
const TParameterKind* FindParameterKind(const QMetaObject& meta);
const TParameterKind* FindParameterKind(const TBaseParameter& parameter);
// The kind of a class that is one; throws std::logic_error for any other, which is a programming error.
const TParameterKind& ParameterKindOf(const QMetaObject& meta);
