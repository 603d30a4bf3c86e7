// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "LineManager.h"

class BaresipControl;
class LineCalls;
class SoftphoneModel;

/**
 * @brief The line manager of the bridge: reads come from the line model, call control goes to baresip.
 *
 * Taking, ending and dialing are checked against the line as the model has it,
 * then sent to baresip on the line's call; the line changes when baresip
 * reports the outcome, as with a real softphone. The caller learns whether
 * baresip took the command (the request* operations' outcome).
 */
class BaresipLineManager : public LineManager
{
    Q_OBJECT

public:
    BaresipLineManager(SoftphoneModel& model, LineCalls& calls, BaresipControl& control, QObject* parent = nullptr);

    QVariantMap GetLine(int lineIndex) const override;
    QString ConvertNumber(int style, const QString& number) const override;
    QVariantMap GetNotificationCall() const override;
    void PickupGroupNotificationCall(int lineIndex) override;
    void HookOff(int lineIndex) override;
    void HookOn(int lineIndex) override;
    void Dial(int lineIndex, const QString& digits) override;
    void requestHookOff(int lineIndex, const Outcome& outcome) override;
    void requestHookOn(int lineIndex, const Outcome& outcome) override;
    void requestDial(int lineIndex, const QString& digits, const Outcome& outcome) override;
    int MakeCall(int lineIndex, const QString& number) override;

private:
    // The Call-ID of the line's call when the line is in one of the states; otherwise the model's errors.
    QString callIdIn(int lineIndex, std::initializer_list<int> states, const QString& action) const;

    SoftphoneModel& m_model;
    LineCalls& m_calls;
    BaresipControl& m_control;
};
