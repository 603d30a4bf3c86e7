#pragma once

#include "model/BaseObject.h"
#include "model/Guid.h"
#include "model/Property.h"

#include <QString>

/**
 * @brief A placeholder of an action whose value is worked out each time the action runs.
 *
 * ParameterValue is what to look up (configured in the dialog); GetParamResult
 * resolves it against the call snapshot and may set CancelAction to stop the
 * action. Subclasses are the value sources (call data, system, user variables,
 * questions, directory server, address book).
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
    Q_PROPERTY(bool CancelAction READ CancelAction WRITE SetCancelAction)
    Q_PROPERTY(bool SaveAsUserVariable READ SaveAsUserVariable WRITE SetSaveAsUserVariable)
    Q_PROPERTY(QString UserVariable READ UserVariable WRITE SetUserVariable)
    Q_PROPERTY(QString ParameterValue READ ParameterValue WRITE SetParameterValue)
    Q_PROPERTY(QString ParameterResult READ ParameterResult WRITE SetParameterResult)

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
    KESTRUN_FIELD(bool, CancelAction, false)
    // Store the result as the user variable named UserVariable of the snapshot.
    KESTRUN_FIELD(bool, SaveAsUserVariable, false)
    KESTRUN_FIELD(QString, UserVariable)
    KESTRUN_FIELD(QString, ParameterValue)
    KESTRUN_FIELD(QString, ParameterResult)

    virtual QString GetDescription() const;
    QString Description() const { return GetDescription(); }
    // The resolved text; the base clears CancelAction and returns the stored result.
    virtual QString GetParamResult();

    // The call value of that name ("orvixCallerNumber" ..., any letter case) read
    // from the line object and rendered in the regional formats; empty for a name
    // it does not know. Never throws: a failure is traced and gives what was rendered.
    QString GetOrvixParam(const QString& name) const;

protected:
    // Sets caption and icon (looked up by name in the program's icon list).
    void SetCaptionAndIcon(const QString& caption, QStringView iconName);

private:
    TObjectID m_id;
};
