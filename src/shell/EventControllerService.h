// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <functional>

class TMainForm;
class TProgram;

/**
 * @brief The program's own D-Bus interface, de.kestrun.EventController on the
 * session bus (resources/dbus/de.kestrun.EventController.xml), object
 * /EventController.
 *
 * Each method runs the code of the matching tray entry. The generated adaptor
 * calls these slots; failures are answered as D-Bus errors.
 */
class TEventControllerService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active)

public:
    static const QString ServiceName;
    static const QString ObjectPath;
    static const QString InterfaceName;

    TEventControllerService(TProgram& program, TMainForm& mainForm);
    ~TEventControllerService() override;

    /**
     * Offers the interface under its name. When the name is taken (the program
     * runs on another display of the same session bus) or there is no session bus,
     * traces it and returns false; the program runs on without it.
     */
    bool Register();

    bool Active() const;

public slots:
    void ShowRules();
    void ShowSettings();
    void SetActive(bool active);
    void ReloadRules();
    void ShowHistory();
    QString Dial(const QString& number);
    QStringList ExportRules(const QString& file, const QStringList& rules);
    QStringList ImportRules(const QString& file, const QStringList& rules);
    void Quit();

private:
    void AnnounceActive(bool active);
    // Runs an export or import for a caller, who gets its result or the reason it failed.
    QStringList Exchange(const QString& file, const std::function<QStringList()>& exchange);

    TProgram& m_program;
    TMainForm& m_mainForm;
    bool m_registered = false;
};
