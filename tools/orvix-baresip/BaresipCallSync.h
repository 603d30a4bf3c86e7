// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BaresipMessage.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class BaresipControl;

/**
 * @brief Asks baresip which calls it has, after the control connection was away for a while.
 *
 * baresip 1.0 lists its calls by its own line numbers only ("listcalls"); the
 * Call-ID, state and peer of each come from selecting the line ("line N") and
 * asking for the call's status ("callstat"). The result reads like the events
 * that would have brought each call where it is now.
 */
class BaresipCallSync : public QObject
{
    Q_OBJECT

public:
    explicit BaresipCallSync(BaresipControl& control, QObject* parent = nullptr);

    // Starts a round of questions; a round still running is abandoned.
    void run();

    // baresip's line numbers in the text of "listcalls".
    static QList<int> parseCallList(const QString& text);
    // One call from the text of "callstat", as the event its state stands for (CALL_INCOMING, CALL_RINGING,
    // CALL_PROGRESS or CALL_ESTABLISHED; no type for a state no event stands for, such as dialing);
    // nothing when the text names no call.
    static std::optional<BaresipEvent> parseCallStatus(const QString& text);

signals:
    // Every call baresip has now.
    void callsFound(const std::vector<BaresipEvent>& calls);
    // baresip could not be asked (the connection went again); the lines stay as they are.
    void failed(const QString& reason);

private:
    void askNext(int round);

    BaresipControl& m_control;
    int m_round = 0;
    QList<int> m_lines;
    std::vector<BaresipEvent> m_calls;
};
