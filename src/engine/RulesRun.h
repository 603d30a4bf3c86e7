// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class TOrvixLine;
class TParameters;

/**
 * Offers a state of the line to every rule of the model, in list order, and
 * runs each rule that fires on a snapshot copy of the line of its own.
 *
 * The caller keeps the model alive for the whole run: a rule may wait in a
 * window while an editor puts another model in force.
 */
void RunRules(const TParameters& model, TOrvixLine& line, const QString& currentLineState);
