// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/RunOutcome.h"

#include <QString>

class QMessageBox;
class QWidget;

// Tells the user, without waiting for them, what went wrong in a run they
// started and watch (a notification's button, the rule test): the German text
// names the run and the failed actions; the details are in the trace. A run
// without failures tells nothing and returns null.
QMessageBox* ReportRunFailures(QWidget* parent, const QString& title, const QString& run, const TRunOutcome& outcome);
// The same for a run that an error ended.
QMessageBox* ReportRunError(QWidget* parent, const QString& title, const QString& run, const QString& error);
