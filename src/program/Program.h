// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "actions/NumberBlocking.h"
#include "settings/Storage.h"
#include "settings/UserSettings.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class LineManagerService;
class TCallHistory;
class TOrvixLine;
class TParameters;
class TStartupWindows;

/**
 * @brief The running program, without its windows: it starts up, owns the model
 * in force and the settings, and shuts down.
 *
 * Windows are given what they show by it and hand their results back through
 * its setters; its signals tell every open window of a change. Rules meet calls
 * with the model in force at the moment the state arrives; a run keeps the model
 * it started with, so an editor may put another one in force meanwhile.
 */
class TProgram : public QObject, public TNumberBlocking
{
    Q_OBJECT

public:
    static const QString Title;

    // service: the softphone's line manager; null means the one on the session bus.
    explicit TProgram(LineManagerService* service = nullptr);
    ~TProgram() override;

    /**
     * The start-up sequence: window placement, trace, data paths, tray icon,
     * model, message-window lists, storage options and user settings with the
     * template copy, directory discovery, rules file, rule list, leftover
     * temporary files, event controller, preloaded windows, the rules marked for
     * program start, then (from the event loop, once the start is over) the items
     * kept as drafts at the last end are offered again. windows runs the windows' steps; without it the program
     * starts headless. Each step is guarded on its own: one that fails is traced
     * against "Main::AppException" and the next runs; a step that needs the model
     * fails when there is none.
     */
    void Start(TStartupWindows* windows = nullptr);
    // The shutdown sequence: temporary files, then the rules file, which is written
    // only when the model in force holds changes it does not have yet. Runs once;
    // later calls only repeat its result. False when the rules could not be saved.
    bool Shutdown();
    // Writes the model in force to the rules file (after every change the user
    // confirms). False when it could not be written; the changes then count as unsaved.
    bool SaveRules();
    // Runs, in list order, every active rule marked for program start.
    void CheckStartupRules();
    /**
     * Opens the window of each item kept as a draft at the program's last end,
     * oldest first, for the user to save or discard; the draft is removed then, and
     * kept again (updated) when the program ends once more meanwhile. A draft that
     * cannot be read is moved aside, traced and told to the user. Needs the
     * registered user interface; without one the drafts wait for a start with windows.
     */
    void OfferItemDrafts();
    // Has the windows of the HTML messages marked for preloading made and their
    // pages loaded; a second action with an ID already preloaded is skipped.
    void PreLoadMessageForms();

    const std::shared_ptr<TParameters>& Model() const { return m_model; }
    // Puts a model in force (an editor's confirmed working copy), which counts as a
    // change until it is saved. It takes over whether rules are processed: a working
    // copy may have been made before the user switched processing off or on.
    void SetModel(std::shared_ptr<TParameters> model);
    /**
     * Reads the rules file again into a new model and puts that in force. False
     * when the file is missing or cannot be read; the model in force stays then.
     * The new model shares the event controller and the directory client.
     */
    bool ReloadRules();

    /**
     * While one lives, the rule list has the rules in a working copy that it puts
     * in force as a whole (a wizard, the sequence editor, a name dialog). Changes
     * from outside (an import over D-Bus, a reload, a blocked number) would be
     * dropped by that copy, so they are refused until it ends.
     */
    class TRulesEditing
    {
    public:
        explicit TRulesEditing(TProgram& program)
            : m_program(program)
        {
            ++m_program.m_rulesEditing;
        }
        ~TRulesEditing() { --m_program.m_rulesEditing; }
        TRulesEditing(const TRulesEditing&) = delete;
        TRulesEditing& operator=(const TRulesEditing&) = delete;

    private:
        TProgram& m_program;
    };

    /**
     * Writes the rules in force with these names (every rule without names) and the
     * sequences they need to the file (see RulesExchange). Returns the names of the
     * rules written; throws EKestrunError with the reason, in German.
     */
    QStringList ExportRules(const QString& fileName, const QStringList& names) const;
    /**
     * Imports the rules with these names (every rule without names) from the file
     * into a copy of the model in force, puts the copy in force and saves it, as
     * every change is saved. Returns the names the rules were imported under. A file
     * or a name that is wrong throws EKestrunError and changes nothing; a save that
     * fails throws too, with the imported rules in force (the next save writes them).
     */
    QStringList ImportRules(const QString& fileName, const QStringList& names);

    // Whether this start found no rules file (not even from the global template)
    // and seeded the starter rules.
    bool FirstStart() const { return m_firstStart; }
    // Whether the softphone's line manager is there for the event controller.
    bool SoftphoneConnected() const;

    // Whether rules run for calls. Not stored: every start begins with processing on.
    bool Active() const { return m_active; }
    void SetActive(bool active);

    /**
     * Saves the settings dialog's values as one step (see SaveSettings in
     * settings/SettingsSave.h) and only then puts them in force and announces
     * them: notification windows opened from now on take the new settings,
     * storage options take effect at the next start. Throws EKestrunError with
     * the cause when they cannot be saved; nothing in force changes then.
     */
    void SaveSettings(const TStorageOptions& options, const TNotificationSettings& settings);
    const TStorageOptions& StorageOptions() const { return m_storageOptions; }
    void SetStorageOptions(const TStorageOptions& options);
    const TNotificationSettings& NotificationSettings() const { return m_notificationSettings; }
    void SetNotificationSettings(const TNotificationSettings& settings);

    /**
     * Places an outgoing call to the dial string on the first idle line of the
     * softphone and returns that line. The call then comes back as any other:
     * outgoing rules fire for it. Throws EKestrunError when the text is no dial
     * string (see TDialTarget) and ELineManagerError when the softphone refuses.
     */
    int PlaceCall(const QString& number);

    /**
     * Blocks a caller (the history's "Sperren", the action "Anrufer sperren"):
     * adds the number to the rule "Gesperrte Nummern" (see BlockedNumbers) in a
     * working copy, puts it in force and saves the rules as every change is saved
     * (a failure is traced and the change stays unsaved). False when the number was
     * blocked already. Throws EKestrunError when there is no model or the number
     * cannot be a pattern. Runs that started before keep the rules they started with.
     */
    bool BlockNumber(const QString& number) override;

    // The history of the calls seen; null before start-up opened it.
    TCallHistory* CallHistory() const { return m_callHistory.get(); }

    // <user runtime folder>/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil: the
    // trace holds callers' names and numbers, so it lives where only the user can read.
    static QString TraceFilePath();
    static QString TraceConnections(const QString& traceFile);

signals:
    void ModelChanged();
    // Something the user must learn without being asked (the rules file could not be read).
    void UserWarning(const QString& text);
    void ActiveChanged(bool active);
    void SoftphoneConnectionChanged(bool connected);
    void StorageOptionsChanged(const TStorageOptions& options);
    void NotificationSettingsChanged(const TNotificationSettings& settings);

private:
    void SetUpTrace();
    void TraceDataPaths();
    void CreateModel();
    void LoadStorageAndSettings();
    void StartDiscovery();
    void LoadRulesFile();
    void CleanTempFiles();
    void OpenCallHistory();
    void InitLineManager();
    void ScheduleItemDrafts();
    // The model in force; throws when there is none (its creation failed).
    TParameters& RequireModel() const;
    // Throws EKestrunError, naming what was refused, while the rule list edits a working copy.
    void RequireNoRulesEditing(const QString& refused) const;
    void RunRulesInForce(TOrvixLine& line, const QString& currentLineState);
    void KeepUnreadableRulesFile(const QString& path);
    // The rules file as the program last read or wrote it.
    void TakeRulesFileStamp();
    bool RulesFileChangedOnDisk() const;

    LineManagerService* m_service;
    std::shared_ptr<TParameters> m_model;
    std::unique_ptr<TCallHistory> m_callHistory;
    TStorageOptions m_storageOptions;
    TNotificationSettings m_notificationSettings;
    bool m_active = true;
    bool m_firstStart = false;
    bool m_shutDown = false;
    bool m_rulesSaved = true;
    // The model in force holds changes the rules file does not have, made at that time.
    bool m_rulesChanged = false;
    // Working copies of the rule list that are open (TRulesEditing).
    int m_rulesEditing = 0;
    QDateTime m_rulesChangedAt;
    // The rules file's time and size when the program last read or wrote it.
    QDateTime m_rulesFileModified;
    qint64 m_rulesFileSize = -1;
};
