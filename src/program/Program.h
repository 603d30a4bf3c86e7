// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/Storage.h"
#include "settings/UserSettings.h"

#include <QObject>
#include <QString>

#include <memory>

class LineManagerService;
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
class TProgram : public QObject
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
     * temporary files, event controller, preloaded windows, then the rules marked
     * for program start. windows runs the windows' steps; without it the program
     * starts headless. Each step is guarded on its own: one that fails is traced
     * against "Main::AppException" and the next runs; a step that needs the model
     * fails when there is none.
     */
    void Start(TStartupWindows* windows = nullptr);
    // The shutdown sequence: temporary files, then the rules file. Runs once;
    // later calls only repeat its result. False when the rules could not be saved.
    bool Shutdown();
    // Runs, in list order, every active rule marked for program start.
    void CheckStartupRules();
    // Has the windows of the HTML messages marked for preloading made and their
    // pages loaded; a second action with an ID already preloaded is skipped.
    void PreLoadMessageForms();

    const std::shared_ptr<TParameters>& Model() const { return m_model; }
    // Puts a model in force (an editor's confirmed working copy). It takes over
    // whether rules are processed: a working copy may have been made before the
    // user switched processing off or on.
    void SetModel(std::shared_ptr<TParameters> model);
    /**
     * Reads the rules file again into a new model and puts that in force. False
     * when the file is missing or cannot be read; the model in force stays then.
     * The new model shares the event controller and the directory client.
     */
    bool ReloadRules();

    // Whether rules run for calls. Not stored: every start begins with processing on.
    bool Active() const { return m_active; }
    void SetActive(bool active);

    const TStorageOptions& StorageOptions() const { return m_storageOptions; }
    void SetStorageOptions(const TStorageOptions& options);
    const TNotificationSettings& NotificationSettings() const { return m_notificationSettings; }
    void SetNotificationSettings(const TNotificationSettings& settings);

    // <user runtime folder>/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil: the
    // trace holds callers' names and numbers, so it lives where only the user can read.
    static QString TraceFilePath();
    static QString TraceConnections(const QString& traceFile);

signals:
    void ModelChanged();
    void ActiveChanged(bool active);
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
    void InitLineManager();
    // The model in force; throws when there is none (its creation failed).
    TParameters& RequireModel() const;
    void RunRulesInForce(TOrvixLine& line, const QString& currentLineState);

    LineManagerService* m_service;
    std::shared_ptr<TParameters> m_model;
    TStorageOptions m_storageOptions;
    TNotificationSettings m_notificationSettings;
    bool m_active = true;
    bool m_shutDown = false;
    bool m_rulesSaved = true;
};
