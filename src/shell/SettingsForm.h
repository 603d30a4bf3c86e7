// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/ui/MessageWindows.h"
#include "frontend/MessageWindowRequest.h"
#include "settings/Storage.h"
#include "settings/UserSettings.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TSettingsForm;
}

class TBaseMessageForm;

/**
 * @brief The settings dialog "Settings": where the global template comes from
 * (page "Globale Einstellungen") and how notification windows look (page
 * "Benachrichtigungen").
 *
 * A value dialog: it shows the values it is given and hands them to the save
 * function on "Speichern", staying open with a message when that fails.
 * "Abbrechen" saves nothing. While the notification page shows, two
 * demonstration windows (a standard message and an HTML message, the program's
 * own message windows in a stack of their own) show the chosen monitor, corner,
 * colour and opacity as the user changes them; they live as long as the dialog,
 * and closing one only hides it.
 */
class TSettingsForm : public QDialog
{
    Q_OBJECT

public:
    // Saves both kinds of values as one step; throws EKestrunError with the cause
    // when they cannot be saved (nothing is in force then).
    using TSave = std::function<void(const TStorageOptions& options, const TNotificationSettings& settings)>;

    TSettingsForm(const TStorageOptions& options, const TNotificationSettings& settings, TSave save,
                  QWidget* parent = nullptr);
    ~TSettingsForm() override;

    // The values as the dialog shows them now.
    TStorageOptions StorageOptions() const;
    TNotificationSettings NotificationSettings() const;

    // Where mode 2 takes the template from: DefaultGlobalTemplatePath() unless told.
    void SetDefaultTemplateFolder(const QString& folder) { m_defaultTemplateFolder = folder; }

    // The demonstration windows; null before the notification page was first shown.
    TBaseMessageForm* TestBalloonForm() const;
    TBaseMessageForm* TestHtmlForm() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ValidateForm();
    void pageControl_SettingsChange();
    void speedButton_PickColorClick();
    void button_SaveClick();
    // The questions before a save; false when the user said no.
    bool ConfirmStorageOptions(const TStorageOptions& options);
    void ShowDemonstrations(bool shown);
    int Position() const;
    void SetPosition(int position);

    std::unique_ptr<Ui::TSettingsForm> ui;
    TNotificationSettings m_savedSettings;
    TSave m_save;
    // The colour dialog's colour: the user's own notification colour.
    TColor m_ownColor;
    QString m_defaultTemplateFolder;
    TMessageWindows m_demoWindows;
    TMessageWindowRequest m_balloonRequest;
    TMessageWindowRequest m_htmlRequest;
    bool m_saving = false;
};
