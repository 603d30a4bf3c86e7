// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/SettingsForm.h"

#include "actions/ui/HtmlMessageForm.h"
#include "model/OrvixLine.h"
#include "platform/BackgroundWait.h"
#include "settings/NotificationColor.h"
#include "trace/Trace.h"
#include "widgets/CenteredWindow.h"
#include "widgets/MessageBox.h"

#include "ui_SettingsForm.h"

#include <QColorDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>

namespace {

const QString BalloonDemoID = QStringLiteral("{SettingsForm.TestBalloonForm}");
const QString HtmlDemoID = QStringLiteral("{SettingsForm.TestHtmlForm}");
// Ships with the program: the settings reach no server.
const QString HtmlDemoPage = QStringLiteral(":/settings/demo-notification.htm");

// The dialog's check box states in the order of the storage modes 0, 1, 2.
Qt::CheckState CheckStateOf(TGlobalTemplateMode mode)
{
    switch (mode) {
    case gtNone:
        return Qt::Unchecked;
    case gtFromPath:
        return Qt::Checked;
    case gtFromDefaultFolder:
        break;
    }
    return Qt::PartiallyChecked;
}

TGlobalTemplateMode ModeOf(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return gtNone;
    case Qt::Checked:
        return gtFromPath;
    case Qt::PartiallyChecked:
        break;
    }
    return gtFromDefaultFolder;
}

std::shared_ptr<TOrvixLine> TestLine()
{
    auto line = std::make_shared<TOrvixLine>();
    line->SetIsTestMode(true);
    return line;
}

TMessageWindowRequest DemoRequest(TMessageWindowRequest::TKind kind, const QString& id, const QString& caption)
{
    TMessageWindowRequest request;
    request.Kind = kind;
    request.ActionID = id;
    request.Caption = caption;
    request.Line = TestLine();
    request.Demonstration = true;
    return request;
}

// What the template folder is like; asked off the main thread, since it is
// usually on a server that may not answer.
struct TTemplateFolder
{
    bool exists = false;
    bool holdsXmlFiles = false;
};

} // namespace

TSettingsForm::TSettingsForm(const TStorageOptions& options, const TNotificationSettings& settings, TSave save,
                             QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TSettingsForm>())
    , m_savedSettings(settings)
    , m_save(std::move(save))
    , m_ownColor(settings.DesktopNotificationColor)
    , m_defaultTemplateFolder(DefaultGlobalTemplatePath())
    , m_demoWindows(settings, {})
    , m_balloonRequest(
          DemoRequest(TMessageWindowRequest::TKind::Balloon, BalloonDemoID, QStringLiteral("Demo Standard-Nachricht")))
    , m_htmlRequest(
          DemoRequest(TMessageWindowRequest::TKind::Html, HtmlDemoID, QStringLiteral("Demo Html-Benachrichtigung")))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // A fixed dialog keeps its size: the accent colour's room stays while it is hidden.
    QSizePolicy accentPolicy = ui->checkBox_AccentColor->sizePolicy();
    accentPolicy.setRetainSizeWhenHidden(true);
    ui->checkBox_AccentColor->setSizePolicy(accentPolicy);
    m_balloonRequest.Rows = {{QStringLiteral("Anrufer"), QStringLiteral("Erika Mustermann")},
                             {QStringLiteral("Firma"), QStringLiteral("Musterfirma GmbH")}};
    m_htmlRequest.Page.Template = HtmlDemoPage;
    m_demoWindows.SetHtmlFormFactory([](const TBaseMessageForm::TModelSource& modelSource) {
        return std::make_unique<THtmlMessageForm>(modelSource);
    });

    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QSize size = screens[i]->geometry().size();
        ui->comboBox_Monitor->addItem(
            QStringLiteral("Monitor %1 (%2x%3)").arg(i + 1).arg(size.width()).arg(size.height()));
    }
    ui->comboBox_Monitor->setCurrentIndex(0);
    if (settings.DesktopNotificationMonitor < ui->comboBox_Monitor->count())
        ui->comboBox_Monitor->setCurrentIndex(settings.DesktopNotificationMonitor);
    ui->checkBox_UseGlobalTemplate->setCheckState(CheckStateOf(options.UseGlobalTemplate));
    ui->edit_GlobalTemplatePath->setText(options.GlobalTemplatePath);
    SetPosition(settings.DesktopNotificationPosition);
    ui->pageControl_Settings->setCurrentWidget(ui->tabSheet_GlobalSettings);
    ui->checkBox_WindowsColor->setChecked(settings.DesktopNotificationIsWindowsColor);
    ui->checkBox_AccentColor->setChecked(settings.DesktopNotificationIsAccentColor);
    // The slider keeps the opacity within 100 .. 255: a saved 0 shows and saves as 100.
    ui->trackBar_Transparency->setValue(settings.DesktopNotificationTransparencyValue);

    connect(ui->pageControl_Settings, &QTabWidget::currentChanged, this, &TSettingsForm::pageControl_SettingsChange);
    for (QCheckBox* box : {ui->checkBox_UseGlobalTemplate, ui->checkBox_WindowsColor, ui->checkBox_AccentColor})
        connect(box, &QCheckBox::stateChanged, this, &TSettingsForm::ValidateForm);
    for (QRadioButton* corner : {ui->radioButton_WindowPositionUpperLeft, ui->radioButton_WindowPositionUpperRight,
                                 ui->radioButton_WindowPositionLowerLeft, ui->radioButton_WindowPositionLowerRight})
        connect(corner, &QRadioButton::toggled, this, &TSettingsForm::ValidateForm);
    connect(ui->comboBox_Monitor, &QComboBox::currentIndexChanged, this, &TSettingsForm::ValidateForm);
    connect(ui->trackBar_Transparency, &QSlider::valueChanged, this, &TSettingsForm::ValidateForm);
    connect(ui->speedButton_PickColor, &QPushButton::clicked, this, &TSettingsForm::speedButton_PickColorClick);
    connect(ui->button_Save, &QPushButton::clicked, this, &TSettingsForm::button_SaveClick);
    connect(ui->button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    ValidateForm();
}

TSettingsForm::~TSettingsForm() = default;

TStorageOptions TSettingsForm::StorageOptions() const
{
    return {ModeOf(ui->checkBox_UseGlobalTemplate->checkState()), ui->edit_GlobalTemplatePath->text()};
}

TNotificationSettings TSettingsForm::NotificationSettings() const
{
    TNotificationSettings settings;
    settings.DesktopNotificationMonitor = std::max(ui->comboBox_Monitor->currentIndex(), 0);
    settings.DesktopNotificationPosition = Position();
    settings.DesktopNotificationColor = m_ownColor;
    settings.DesktopNotificationTransparencyValue = ui->trackBar_Transparency->value();
    settings.DesktopNotificationIsWindowsColor = ui->checkBox_WindowsColor->isChecked();
    settings.DesktopNotificationIsAccentColor = ui->checkBox_AccentColor->isChecked();
    return settings;
}

TBaseMessageForm* TSettingsForm::TestBalloonForm() const
{
    for (TBaseMessageForm* form : m_demoWindows.FormCollection()) {
        if (form->Request().ActionID == BalloonDemoID)
            return form;
    }
    return nullptr;
}

TBaseMessageForm* TSettingsForm::TestHtmlForm() const
{
    return m_demoWindows.HtmlForm(HtmlDemoID);
}

int TSettingsForm::Position() const
{
    if (ui->radioButton_WindowPositionLowerRight->isChecked())
        return 0;
    if (ui->radioButton_WindowPositionLowerLeft->isChecked())
        return 1;
    if (ui->radioButton_WindowPositionUpperLeft->isChecked())
        return 2;
    return 3;
}

void TSettingsForm::SetPosition(int position)
{
    switch (position) {
    case 0:
        ui->radioButton_WindowPositionLowerRight->setChecked(true);
        break;
    case 1:
        ui->radioButton_WindowPositionLowerLeft->setChecked(true);
        break;
    case 2:
        ui->radioButton_WindowPositionUpperLeft->setChecked(true);
        break;
    default:
        ui->radioButton_WindowPositionUpperRight->setChecked(true);
        break;
    }
}

void TSettingsForm::ValidateForm()
{
    ui->edit_GlobalTemplatePath->setEnabled(ui->checkBox_UseGlobalTemplate->checkState() == Qt::Checked);
    const bool windowsColor = ui->checkBox_WindowsColor->isChecked();
    ui->checkBox_AccentColor->setVisible(windowsColor);
    ui->speedButton_PickColor->setEnabled(!windowsColor);

    const TNotificationSettings settings = NotificationSettings();
    QPalette preview = ui->shape_Preview->palette();
    preview.setColor(
        QPalette::Window,
        ToQColor(GetNotificationColor(windowsColor, settings.DesktopNotificationIsAccentColor, m_ownColor), palette()));
    ui->shape_Preview->setPalette(preview);
    // Colour and opacity on the shown demonstrations, monitor and corner by their stack.
    m_demoWindows.SetNotificationSettings(settings);
}

void TSettingsForm::pageControl_SettingsChange()
{
    ShowDemonstrations(isVisible() && ui->pageControl_Settings->currentWidget() == ui->tabSheet_DesktopNotification);
    ValidateForm();
}

void TSettingsForm::ShowDemonstrations(bool shown)
{
    if (!shown) {
        for (TBaseMessageForm* form : m_demoWindows.FormCollection())
            form->hide();
        return;
    }
    m_demoWindows.SetNotificationSettings(NotificationSettings());
    for (const TMessageWindowRequest* request : {&m_balloonRequest, &m_htmlRequest}) {
        try {
            m_demoWindows.Show(*request);
        } catch (const std::exception& error) {
            // The settings can still be changed and saved without the demonstration.
            Trace::Exception("Settings::pageControl_SettingsChange", error);
        }
    }
}

void TSettingsForm::speedButton_PickColorClick()
{
    QColorDialog colorDialog_Notification(this);
    colorDialog_Notification.setObjectName(QStringLiteral("colorDialog_Notification"));
    const TNotificationSettings& saved = m_savedSettings;
    QColorDialog::setCustomColor(
        0,
        ToQColor(GetNotificationColor(saved.DesktopNotificationIsWindowsColor, saved.DesktopNotificationIsAccentColor,
                                      saved.DesktopNotificationColor),
                 palette()));
    QColorDialog::setCustomColor(1, ToQColor(saved.DesktopNotificationColor, palette()));
    colorDialog_Notification.setCurrentColor(ToQColor(m_ownColor, palette()));
    if (colorDialog_Notification.exec() == QDialog::Accepted)
        m_ownColor = FromQColor(colorDialog_Notification.selectedColor());
    ValidateForm();
}

bool TSettingsForm::ConfirmStorageOptions(const TStorageOptions& options)
{
    if (options.UseGlobalTemplate == gtNone)
        return true;
    const QString folder =
        options.UseGlobalTemplate == gtFromPath ? options.GlobalTemplatePath : m_defaultTemplateFolder;
    const std::optional<TTemplateFolder> found =
        WaitInBackground<TTemplateFolder>([folder](const std::atomic<bool>& /*abandoned*/) {
            TTemplateFolder look;
            look.exists = !folder.isEmpty() && QFileInfo(folder).isDir();
            look.holdsXmlFiles = look.exists && TemplateHoldsXmlFiles(folder);
            return look;
        });
    if (!found)
        return false;
    // The default folder replaces local files at every start as a named one does.
    if ((options.UseGlobalTemplate == gtFromPath || found->holdsXmlFiles) &&
        TMessageBox::Question(
            this, windowTitle(),
            QStringLiteral("Lokale Einstellungen werden eventuell überschrieben, dennoch speichern?")) !=
            QMessageBox::Yes)
        return false;
    // Only a named folder is the user's to correct.
    return options.UseGlobalTemplate != gtFromPath || found->exists ||
        TMessageBox::Warning(this, windowTitle(),
                             QStringLiteral("Der gewählte Pfad ist nicht verfügbar, dennoch speichern?"),
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TSettingsForm::button_SaveClick()
{
    // The folder check lets events in: a second click waits for the first.
    if (m_saving)
        return;
    m_saving = true;
    const auto done = qScopeGuard([this] { m_saving = false; });
    const TStorageOptions options = StorageOptions();
    if (!ConfirmStorageOptions(options))
        return;
    try {
        m_save(options, NotificationSettings());
    } catch (const std::exception& error) {
        Trace::Exception("Settings::SaveSettings", error);
        TMessageBox::Warning(this, windowTitle(),
                             QStringLiteral("Die Einstellungen konnten nicht gespeichert werden; es gelten weiter die "
                                            "bisherigen.\n\n") +
                                 QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

void TSettingsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CenterOnScreen(*this);
    pageControl_SettingsChange();
}

void TSettingsForm::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    ShowDemonstrations(false);
}
