// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

class QWidget;
class TBaseParameter;
class TVelquist;

// What the parameter dialogs need besides the parameter itself.
struct TParameterFormContext
{
    // The action is a balloon message, whose window shows each value under an alias.
    bool ShowAlias = false;
    // The directory client: its field catalogue fills the lookup dialog's lists,
    // and "Testen" asks its server. May be null (no catalogue, no server).
    std::shared_ptr<TVelquist> Velquist;
};

// Opens the dialog of the parameter's kind modally on the parameter (a new one
// or a copy the caller adopts on OK) and returns its result.
int ShowParameterForm(TBaseParameter& parameter, const TParameterFormContext& context, QWidget* parent);
