#include "rulesfile/RecordTypes.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOpenDocument.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOrvixEndCall.h"
#include "actions/ActionOrvixTakeCall.h"
#include "actions/ActionOutlookContact.h"
#include "actions/ActionOutlookItems.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOrvix.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "platform/AsciiCase.h"

#include <array>

namespace {

template <typename Base>
struct TypeEntry
{
    std::string_view identifier;
    const QMetaObject* meta;
    std::unique_ptr<Base> (*make)();
};

template <typename Base, typename T>
TypeEntry<Base> Entry(std::string_view identifier)
{
    return {identifier, &T::staticMetaObject, [] { return std::unique_ptr<Base>(std::make_unique<T>()); }};
}

// The two abstract-looking bases (TActionBaseMessage, TActionOutlookBase) have no
// identifier: files never hold them.
const std::array<TypeEntry<TBaseAction>, 16>& ActionTable()
{
    static const std::array<TypeEntry<TBaseAction>, 16> table {
        Entry<TBaseAction, TActionExecuteProgram>("baExecuteProgram"),
        Entry<TBaseAction, TActionOpenDocument>("baOpenDoc"),
        Entry<TBaseAction, TActionDDEMessage>("baDDE"),
        Entry<TBaseAction, TActionSendEMail>("baSendEMail"),
        Entry<TBaseAction, TActionBalloonMessage>("baShowBalloonMessage"),
        Entry<TBaseAction, TActionHTMLMessage>("baShowHtmlMessage"),
        Entry<TBaseAction, TActionOutlookSendMail>("baOutlookEMail"),
        Entry<TBaseAction, TActionOutlookJournal>("baOutlookJournal"),
        Entry<TBaseAction, TActionOutlookCalendar>("baOutlookCalendar"),
        Entry<TBaseAction, TActionOutlookNote>("baOutlookNote"),
        Entry<TBaseAction, TActionOutlookTask>("baOutlookTask"),
        Entry<TBaseAction, TActionOutlookContact>("baOutlookContact"),
        Entry<TBaseAction, TActionStopper>("baStopper"),
        Entry<TBaseAction, TActionOrvixTakeCall>("baOrvixTakeCall"),
        Entry<TBaseAction, TActionOrvixEndCall>("baOrvixEndCall"),
        Entry<TBaseAction, TActionOrvixDTMF>("baOrvixDTMF"),
    };
    return table;
}

const std::array<TypeEntry<TBaseParameter>, 6>& ParameterTable()
{
    static const std::array<TypeEntry<TBaseParameter>, 6> table {
        Entry<TBaseParameter, TParameterOrvix>("saOrvix"),
        Entry<TBaseParameter, TParameterVelquist>("saLDAP"),
        Entry<TBaseParameter, TParameterInteraction>("saInteraction"),
        Entry<TBaseParameter, TParameterUser>("saUserParam"),
        Entry<TBaseParameter, TParameterSystem>("saSystemParam"),
        Entry<TBaseParameter, TParameterOutlookAddressbook>("saOutlookAddressbook"),
    };
    return table;
}

QString ToQString(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

template <typename Base, std::size_t N>
QString TypeOf(const std::array<TypeEntry<Base>, N>& table, const Base* object)
{
    if (!object)
        return {};
    for (const auto& entry : table) {
        if (object->metaObject() == entry.meta)
            return ToQString(entry.identifier);
    }
    return {};
}

template <typename Base, std::size_t N>
std::unique_ptr<Base> Make(const std::array<TypeEntry<Base>, N>& table, std::string_view identifier)
{
    for (const auto& entry : table) {
        if (SameIgnoringAsciiCase(entry.identifier, identifier))
            return entry.make();
    }
    return nullptr;
}

template <typename Base, std::size_t N>
QStringList Identifiers(const std::array<TypeEntry<Base>, N>& table)
{
    QStringList result;
    for (const auto& entry : table)
        result.append(ToQString(entry.identifier));
    return result;
}

} // namespace

QString GetBaseActionType(const TBaseAction* action)
{
    return TypeOf(ActionTable(), action);
}

std::unique_ptr<TBaseAction> GetBaseActionObject(std::string_view identifier)
{
    return Make(ActionTable(), identifier);
}

std::unique_ptr<TBaseAction> GetBaseActionObject(QStringView identifier)
{
    const QByteArray utf8 = identifier.toUtf8();
    return GetBaseActionObject(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString GetParameterType(const TBaseParameter* parameter)
{
    const QString type = TypeOf(ParameterTable(), parameter);
    return type.isEmpty() ? QStringLiteral("unknown") : type;
}

std::unique_ptr<TBaseParameter> GetParameterObject(std::string_view identifier)
{
    return Make(ParameterTable(), identifier);
}

std::unique_ptr<TBaseParameter> GetParameterObject(QStringView identifier)
{
    const QByteArray utf8 = identifier.toUtf8();
    return GetParameterObject(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QStringList BaseActionTypes()
{
    return Identifiers(ActionTable());
}

QStringList ParameterTypes()
{
    return Identifiers(ParameterTable());
}
