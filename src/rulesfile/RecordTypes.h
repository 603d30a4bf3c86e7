// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string_view>

class TBaseAction;
class TBaseParameter;

// The identifiers that name action classes ("baExecuteProgram" ...) and parameter
// classes ("saOrvix" ...) in rules files; template tags use them too. Lookups by
// identifier ignore the case of ASCII letters.

// The identifier of the action's own class; empty for a class without one.
QString GetBaseActionType(const TBaseAction* action);
// A new action of the class named by the identifier; null for an unknown identifier.
std::unique_ptr<TBaseAction> GetBaseActionObject(std::string_view identifier);
std::unique_ptr<TBaseAction> GetBaseActionObject(QStringView identifier);

// The identifier of the parameter's class; "unknown" for a class without one.
QString GetParameterType(const TBaseParameter* parameter);
// A new parameter of the class named by the identifier; null for an unknown identifier.
std::unique_ptr<TBaseParameter> GetParameterObject(std::string_view identifier);
std::unique_ptr<TBaseParameter> GetParameterObject(QStringView identifier);

// Every identifier, in the order of the kinds tables (actions/ActionKinds, parameters/ParameterKinds).
QStringList BaseActionTypes();
QStringList ParameterTypes();
