#pragma once

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
    Q_PROPERTY(bool CancelAction READ CancelAction WRITE SetCancelAction)
    Q_PROPERTY(bool ActionSuccessfull READ ActionSuccessfull WRITE SetActionSuccessfull)

public:
    TBaseAction();
    ~TBaseAction() override;

    // The name shown in lists; subclasses set their own.
    KESTRUN_FIELD(QString, Caption)
    KESTRUN_FIELD(int, IconIndex, 0)
    // Set when the last run was cancelled by a parameter; ends the sequence.
    KESTRUN_FIELD(bool, CancelAction, false)
    // Outcome of the last run, read by the stoppers of the sequence.
    KESTRUN_FIELD(bool, ActionSuccessfull, true)

    // One-line summary for lists.
    virtual QString GetDescription() const;
    QString Description() const { return GetDescription(); }
    // Whether the action can run now (call-control actions ask the live line).
    bool CanExecute() { return CanExecuteProvider(); }

    TBaseParameter* Parameter(int index) const;

    // Runs the action. The base resolves the parameters into ParamResultList
    // (a parameter may cancel the action); subclasses call it first, then do
    // their work unless CancelAction is set.
    virtual void ExecuteAction();
    // The parameters resolved in the last run, in order; not owned.
    const QList<TBaseParameter*>& ParamResultList() const { return m_paramResultList; }
    QList<TBaseParameter*>& ParamResultList() { return m_paramResultList; }

protected:
    virtual bool CanExecuteProvider();
    // Sets caption and icon (looked up by name in the program's icon list).
    void SetCaptionAndIcon(const QString& caption, QStringView iconName);

private:
    QList<TBaseParameter*> m_paramResultList;
};
