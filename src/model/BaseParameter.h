// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/ActionContext.h"
#include "model/BaseObject.h"
#include "model/Guid.h"
#include "model/Property.h"

#include <QString>

/**
 * @brief A placeholder of an action whose value is worked out each time the action runs.
 *
 * ParameterValue is what to look up (configured in the dialog); GetParamResult
 * resolves it against the call snapshot of the action's run and may cancel the
 * action through the run's context. Subclasses are the value sources (call
 * data, system, user variables, questions, directory server, address book);
 * each knows whether its text comes from the configuration, where %NAME%
 * references are expanded, or from outside (the caller, a server, the user),
 * where they are left as they are.
 */
class TBaseParameter : public TBaseObject
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString Description READ GetDescription)
    Q_PROPERTY(int IconIndex READ IconIndex WRITE SetIconIndex)
    Q_PROPERTY(QString Alias READ Alias WRITE SetAlias)
    Q_PROPERTY(bool ShowAlias READ ShowAlias WRITE SetShowAlias)
    Q_PROPERTY(bool ShowIfEmpty READ ShowIfEmpty WRITE SetShowIfEmpty)
    Q_PROPERTY(bool CancelOnNoResult READ CancelOnNoResult WRITE SetCancelOnNoResult)
    Q_PROPERTY(bool SaveAsUserVariable READ SaveAsUserVariable WRITE SetSaveAsUserVariable)
    Q_PROPERTY(QString UserVariable READ UserVariable WRITE SetUserVariable)
    Q_PROPERTY(QString ParameterValue READ ParameterValue WRITE SetParameterValue)

public:
    TBaseParameter();

    const QString& ID() const { return m_id.Get(); }
    // An empty ID is ignored: a parameter always keeps an identity.
    void SetID(const QString& id);

    KESTRUN_FIELD(QString, Caption)
    KESTRUN_FIELD(int, IconIndex, 0)
    // Alternative name, shown in message windows and used in template tags.
    KESTRUN_FIELD(QString, Alias)
    KESTRUN_FIELD(bool, ShowAlias, true)
    KESTRUN_FIELD(bool, ShowIfEmpty, false)
    // An empty result cancels the action (where the source supports it).
    KESTRUN_FIELD(bool, CancelOnNoResult, false)
    // Store the result as the user variable named UserVariable of the snapshot.
    KESTRUN_FIELD(bool, SaveAsUserVariable, false)
    KESTRUN_FIELD(QString, UserVariable)
    KESTRUN_FIELD(QString, ParameterValue)

    virtual QString GetDescription() const;
    QString Description() const { return GetDescription(); }
    // The resolved text for one run of the action; the base has no source and yields nothing.
    virtual QString GetParamResult(TActionContext& context);

    // The call value of that name ("orvixCallerNumber" ..., any letter case) read
    // from the snapshot and rendered in the regional formats; empty for a name it
    // does not know. Never throws: a failure is traced and gives what was rendered.
    QString GetOrvixParam(const TOrvixLine* line, const QString& name) const;

protected:
    // Sets caption and icon (looked up by name in the program's icon list).
    void SetCaptionAndIcon(const QString& caption, QStringView iconName);

private:
    TObjectID m_id;
};
