// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/RunReport.h"

#include "widgets/MessageBox.h"

namespace {

QString Quoted(const QString& text)
{
    return u'„' + text + u'“';
}

} // namespace

QMessageBox* ReportRunFailures(QWidget* parent, const QString& title, const QString& run, const TRunOutcome& outcome)
{
    if (outcome.FailedActions.isEmpty())
        return nullptr;
    QStringList failed;
    for (const QString& caption : outcome.FailedActions)
        failed << Quoted(caption);
    return TMessageBox::Notice(parent, title,
                               run + QStringLiteral(": Nicht gelungen ist ") + failed.join(QStringLiteral(", ")) +
                                   QStringLiteral(".\n\nEinzelheiten stehen im Protokoll."));
}

QMessageBox* ReportRunError(QWidget* parent, const QString& title, const QString& run, const QString& error)
{
    return TMessageBox::Notice(parent, title,
                               run + QStringLiteral(" wurde wegen eines Fehlers abgebrochen:\n") + error +
                                   QStringLiteral("\n\nEinzelheiten stehen im Protokoll."));
}
