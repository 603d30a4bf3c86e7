// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ActionOrvixCallControl.h"

#include "model/OrvixLine.h"
#include "telephony/ClientLineMgr.h"
#include "telephony/LineManagerError.h"
#include "trace/Trace.h"

TActionOrvixCallControl::TActionOrvixCallControl(QString unit, QString cannotExecute)
    : m_unit(std::move(unit))
    , m_cannotExecute(std::move(cannotExecute))
{
}

QString TActionOrvixCallControl::Title(QStringView function, QStringView text) const
{
    QString title = m_unit + QStringLiteral("::") + function;
    if (!text.isEmpty())
        title += u':' + text;
    return title;
}

std::shared_ptr<TClientLineMgr> TActionOrvixCallControl::LineConnection(const TOrvixLine& snapshot)
{
    if (snapshot.ClientLineMgr())
        return snapshot.ClientLineMgr();
    auto lineMgr = std::make_shared<TClientLineMgr>();
    lineMgr->Connect();
    return lineMgr;
}

bool TActionOrvixCallControl::CanExecuteProvider(const TOrvixLine& line) const
{
    Trace::Message(Title(u"CanExecuteProvider"));
    if (line.IsTestMode())
        return true;
    bool canExecute = false;
    try {
        canExecute = CanExecuteOnLine(line, *LineConnection(line));
    } catch (const std::exception& error) {
        Trace::Exception(Title(u"CanExecuteProvider"), error);
    }
    Trace::Value(Title(u"CanExecuteProvider", u"Result"), canExecute);
    return canExecute;
}

void TActionOrvixCallControl::ExecuteAction(TActionContext& context)
{
    TBaseAction::ExecuteAction(context);
    if (context.CancelAction())
        return;
    const std::shared_ptr<TOrvixLine>& snapshot = context.Line();
    if (!snapshot || !CanExecute(*snapshot)) {
        Trace::Warning(Title(u"ExecuteAction", m_cannotExecute));
        return;
    }
    // The rule test's call is made up: there is nothing on the line to act on.
    if (snapshot->IsTestMode()) {
        Trace::Message(Title(u"ExecuteAction", u"test mode: not executed"));
        return;
    }
    try {
        ActOnCall(context, *LineConnection(*snapshot));
    } catch (const ELineManagerError& error) {
        Trace::Exception(Title(u"ExecuteAction"), error);
        context.SetActionSuccessfull(false);
    }
}
