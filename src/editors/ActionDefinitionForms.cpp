#include "editors/ActionDefinitionForms.h"

#include "editors/ActionPropertyForm.h"
#include "model/BaseAction.h"

#include <QHash>

QString ActionDefinitionCaption(const TBaseAction& action)
{
    // By the exact class: subclasses (the Outlook e-mail of the e-mail action) have rows of their own.
    static const QHash<QLatin1StringView, QString> captions = {
        {QLatin1StringView("TActionExecuteProgram"), QStringLiteral("Aktion definieren")},
        {QLatin1StringView("TActionOpenDocument"), QStringLiteral("Aktion definieren")},
        {QLatin1StringView("TActionDDEMessage"), QStringLiteral("DDE Aktion definieren")},
        {QLatin1StringView("TActionHTMLMessage"), QStringLiteral("HTML-Benachrichtung")},
        {QLatin1StringView("TActionBalloonMessage"), QStringLiteral("Standard-Benachrichtigung")},
        {QLatin1StringView("TActionSendEMail"), QStringLiteral("E-Mail senden")},
        {QLatin1StringView("TActionOutlookSendMail"), QStringLiteral("E-Mail senden")},
        {QLatin1StringView("TActionOutlookJournal"), QStringLiteral("Outlook Journal-Eintrag erzeugen")},
        {QLatin1StringView("TActionOutlookNote"), QStringLiteral("Outlook Notiz erzeugen")},
        {QLatin1StringView("TActionOutlookTask"), QStringLiteral("Outlook Aufgabe erzeugen")},
        {QLatin1StringView("TActionOutlookCalendar"), QStringLiteral("Outlook Kalendereintrag erzeugen")},
        {QLatin1StringView("TActionStopper"), QStringLiteral("Aktionsstopper definieren")},
        {QLatin1StringView("TActionOrvixTakeCall"), QStringLiteral("Gespräch annehmen")},
        {QLatin1StringView("TActionOrvixEndCall"), QStringLiteral("Gespräch beenden")},
        {QLatin1StringView("TActionOrvixDTMF"), QStringLiteral("DTMF senden")},
    };
    return captions.value(QLatin1StringView(action.metaObject()->className()));
}

int ShowActionDefinitionForm(TBaseAction& action, QWidget* parent)
{
    const QString caption = ActionDefinitionCaption(action);
    if (caption.isEmpty())
        return QDialog::Rejected;
    TActionPropertyForm form(action, caption, parent);
    return form.exec();
}
