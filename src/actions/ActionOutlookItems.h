// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ActionOutlookBase.h"

// The four item actions differ only in the kind of item they open, their
// caption, their icon and their trace titles.

class TActionOutlookNote : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookNote();
    void ExecuteAction(TActionContext& context) override;
};

class TActionOutlookJournal : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookJournal();
    void ExecuteAction(TActionContext& context) override;
};

class TActionOutlookCalendar : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookCalendar();
    void ExecuteAction(TActionContext& context) override;
};

class TActionOutlookTask : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookTask();
    void ExecuteAction(TActionContext& context) override;
};
