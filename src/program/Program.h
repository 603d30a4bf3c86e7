#pragma once

#include "settings/Storage.h"
#include "settings/UserSettings.h"

#include <QObject>
#include <QString>

#include <memory>

class LineManagerService;
class TOrvixLine;
class TParameters;

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
     * The start-up sequence: trace, data paths, model, storage options and user
     * settings with the template copy, directory discovery, rules file, leftover
     * temporary files, event controller, then the rules marked for program start.
     * A step that fails is traced and the program runs on with what it has.
     */
    void Start();
    // The shutdown sequence: temporary files, then the rules file. Runs once;
    // later calls only repeat its result. False when the rules could not be saved.
    bool Shutdown();
    // Runs, in list order, every active rule marked for program start.
    void CheckStartupRules();
    // Has the windows of the HTML messages marked for preloading made and their
    // pages loaded; a second action with an ID already preloaded is skipped.
    void PreLoadMessageForms();

    const std::shared_ptr<TParameters>& Model() const { return m_model; }
    // Puts a model in force (an editor's confirmed working copy).
    void SetModel(std::shared_ptr<TParameters> model);

    const TStorageOptions& StorageOptions() const { return m_storageOptions; }
    void SetStorageOptions(const TStorageOptions& options);
    const TNotificationSettings& NotificationSettings() const { return m_notificationSettings; }
    void SetNotificationSettings(const TNotificationSettings& settings);

    // <temp>/Kestrun/Traces/KestrunEventControllerForOrvixIt.sil
    static QString TraceFilePath();
    static QString TraceConnections(const QString& traceFile);

signals:
    void ModelChanged();
    void StorageOptionsChanged(const TStorageOptions& options);
    void NotificationSettingsChanged(const TNotificationSettings& settings);

private:
    void RunRulesInForce(TOrvixLine& line, const QString& currentLineState);

    LineManagerService* m_service;
    std::shared_ptr<TParameters> m_model;
    TStorageOptions m_storageOptions;
    TNotificationSettings m_notificationSettings;
    bool m_shutDown = false;
    bool m_rulesSaved = true;
};
