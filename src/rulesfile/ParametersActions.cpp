// SPDX-License-Identifier: GPL-3.0-or-later

// The content of the action and parameter records of a rules file: TParameters'
// readers and writers of "BaseAction" and "SubAction" elements.
#include "rulesfile/Parameters.h"

#include "actions/ActionBalloonMessage.h"
#include "actions/ActionDDEMessage.h"
#include "actions/ActionExecuteProgram.h"
#include "actions/ActionHTMLMessage.h"
#include "actions/ActionOpenDocument.h"
#include "actions/ActionOrvixDTMF.h"
#include "actions/ActionOutlookBase.h"
#include "actions/ActionOutlookSendMail.h"
#include "actions/ActionStopper.h"
#include "model/OrvixLine.h"
#include "model/XmlRecord.h"
#include "parameters/ParameterInteraction.h"
#include "parameters/ParameterOutlookAddressbook.h"
#include "parameters/ParameterSystem.h"
#include "parameters/ParameterUser.h"
#include "parameters/ParameterVelquist.h"
#include "platform/AsciiCase.h"
#include "rulesfile/RecordRoundTrip.h"
#include "rulesfile/RecordTypes.h"
#include "trace/Trace.h"

namespace {

const QString OutlookAddressbookPrefix = QStringLiteral("outlookaddressbook");

// The e-mail flags take "True"/"False" in any case or a decimal number (0 is
// false, any other number true); any other text is false, like other Booleans.
bool ReadLooseBoolean(pugi::xml_node node)
{
    std::string storage;
    std::string_view text = ElementText(node, storage);
    if (SameIgnoringAsciiCase(text, "true"))
        return true;
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    bool digits = false;
    bool nonZero = false;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            nonZero = nonZero || c != '0';
        } else {
            return false;
        }
    }
    return digits && nonZero;
}

// A parameter value keeps its blanks as "&nbsp;" in the file; most values have none.
QString ReadParamValue(const TXmlRecordReader& record)
{
    std::string storage;
    const std::string_view text = ElementText(record.Node("ParamValue"), storage);
    const QString value = record.TextOf(text);
    return text.find("&nbsp;") == std::string_view::npos ? value : TParameters::XmlToText(value);
}

// A message may carry anything after a "|" on a line; only the sequence ID before it counts.
QStringList CutAtBar(QStringList lines)
{
    for (QString& line : lines) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar >= 0)
            line.truncate(bar);
    }
    return lines;
}

QString WithoutOutlookPrefix(const QString& value)
{
    if (value.size() > OutlookAddressbookPrefix.size() && value.startsWith(OutlookAddressbookPrefix))
        return value.mid(OutlookAddressbookPrefix.size());
    return value;
}

// Older files spell some elements differently; the current name wins when both exist.
pugi::xml_node NodeOrAlternative(const TXmlRecordReader& record, TFieldName name, TFieldName alternative)
{
    const pugi::xml_node node = record.Node(name);
    return node ? node : record.Node(alternative);
}

void WriteMessageBlock(TXmlRecordWriter& record, const TActionBaseMessage* message)
{
    record.Boolean("TimeOut", message->TimeOut());
    record.Integer("TimeOutSec", message->TimeOutSec());
    record.Lines("AssociatedActionSequences", message->ActionSequencesIDs());
}

void ReadMessageBlock(const TXmlRecordReader& record, TActionBaseMessage* message)
{
    message->SetTimeOut(record.Boolean("TimeOut"));
    message->SetTimeOutSec(record.Integer("TimeOutSec"));
    message->SetActionSequencesIDs(CutAtBar(record.Lines("AssociatedActionSequences")));
}

} // namespace

void TParameters::WriteBaseAction(TXmlRecordWriter& record, const TBaseAction* action) const
{
    WriteBaseActionValues(record, action);
    TXmlRecordWriter parameters = record.Child("AllSubActions");
    for (int i = 0; i < action->Count(); ++i) {
        if (const TBaseParameter* parameter = action->Parameter(i)) {
            TXmlRecordWriter parameterRecord = parameters.Item("SubAction", i + 1);
            WriteParameterValues(parameterRecord, parameter);
        }
    }
}

std::unique_ptr<TBaseAction> TParameters::ReadBaseAction(const TXmlRecordReader& record)
{
    std::string storage;
    std::unique_ptr<TBaseAction> action = ::GetBaseActionObject(ElementText(record.Node("BaseActionType"), storage));
    if (!action)
        return nullptr;
    action->SetOrvixLine(m_orvixLine);
    ReadBaseActionValues(record, action.get(), 0);
    ReadParameters(record, action.get(), true, "Parameters::LoadBaseAction:Parameter:");
    return action;
}

void TParameters::ReadParameters(const TXmlRecordReader& action, TBaseAction* target, bool giveLine,
                                 const char* traceTitle)
{
    const TNumberedNodes parameters(action.Node("AllSubActions"), "SubAction");
    std::string storage;
    const auto parameterElements = parameters.ReadingOrder();
    target->Reserve(int(parameterElements.size()));
    for (const pugi::xml_node parameterElement : parameterElements) {
        const TXmlRecordReader record = action.Record(parameterElement);
        std::unique_ptr<TBaseParameter> parameter =
            ::GetParameterObject(ElementText(record.Node("ParamType"), storage));
        if (!parameter)
            continue;
        if (giveLine)
            parameter->SetOrvixLine(m_orvixLine);
        ReadParameterValues(record, parameter.get());
        Trace::Value(traceTitle, parameter->Caption());
        target->AddNewItem(parameter.release());
    }
}

void TParameters::WriteBaseActionValues(TXmlRecordWriter& record, const TBaseAction* action) const
{
    record.Text("ID", action->ID());
    record.Text("BaseActionType", GetBaseActionType(action));
    record.Boolean("Active", action->Active());
    record.Text("Caption", action->Caption());

    // The blocks of a class and its descendants, in a fixed order: an Outlook
    // e-mail writes its own block before the e-mail block it inherits.
    if (const auto* stopper = qobject_cast<const TActionStopper*>(action)) {
        record.Boolean("BlockOnSuccess", stopper->BlockOnSuccess());
        record.Boolean("BlockAllActions", stopper->BlockAllActions());
        record.Integer("BlockCount", stopper->BlockCount());
    }
    if (const auto* program = qobject_cast<const TActionExecuteProgram*>(action)) {
        record.Text("ProgramPath", program->ProgramPath());
        record.Boolean("WaitForTerminate", program->WaitForTerminate());
    }
    if (const auto* document = qobject_cast<const TActionOpenDocument*>(action))
        record.Text("DocPath", document->DocPath());
    if (const auto* dtmf = qobject_cast<const TActionOrvixDTMF*>(action))
        record.Text("DTMF", dtmf->DtmfSigns());
    if (const auto* dde = qobject_cast<const TActionDDEMessage*>(action)) {
        record.Text("DDEService", dde->DDEService());
        record.Text("DDETopic", dde->DDETopic());
    }
    if (const auto* balloon = qobject_cast<const TActionBalloonMessage*>(action))
        WriteMessageBlock(record, balloon);
    if (const auto* html = qobject_cast<const TActionHTMLMessage*>(action)) {
        WriteMessageBlock(record, html);
        record.Boolean("ShowInvisible", html->ShowInvisible());
        record.Boolean("DefaultWidth", html->DefaultWidth());
        record.Text("HTMLWebserverUrl", html->HTMLWebserverUrl());
        record.Text("HTMLTemplate", html->HTMLTemplate());
        record.Text("HtmlMessageHeight", html->HTMLMessageHeight());
        record.Text("HtmlMessageWidth", html->HTMLMessageWidth());
        record.Text("HTMLUser", html->HTMLUser());
        record.Text("HTMLPassword", html->HTMLPassword());
    }
    if (const auto* item = qobject_cast<const TActionOutlookBase*>(action)) {
        record.Text("Template", item->Template());
        record.Boolean("TemplateActive", item->TemplateActive());
    }
    if (const auto* outlookMail = qobject_cast<const TActionOutlookSendMail*>(action)) {
        record.Boolean("SendEMailImmediately", outlookMail->SendEMailImmediately());
        record.Lines("Attachments", outlookMail->Attachments());
        record.Boolean("AttachmentsActive", outlookMail->AttachmentsActive());
    }
    if (const auto* mail = qobject_cast<const TActionSendEMail*>(action)) {
        record.Boolean("IsDummy", mail->IsDummy());
        record.Lines("ParameterList", mail->ParameterList());
        // The e-mail field an inner action serves; readers that do not know it pass it over.
        if (mail->FieldID() != -1)
            record.Integer("FieldID", mail->FieldID());
        if (!mail->IsDummy() && !mail->InnerBaseActions().empty()) {
            TXmlRecordWriter inner = record.Child("InnerBaseActions.AllBaseActions");
            int number = 0;
            for (const auto& innerAction : mail->InnerBaseActions()) {
                TXmlRecordWriter innerRecord = inner.Item("BaseAction", ++number);
                WriteBaseAction(innerRecord, innerAction.get());
            }
        }
    }
}

void TParameters::ReadBaseActionValues(const TXmlRecordReader& record, TBaseAction* action, int depth)
{
    if (!action)
        return;
    action->SetID(record.Text("ID"));
    action->SetActive(record.Boolean("Active"));
    if (const pugi::xml_node caption = record.Node("Caption"))
        action->SetCaption(record.Text(caption, action->Caption()));

    if (auto* stopper = qobject_cast<TActionStopper*>(action)) {
        stopper->SetBlockOnSuccess(record.Boolean("BlockOnSuccess"));
        stopper->SetBlockAllActions(record.Boolean("BlockAllActions"));
        stopper->SetBlockCount(record.Integer("BlockCount"));
    }
    if (auto* program = qobject_cast<TActionExecuteProgram*>(action)) {
        program->SetProgramPath(record.Text("ProgramPath"));
        program->SetWaitForTerminate(record.Boolean("WaitForTerminate"));
    }
    if (auto* document = qobject_cast<TActionOpenDocument*>(action))
        document->SetDocPath(record.Text("DocPath"));
    if (auto* dtmf = qobject_cast<TActionOrvixDTMF*>(action))
        dtmf->SetDtmfSigns(record.Text("DTMF"));
    if (auto* dde = qobject_cast<TActionDDEMessage*>(action)) {
        dde->SetDDEService(record.Text("DDEService"));
        dde->SetDDETopic(record.Text("DDETopic"));
    }
    if (auto* balloon = qobject_cast<TActionBalloonMessage*>(action))
        ReadMessageBlock(record, balloon);
    if (auto* html = qobject_cast<TActionHTMLMessage*>(action)) {
        ReadMessageBlock(record, html);
        html->SetShowInvisible(record.Boolean("ShowInvisible"));
        html->SetDefaultWidth(record.Boolean("DefaultWidth"));
        html->SetHTMLWebserverUrl(record.Text("HTMLWebserverUrl"));
        html->SetHTMLTemplate(record.Text("HTMLTemplate"));
        html->SetHTMLMessageHeight(record.Text("HtmlMessageHeight", html->HTMLMessageHeight()));
        html->SetHTMLMessageWidth(record.Text("HtmlMessageWidth", html->HTMLMessageWidth()));
        html->SetHTMLUser(record.Text("HTMLUser"));
        html->SetHTMLPassword(record.Text("HTMLPassword"));
    }
    if (auto* item = qobject_cast<TActionOutlookBase*>(action)) {
        item->SetTemplate(record.Text("Template"));
        item->SetTemplateActive(record.Boolean("TemplateActive"));
    }
    if (auto* outlookMail = qobject_cast<TActionOutlookSendMail*>(action)) {
        // Files from before these fields existed keep the constructor's values.
        if (const pugi::xml_node node = record.Node("SendEMailImmediately"))
            outlookMail->SetSendEMailImmediately(ReadLooseBoolean(node));
        if (const pugi::xml_node node = record.Node("Attachments"))
            outlookMail->SetAttachments(ReadLines(node));
        if (const pugi::xml_node node = record.Node("AttachmentsActive"))
            outlookMail->SetAttachmentsActive(ReadBoolean(node));
    }
    auto* mail = qobject_cast<TActionSendEMail*>(action);
    if (!mail)
        return;
    mail->SetIsDummy(ReadLooseBoolean(record.Node("IsDummy")));
    mail->SetParameterList(record.Lines("ParameterList"));
    if (const pugi::xml_node node = record.Node("FieldID"))
        mail->SetFieldID(ReadInteger(node));

    const pugi::xml_node all = record.Node("InnerBaseActions.AllBaseActions");
    if (!all)
        return;
    if (depth >= MaxInnerActionDepth) {
        Trace::Warning("Parameters::GetBaseActionValues:Inner actions nested too deeply, not read", mail->ID());
        return;
    }
    int count = 0;
    for (pugi::xml_node child = all.first_child(); child; child = child.next_sibling())
        count += child.type() == pugi::node_element ? 1 : 0;
    mail->ClearInnerBaseActions();
    // Numbers 1 to the count of child elements; a number without its element is passed over.
    const TNumberedNodes inner(all, "BaseAction");
    for (int number = 1; number <= count; ++number) {
        const pugi::xml_node innerElement = inner.Find(number);
        if (!innerElement)
            continue;
        // Whatever type the element names: an inner action is an e-mail action.
        auto innerAction = std::make_unique<TActionSendEMail>();
        const TXmlRecordReader innerRecord = record.Record(innerElement);
        ReadBaseActionValues(innerRecord, innerAction.get(), depth + 1);
        ReadParameters(innerRecord, innerAction.get(), false, "Parameters::GetBaseActionValues:Action:");
        // Files written before the field number was kept list the inner actions in field order.
        if (innerAction->FieldID() < 0)
            innerAction->SetFieldID(number - 1);
        // An inner action only resolves its parameters, whatever the file says.
        innerAction->SetIsDummy(true);
        // Older dialogs added an inner action at each opening: the first of a field counts.
        if (mail->InnerBaseActionForField(innerAction->FieldID())) {
            Trace::Warning("Parameters::GetBaseActionValues:Second inner action of a field, not read",
                           QString::number(innerAction->FieldID()));
            continue;
        }
        mail->AddInnerBaseAction(std::move(innerAction));
    }
}

void TParameters::WriteParameterValues(TXmlRecordWriter& record, const TBaseParameter* parameter) const
{
    record.Text("ID", parameter->ID());
    record.Text("Caption", parameter->Caption());
    record.Text("ParamType", GetParameterType(parameter));
    record.Text("Alias", parameter->Alias());
    record.Boolean("ShowAlias", parameter->ShowAlias());
    record.Boolean("ShowIfEmpty", parameter->ShowIfEmpty());
    record.Boolean("CancelOnNoResult", parameter->CancelOnNoResult());
    record.Text("ParamValue", TextToXml(parameter->ParameterValue()));
    record.Boolean("SaveAsUserVariable", parameter->SaveAsUserVariable());
    record.Text("UserVariable", parameter->UserVariable());

    if (const auto* user = qobject_cast<const TParameterUser*>(parameter))
        record.Boolean("IsVariable", user->IsVariable());
    if (const auto* interaction = qobject_cast<const TParameterInteraction*>(parameter)) {
        record.Text("Query", interaction->Query());
        record.Boolean("IsSimpleInput", interaction->IsSimpleInput());
        record.Text("Items", interaction->Items());
    }
    if (const auto* velquist = qobject_cast<const TParameterVelquist*>(parameter)) {
        record.Text("LDAPFilter", velquist->SearchField());
        record.Text("LDAPDC", velquist->SearchBase());
        record.Boolean("LDAPSearchOptionOrvixValue", velquist->SearchOptionOrvix());
        record.Text("LDAPOrvixParam", velquist->SearchOptionOrvixValue());
        record.Boolean("LDAPSearchOptionUserVariableValue", velquist->SearchOptionUser());
        record.Text("LDAPUserSearchParam", velquist->SearchOptionUserValue());
    }
    if (const auto* addressbook = qobject_cast<const TParameterOutlookAddressbook*>(parameter)) {
        record.Text("SearchField", addressbook->SearchField());
        record.Boolean("SearchOptionOrvix", addressbook->SearchOptionOrvix());
        record.Text("SearchOptionOrvixValue", addressbook->SearchOptionOrvixValue());
        record.Boolean("SearchOption_UserVariable", addressbook->SearchOptionUser());
        record.Text("SearchOptionUserVariableValue", addressbook->SearchOptionUserValue());
    }
    if (const auto* system = qobject_cast<const TParameterSystem*>(parameter)) {
        record.Text("Type", QString::number(int(system->ParamType())));
        record.Text("EnvironmentalVariable", system->EnvironmentalVariable());
        record.Text("FormatTime", system->TimeFormat());
        record.Text("FormatDate", system->DateFormat());
        record.Text("FormatDateTime", system->DateTimeFormat());
    }
}

void TParameters::ReadParameterValues(const TXmlRecordReader& record, TBaseParameter* parameter)
{
    if (!parameter)
        return;
    parameter->SetID(record.Text("ID"));
    if (const pugi::xml_node caption = record.Node("Caption"))
        parameter->SetCaption(record.Text(caption, parameter->Caption()));
    parameter->SetAlias(record.Text("Alias"));
    parameter->SetShowAlias(record.Boolean("ShowAlias"));
    parameter->SetShowIfEmpty(record.Boolean("ShowIfEmpty"));
    parameter->SetCancelOnNoResult(record.Boolean("CancelOnNoResult"));
    parameter->SetParameterValue(ReadParamValue(record));
    parameter->SetSaveAsUserVariable(record.Boolean("SaveAsUserVariable"));
    parameter->SetUserVariable(record.Text("UserVariable"));
    RegisterUserVariable(parameter->UserVariable());

    if (auto* user = qobject_cast<TParameterUser*>(parameter))
        user->SetIsVariable(record.Boolean("IsVariable"));
    if (auto* interaction = qobject_cast<TParameterInteraction*>(parameter)) {
        interaction->SetQuery(record.Text("Query"));
        interaction->SetIsSimpleInput(record.Boolean("IsSimpleInput"));
        interaction->SetItems(record.Text("Items"));
    }
    if (auto* velquist = qobject_cast<TParameterVelquist*>(parameter)) {
        velquist->SetSearchField(record.Text("LDAPFilter", velquist->SearchField()));
        velquist->SetSearchBase(record.Text("LDAPDC", velquist->SearchBase()));
        velquist->SetSearchOptionOrvix(record.Boolean("LDAPSearchOptionOrvixValue"));
        velquist->SetSearchOptionOrvixValue(record.Text("LDAPOrvixParam", velquist->SearchOptionOrvixValue()));
        velquist->SetSearchOptionUser(record.Boolean("LDAPSearchOptionUserVariableValue"));
        velquist->SetSearchOptionUserValue(record.Text("LDAPUserSearchParam"));
    }
    if (auto* addressbook = qobject_cast<TParameterOutlookAddressbook*>(parameter)) {
        addressbook->SetSearchField(record.Text("SearchField"));
        addressbook->SetSearchOptionOrvix(
            ReadBoolean(NodeOrAlternative(record, "SearchOptionOrvix", "SearchOption_Orvix")));
        addressbook->SetSearchOptionOrvixValue(
            record.Text(NodeOrAlternative(record, "SearchOptionOrvixValue", "SearchOption_Orvix_Value")));
        addressbook->SetSearchOptionUser(record.Boolean("SearchOption_UserVariable"));
        addressbook->SetSearchOptionUserValue(
            record.Text(NodeOrAlternative(record, "SearchOptionUserVariableValue", "SearchOption_UserVariable_Value")));
        // Values once stored with the parameter's type in front of the field name.
        addressbook->SetParameterValue(WithoutOutlookPrefix(addressbook->ParameterValue()));
        addressbook->SetSearchField(WithoutOutlookPrefix(addressbook->SearchField()));
    }
    if (auto* system = qobject_cast<TParameterSystem*>(parameter)) {
        std::string storage;
        const std::string_view type = ElementText(record.Node("Type"), storage);
        if (type.size() == 1 && type[0] >= '0' && type[0] <= '7')
            system->SetParamType(SystemParameter(type[0] - '0'));
        system->SetEnvironmentalVariable(record.Text("EnvironmentalVariable"));
        system->SetTimeFormat(record.Text("FormatTime"));
        system->SetDateFormat(record.Text("FormatDate"));
        system->SetDateTimeFormat(record.Text("FormatDateTime"));
    }
}

void TParameters::RegisterUserVariable(const QString& name)
{
    // The names collected here are the variables the user-parameter dialog offers.
    if (!name.isEmpty() && m_orvixLine && !m_orvixLine->TemporaryVariables().contains(name))
        m_orvixLine->SetUserVariable(name, QString());
}

std::unique_ptr<TBaseAction> TParameters::CopyAction(const TBaseAction& source)
{
    return ThroughRecord(
        "BaseAction", [&](TXmlRecordWriter& record) { WriteBaseAction(record, &source); },
        [&](const TXmlRecordReader& record) { return ReadBaseAction(record); });
}

std::unique_ptr<TBaseParameter> TParameters::CopyParameter(const TBaseParameter& source)
{
    return ThroughRecord(
        "SubAction", [&](TXmlRecordWriter& record) { WriteParameterValues(record, &source); },
        [&](const TXmlRecordReader& record) {
            std::string storage;
            std::unique_ptr<TBaseParameter> copy = ::GetParameterObject(ElementText(record.Node("ParamType"), storage));
            if (copy) {
                copy->SetOrvixLine(source.OrvixLine());
                ReadParameterValues(record, copy.get());
            }
            return copy;
        });
}
