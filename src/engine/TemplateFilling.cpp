// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/TemplateFilling.h"

#include "actions/ActionHTMLMessage.h"
#include "engine/HtmlValueEncoding.h"
#include "engine/PageProducer.h"
#include "engine/TemplateEditor_Core.h"
#include "model/BaseAction.h"
#include "model/BaseParameter.h"
#include "model/Guid.h"
#include "platform/AtomicFile.h"
#include "platform/DataPaths.h"
#include "platform/Environment.h"
#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QTextDocument>

namespace {

QString InvalidText()
{
    return QStringLiteral("invalid!");
}

QString PageProducerHTMLTag(const QString& tagName, const TTagAttributes& attributes, const QStringList* curResultList,
                            TTemplateFiller filler)
{
    const QString unit = filler == TTemplateFiller::SendEMail
        ? QStringLiteral("TAction_SendEMail::PageProducerHTMLTag: ")
        : QStringLiteral("TAction_OutlookBase::PageProducerHTMLTag: ");
    const QString searchString = TemplateKey(tagName, attributes);
    QString replaceText = curResultList ? ResultListValue(*curResultList, searchString) : QString();
    if (replaceText.isEmpty())
        replaceText = InvalidText();
    Trace::Value(unit + QStringLiteral("TagString"), tagName);
    Trace::Strings(unit + QStringLiteral("stringList_CurResultList"), curResultList ? *curResultList : QStringList());
    Trace::Value(unit + QStringLiteral("string_SearchString"), searchString);
    Trace::Value(unit + QStringLiteral("ReplaceText"), replaceText);
    return replaceText;
}

// The extension of the file name, with its dot; empty when the name has none.
QString FileExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(u'/') ? path.mid(dot) : QString();
}

// A mail template is HTML by its name or, whatever its name, by its own markup;
// never by what the values filled into it hold.
bool IsHtmlTemplate(const QString& document, QStringView source)
{
    const QString extension = FileExtension(document).toLower();
    if (extension == u".htm" || extension == u".html" || extension == u".xhtml")
        return true;
    return Qt::mightBeRichText(ProducePage(source, [](const QString&, const TTagAttributes&) { return QString(); }));
}

} // namespace

QStringList TemplateResultList(const QList<TParamResult>& results)
{
    QStringList lines;
    lines.reserve(results.size());
    for (const TParamResult& result : results) {
        if (result.Parameter)
            lines.append(TemplateKey(*result.Parameter) + u'=' + result.Result);
    }
    return lines;
}

QString ResultListValue(const QStringList& resultList, const QString& key)
{
    for (const QString& line : resultList) {
        const qsizetype separator = line.indexOf(u'=');
        if (separator >= 0 && QStringView(line).left(separator).compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(separator + 1);
    }
    return {};
}

QString HandleTemplate(const QString& document, const QStringList* curResultList, TTemplateFiller filler)
{
    return ProducePage(ReadTemplateFile(ExpandEnvironmentReferences(document)),
                       [&](const QString& tagName, const TTagAttributes& attributes) {
                           return PageProducerHTMLTag(tagName, attributes, curResultList, filler);
                       });
}

TMailBody HandleMailTemplate(const QString& document, const QStringList* curResultList)
{
    const QString source = ReadTemplateFile(ExpandEnvironmentReferences(document));
    const auto handler = [&](const QString& tagName, const TTagAttributes& attributes) {
        return PageProducerHTMLTag(tagName, attributes, curResultList, TTemplateFiller::SendEMail);
    };
    if (IsHtmlTemplate(document, source))
        return {ProduceHtmlPage(source, handler), true};
    return {ProducePage(source, handler), false};
}

QString HandleTemplate(const QString& document, const TActionContext& context, TTemplateFiller filler)
{
    const QStringList resultList = TemplateResultList(context.ParamResultList());
    return HandleTemplate(document, &resultList, filler);
}

QString FillHTMLTemplate(const QString& htmlTemplate, const QStringList& resultList)
{
    const QString source = ReadTemplateFile(ExpandEnvironmentReferences(htmlTemplate));
    Trace::Value("HtmlMessageForm::Navigate:HTML template before parsing", source);
    QString page = ProduceHtmlPage(source, [&](const QString& tagName, const TTagAttributes& attributes) {
        const QString id = attributes.Value(u"ID");
        const QString value = ResultListValue(resultList, id.isEmpty() ? TemplateKey(tagName, attributes) : id);
        return value.isEmpty() ? InvalidText() : value;
    });
    Trace::Value("HtmlMessageForm::Navigate:HTML template after parsing", page);
    return page;
}

QString CreateHTMLTemplatePage(const QString& htmlTemplate, const QStringList& resultList)
{
    const QString page = FillHTMLTemplate(htmlTemplate, resultList);
    QString path = UserDataPath() + u'/' + NewGuidString() + QStringLiteral(".HTMLTemplate") +
        FileExtension(ExpandEnvironmentReferences(htmlTemplate));
    // The mark makes the web view read the page as UTF-8 whatever charset the template declares.
    WriteFileAtomically(path, QByteArray("\xEF\xBB\xBF") + page.toUtf8());
    return path;
}

QString CreateHTMLTemplatePage(const TActionHTMLMessage& action, const TActionContext& context)
{
    return CreateHTMLTemplatePage(action.HTMLTemplate(), TemplateResultList(context.ParamResultList()));
}
