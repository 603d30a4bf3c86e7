// SPDX-License-Identifier: GPL-3.0-or-later

// The settings dialog as the user meets it: its controls and their enabling, the
// questions before a save, the demonstration windows that follow every change,
// and saved settings reaching the next notification.
#include "shell/SettingsForm.h"

#include "FakeLineManager.h"
#include "ModalDriver.h"
#include "ScopedEnvironment.h"
#include "SettingsSandbox.h"
#include "TestFiles.h"
#include "TraceCapture.h"
#include "WaitUntil.h"
#include "actions/ui/BaseMessageForm.h"
#include "actions/ui/HtmlMessageForm.h"
#include "actions/ui/WindowStacking.h"
#include "model/OrvixLine.h"
#include "platform/DataPaths.h"
#include "platform/KestrunError.h"
#include "platform/Registry.h"
#include "program/Program.h"
#include "settings/NotificationColor.h"
#include "settings/SettingsSave.h"
#include "shell/DesktopUserInterface.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

// Answers the message boxes as they come, in order, and keeps what each said.
class BoxAnswerer
{
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen.append({box->icon(), box->text()});
            // A box more than the test expected says no.
            QAbstractButton* button = box->button(m_answers.isEmpty() ? QMessageBox::No : m_answers.takeFirst());
            if (!button)
                button = box->buttons().value(0);
            button->click();
        });
        m_poll.start(0);
    }

    QList<std::pair<QMessageBox::Icon, QString>> seen;

private:
    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_poll;
};

const QString OverwriteQuestion =
    QStringLiteral("Lokale Einstellungen werden eventuell überschrieben, dennoch speichern?");
const QString PathWarning = QStringLiteral("Der gewählte Pfad ist nicht verfügbar, dennoch speichern?");

class SettingsFormTest : public ::testing::Test
{
protected:
    SettingsFormTest()
        : m_configHome("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()))
    {
        QDir().mkpath(UserDataPath());
        m_savedSettings.DesktopNotificationPosition = 0;
        m_savedSettings.DesktopNotificationTransparencyValue = 230;
        m_savedSettings.DesktopNotificationIsWindowsColor = true;
    }

    // The dialog with a save that records what it was given.
    std::unique_ptr<TSettingsForm> Dialog(const TStorageOptions& options = {gtNone, QString()})
    {
        auto dialog = std::make_unique<TSettingsForm>(
            options, m_savedSettings, [this](const TStorageOptions& saved, const TNotificationSettings& settings) {
                m_saves.append({saved, settings});
            });
        dialog->SetDefaultTemplateFolder(m_home.filePath(QStringLiteral("default-template")));
        return dialog;
    }

    template <typename T>
    static T* Control(const TSettingsForm& dialog, const char* name)
    {
        auto* control = dialog.findChild<T*>(QLatin1StringView(name));
        if (!control)
            throw std::runtime_error(std::string("no control ") + name);
        return control;
    }

    static void Click(const TSettingsForm& dialog, const char* button)
    {
        QTest::mouseClick(Control<QAbstractButton>(dialog, button), Qt::LeftButton);
    }

    static void ShowNotificationPage(TSettingsForm& dialog)
    {
        dialog.show();
        auto* pages = Control<QTabWidget>(dialog, "pageControl_Settings");
        pages->setCurrentWidget(Control<QWidget>(dialog, "tabSheet_DesktopNotification"));
    }

    // Where the stack puts the two demonstration windows: the HTML one first.
    static QList<QPoint> ExpectedPlaces(const TSettingsForm& dialog, int corner)
    {
        const QRect workArea = QGuiApplication::screens().value(0)->availableGeometry();
        return StackWindows(workArea, TStackCorner(corner),
                            {dialog.TestHtmlForm()->size(), dialog.TestBalloonForm()->size()});
    }

    QTemporaryDir m_home;
    ScopedEnvironment m_configHome;
    SettingsSandbox m_settings;
    TraceCapture m_trace;
    TNotificationSettings m_savedSettings;
    QList<std::pair<TStorageOptions, TNotificationSettings>> m_saves;
};

} // namespace

TEST_F(SettingsFormTest, ShowsTheValuesItIsGivenInItsControls)
{
    const struct
    {
        TGlobalTemplateMode mode;
        Qt::CheckState state;
        int position;
        const char* corner;
        int opacity;
        int slider;
    } cases[] = {
        {gtNone, Qt::Unchecked, 0, "radioButton_WindowPositionLowerRight", 230, 230},
        {gtFromPath, Qt::Checked, 1, "radioButton_WindowPositionLowerLeft", 255, 255},
        // A settings file without an opacity reads 0, which shows (and saves) as 100.
        {gtFromDefaultFolder, Qt::PartiallyChecked, 2, "radioButton_WindowPositionUpperLeft", 0, 100},
        {gtNone, Qt::Unchecked, 3, "radioButton_WindowPositionUpperRight", 150, 150},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.corner);
        m_savedSettings.DesktopNotificationPosition = entry.position;
        m_savedSettings.DesktopNotificationTransparencyValue = entry.opacity;
        const auto dialog = Dialog({entry.mode, QStringLiteral("/srv/vorlage")});
        EXPECT_EQ(Control<QCheckBox>(*dialog, "checkBox_UseGlobalTemplate")->checkState(), entry.state);
        EXPECT_EQ(Control<QLineEdit>(*dialog, "edit_GlobalTemplatePath")->text(), QStringLiteral("/srv/vorlage"));
        EXPECT_TRUE(Control<QRadioButton>(*dialog, entry.corner)->isChecked());
        EXPECT_EQ(Control<QSlider>(*dialog, "trackBar_Transparency")->value(), entry.slider);
        EXPECT_EQ(dialog->NotificationSettings().DesktopNotificationPosition, entry.position);
        EXPECT_EQ(dialog->NotificationSettings().DesktopNotificationTransparencyValue, entry.slider);
    }

    const auto dialog = Dialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Settings"));
    auto* pages = Control<QTabWidget>(*dialog, "pageControl_Settings");
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Globale Einstellungen"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("Benachrichtigungen"));
    EXPECT_EQ(pages->currentIndex(), 0) << "the demonstration windows stay hidden at first";
    auto* monitors = Control<QComboBox>(*dialog, "comboBox_Monitor");
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(monitors->count(), screens.size());
    const QSize size = screens[0]->geometry().size();
    EXPECT_EQ(monitors->itemText(0), QStringLiteral("Monitor 1 (%1x%2)").arg(size.width()).arg(size.height()));
}

TEST_F(SettingsFormTest, EnablingFollowsTheChecks)
{
    const auto dialog = Dialog();
    dialog->show();
    auto* useTemplate = Control<QCheckBox>(*dialog, "checkBox_UseGlobalTemplate");
    auto* path = Control<QLineEdit>(*dialog, "edit_GlobalTemplatePath");
    // A click advances off, undetermined, on, off; only "on" names a folder of its own.
    const std::pair<Qt::CheckState, TGlobalTemplateMode> clicks[] = {
        {Qt::PartiallyChecked, gtFromDefaultFolder}, {Qt::Checked, gtFromPath}, {Qt::Unchecked, gtNone}};
    EXPECT_FALSE(path->isEnabled());
    for (const auto& [state, mode] : clicks) {
        QTest::mouseClick(useTemplate, Qt::LeftButton);
        EXPECT_EQ(useTemplate->checkState(), state);
        EXPECT_EQ(dialog->StorageOptions().UseGlobalTemplate, mode);
        EXPECT_EQ(path->isEnabled(), state == Qt::Checked);
    }

    auto* windowsColor = Control<QCheckBox>(*dialog, "checkBox_WindowsColor");
    auto* accent = Control<QCheckBox>(*dialog, "checkBox_AccentColor");
    auto* pick = Control<QPushButton>(*dialog, "speedButton_PickColor");
    ShowNotificationPage(*dialog);
    const QSize size = dialog->size();
    for (const bool on : {false, true}) {
        windowsColor->setChecked(on);
        QCoreApplication::processEvents();
        EXPECT_EQ(accent->isVisible(), on);
        EXPECT_EQ(pick->isEnabled(), !on) << "the own colour is picked only without the desktop's";
        EXPECT_EQ(dialog->size(), size) << "the dialog keeps its size when the accent colour hides";
    }
}

TEST_F(SettingsFormTest, CancelWritesNothing)
{
    auto dialog =
        std::make_unique<TSettingsForm>(TStorageOptions {gtNone, QString()}, m_savedSettings,
                                        [this](const TStorageOptions& options, const TNotificationSettings& settings) {
                                            m_saves.append({options, settings});
                                            SaveSettings(options, settings);
                                        });
    ShowNotificationPage(*dialog);
    Control<QRadioButton>(*dialog, "radioButton_WindowPositionUpperLeft")->setChecked(true);
    Control<QSlider>(*dialog, "trackBar_Transparency")->setValue(120);
    Control<QCheckBox>(*dialog, "checkBox_UseGlobalTemplate")->setCheckState(Qt::Checked);

    Click(*dialog, "button_Cancel");

    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(m_saves.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(DataPathUserSettingsFile()));
    EXPECT_FALSE(QFileInfo::exists(TRegistryKey(QSettings::UserScope, StorageRegistryKey).FileName()));
    EXPECT_FALSE(dialog->TestBalloonForm()->isVisible()) << "the demonstrations go with the dialog";
}

// The questions come before a mode that copies a template over the local files,
// and the path warning only where the path is used.
TEST_F(SettingsFormTest, SpeichernAsksBeforeATemplateCanOverwriteLocalFiles)
{
    const QString emptyFolder = m_home.filePath(QStringLiteral("leer"));
    const QString missingFolder = m_home.filePath(QStringLiteral("fehlt"));
    const QString defaultFolder = m_home.filePath(QStringLiteral("default-template"));
    QDir().mkpath(emptyFolder);
    using Box = std::pair<QMessageBox::Icon, QString>;
    const Box question {QMessageBox::Question, OverwriteQuestion};
    const Box warning {QMessageBox::Warning, PathWarning};
    const auto yes = QMessageBox::Yes;
    const auto no = QMessageBox::No;
    const struct
    {
        const char* name;
        TStorageOptions options;
        bool defaultHoldsXml;
        QList<QMessageBox::StandardButton> answers;
        QList<Box> boxes;
        bool saved;
    } cases[] = {
        {"off, empty path", {gtNone, QString()}, true, {}, {}, true},
        {"on, folder there", {gtFromPath, emptyFolder}, false, {yes}, {question}, true},
        {"on, no to the question", {gtFromPath, emptyFolder}, false, {no}, {question}, false},
        {"on, folder missing", {gtFromPath, missingFolder}, false, {yes, yes}, {question, warning}, true},
        {"on, no to the path", {gtFromPath, missingFolder}, false, {yes, no}, {question, warning}, false},
        {"default folder with a template", {gtFromDefaultFolder, QString()}, true, {yes}, {question}, true},
        {"default folder, no to the question", {gtFromDefaultFolder, QString()}, true, {no}, {question}, false},
        {"default folder without a template", {gtFromDefaultFolder, QString()}, false, {}, {}, true},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        m_saves.clear();
        QDir(defaultFolder).removeRecursively();
        if (entry.defaultHoldsXml)
            WriteFile(QDir(defaultFolder).filePath(QStringLiteral("Rules.XML")), "<EventController/>");
        const auto dialog = Dialog(entry.options);
        dialog->show();

        BoxAnswerer answerer(entry.answers);
        Click(*dialog, "button_Save");

        EXPECT_EQ(answerer.seen, entry.boxes);
        ASSERT_EQ(m_saves.size(), entry.saved ? 1 : 0);
        EXPECT_EQ(dialog->isVisible(), !entry.saved);
        if (entry.saved) {
            EXPECT_EQ(m_saves[0].first, entry.options) << "the path as entered";
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
        }
    }
}

TEST_F(SettingsFormTest, ASaveThatFailsIsToldAndTheDialogStaysOpen)
{
    TSettingsForm dialog(
        {gtNone, QString()}, m_savedSettings, [](const TStorageOptions&, const TNotificationSettings&) {
            throw EKestrunError(QStringLiteral("The file \"/x/usersettings.xml\" cannot be written: No space left"));
        });
    dialog.show();
    BoxAnswerer answerer({QMessageBox::Ok});
    Click(dialog, "button_Save");
    ASSERT_EQ(answerer.seen.size(), 1);
    EXPECT_EQ(answerer.seen[0].first, QMessageBox::Warning);
    EXPECT_TRUE(answerer.seen[0].second.contains(u"/x/usersettings.xml")) << answerer.seen[0].second.toStdString();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(SettingsFormTest, TheDemonstrationWindowsFollowColourCornerAndOpacity)
{
    m_savedSettings.DesktopNotificationPosition = 2;
    const auto dialog = Dialog();
    dialog->show();
    EXPECT_EQ(dialog->TestBalloonForm(), nullptr) << "not before the notification page shows";
    ShowNotificationPage(*dialog);
    TBaseMessageForm* balloon = dialog->TestBalloonForm();
    auto* html = qobject_cast<THtmlMessageForm*>(dialog->TestHtmlForm());
    ASSERT_TRUE(balloon && html);
    const QList<TBaseMessageForm*> both {html, balloon};
    EXPECT_TRUE(balloon->isVisible() && html->isVisible());
    EXPECT_EQ(balloon->Request().Caption, QStringLiteral("Demo Standard-Nachricht"));
    EXPECT_EQ(html->Request().Caption, QStringLiteral("Demo Html-Benachrichtigung"));
    EXPECT_TRUE(balloon->Line()->IsTestMode());
    // A page of the program's own, never one from the web.
    EXPECT_TRUE(html->Request().Page.WebserverUrl.isEmpty());
    EXPECT_TRUE(WaitUntil([html] { return html->WebBrowser()->url().scheme() == u"kestrun-page"; }, 20000))
        << html->WebBrowser()->url().toString().toStdString();
    EXPECT_EQ(QList<QPoint>({html->pos(), balloon->pos()}), ExpectedPlaces(*dialog, 2)) << "in the saved corner";

    const std::pair<const char*, int> corners[] = {{"radioButton_WindowPositionLowerRight", 0},
                                                   {"radioButton_WindowPositionLowerLeft", 1},
                                                   {"radioButton_WindowPositionUpperRight", 3}};
    for (const auto& [radio, corner] : corners) {
        SCOPED_TRACE(radio);
        Control<QRadioButton>(*dialog, radio)->setChecked(true);
        EXPECT_EQ(QList<QPoint>({html->pos(), balloon->pos()}), ExpectedPlaces(*dialog, corner));
    }

    Control<QCheckBox>(*dialog, "checkBox_WindowsColor")->setChecked(false);
    const QColor picked(0x12, 0x80, 0x40);
    const bool shown = DriveModal<QColorDialog>(
        [&](QColorDialog& colors) {
            EXPECT_EQ(colors.objectName(), QStringLiteral("colorDialog_Notification"));
            colors.setCurrentColor(picked);
            colors.accept();
        },
        [&] { Click(*dialog, "speedButton_PickColor"); });
    ASSERT_TRUE(shown);
    auto* slider = Control<QSlider>(*dialog, "trackBar_Transparency");
    slider->setValue(140);
    for (TBaseMessageForm* form : both) {
        EXPECT_EQ(form->Colors().FormColor, picked);
        EXPECT_EQ(form->Alpha(), 140);
        // The mouse over a demonstration shows the opacity being chosen, as does leaving it.
        form->OnMouseEnter();
        EXPECT_EQ(form->Alpha(), 140);
        form->OnMouseLeave();
        EXPECT_EQ(form->Alpha(), 140);
    }
    EXPECT_EQ(Control<QWidget>(*dialog, "shape_Preview")->palette().color(QPalette::Window), picked);

    // Closed by the user, a demonstration only hides; the dialog goes on using it.
    const QPointer<TBaseMessageForm> closed = balloon;
    balloon->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(closed);
    EXPECT_FALSE(balloon->isVisible());
    slider->setValue(200);

    Control<QTabWidget>(*dialog, "pageControl_Settings")->setCurrentIndex(0);
    EXPECT_FALSE(html->isVisible()) << "leaving the page hides them";
    ShowNotificationPage(*dialog);
    EXPECT_TRUE(balloon->isVisible() && html->isVisible());
    EXPECT_EQ(dialog->TestBalloonForm(), balloon) << "the same windows come back";
    EXPECT_EQ(balloon->Alpha(), 200);
}

TEST_F(SettingsFormTest, SavedSettingsReachTheNextNotificationWindow)
{
    FakeLineManager softphone;
    TProgram program(&softphone);
    program.SetNotificationSettings(m_savedSettings);
    TDesktopUserInterface windows(program);
    TSettingsForm dialog(program.StorageOptions(), program.NotificationSettings(),
                         [&program](const TStorageOptions& options, const TNotificationSettings& settings) {
                             program.SaveSettings(options, settings);
                         });
    Control<QCheckBox>(dialog, "checkBox_UseGlobalTemplate")->setCheckState(Qt::Unchecked);
    Control<QRadioButton>(dialog, "radioButton_WindowPositionUpperLeft")->setChecked(true);
    Control<QCheckBox>(dialog, "checkBox_WindowsColor")->setChecked(false);
    Control<QSlider>(dialog, "trackBar_Transparency")->setValue(170);
    dialog.show();
    Click(dialog, "button_Save");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    TMessageWindowRequest request;
    request.Caption = QStringLiteral("Anruf");
    request.Line = std::make_shared<TOrvixLine>();
    request.Line->SetIsTestMode(true);
    ASSERT_TRUE(windows.ShowMessageWindow(request));
    const TBaseMessageForm* form = windows.MessageWindows().FormCollection().value(0);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->Alpha(), 170);
    EXPECT_EQ(form->Colors().FormColor, ToQColor(m_savedSettings.DesktopNotificationColor, form->palette()));
    const QRect workArea = QGuiApplication::screens().value(0)->availableGeometry();
    EXPECT_EQ(form->pos(), StackWindows(workArea, TStackCorner::UpperLeft, {form->size()}).value(0));
    TNotificationSettings read;
    ASSERT_TRUE(ReadSettingsXML(QString(), read));
    EXPECT_EQ(read, program.NotificationSettings()) << "and the next start";
}
