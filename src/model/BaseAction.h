// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ActionContext.h"
#include "model/BaseList.h"

class TBaseParameter;

/**
 * @brief Something to do around a call; its items are the parameters (owned)
 * that feed it values, in resolution order.
 *
 * Subclasses set caption and icon in their constructors, describe themselves
 * in GetDescription and decide in CanExecuteProvider whether they can run now.
 */
class TBaseAction : public TBaseList
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString Description READ GetDescription)
    Q_PROPERTY(int IconIndex READ IconIndex WRITE SetIconIndex)

public:
    TBaseAction();
    ~TBaseAction() override;

    // The name shown in lists; subclasses set their own.
    KESTRUN_FIELD(QString, Caption)
    KESTRUN_FIELD(int, IconIndex, 0)

    // One-line summary for lists.
    virtual QString GetDescription() const;
    QString Description() const { return GetDescription(); }
    // Whether the action can run now on the call of line (call-control actions
    // ask its state). Only asks: a notification window refreshes its buttons with
    // it while runs of other calls share this action.
    bool CanExecute(const TOrvixLine& line) const { return CanExecuteProvider(line); }

    TBaseParameter* Parameter(int index) const;

    // Runs the action in the context of one run. The base resolves the
    // parameters into the context's ParamResultList (a parameter may cancel the
    // action); subclasses call it first, then do their work unless the context's
    // CancelAction is set, and say how it went in ActionSuccessfull.
    virtual void ExecuteAction(TActionContext& context);

protected:
    virtual bool CanExecuteProvider(const TOrvixLine& line) const;
    // Sets caption and icon (looked up by name in the program's icon list).
    void SetCaptionAndIcon(const QString& caption, QStringView iconName);
};
