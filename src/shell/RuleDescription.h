// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class TRule;

// The plain-German description of a rule that the main window shows below its
// list: what kind of call, in which situations, under which number conditions,
// and the first action sequence it starts. Lines end with CR LF.
QString RuleDescription(const TRule& rule);
