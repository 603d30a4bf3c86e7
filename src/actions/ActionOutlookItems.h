#pragma once

#include "actions/ActionOutlookBase.h"

// The four item actions differ only in the kind of item they open, their
// caption and their icon.

class TActionOutlookNote : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookNote();
};

class TActionOutlookJournal : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookJournal();
};

class TActionOutlookCalendar : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookCalendar();
};

class TActionOutlookTask : public TActionOutlookBase
{
    Q_OBJECT

public:
    TActionOutlookTask();
};
