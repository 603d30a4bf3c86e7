// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FakeLineManager.h"

#include "actions/ui/BaseMessageForm.h"
#include "model/ActionSequence.h"
#include "model/BaseAction.h"
#include "model/OrvixLine.h"
#include "rulesfile/Parameters.h"

#include <QCoreApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>

// An action that can run only while its call is still ringing or connected.
class WhileCallLastsAction : public TBaseAction
{
protected:
    bool CanExecuteProvider(const TOrvixLine& line) const override
    {
        return line.LineState() == QStringLiteral("LSRinging") || line.LineState() == QStringLiteral("LSActive");
    }
};

/**
 * A model in force that the test may replace, a fake softphone with a ringing
 * call on line 1, and windows that are deleted at the end if still open.
 */
class MessageFormFixture : public ::testing::Test
{
protected:
    MessageFormFixture()
    {
        LineManagerService::SetInstance(&m_softphone);
        m_softphone.lines[1] = IncomingCall(7, QStringLiteral("0301234"), QStringLiteral("Anna Berg"));
        m_settings.DesktopNotificationTransparencyValue = 230;
        m_settings.DesktopNotificationColor = 0x00402010;
    }

    ~MessageFormFixture() override
    {
        for (const QPointer<QWidget>& window : m_windows)
            delete window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LineManagerService::SetInstance(nullptr);
    }

    static TActionSequence* AddSequence(TParameters& model, const QString& id, const QString& name,
                                        TBaseAction* action = nullptr)
    {
        auto* sequence = new TActionSequence;
        sequence->SetID(id);
        sequence->SetName(name);
        if (action)
            sequence->AddNewItem(action);
        model.ActionSequences().AddNewItem(sequence);
        return sequence;
    }

    static std::shared_ptr<TOrvixLine> RingingLine()
    {
        auto line = std::make_shared<TOrvixLine>();
        line->SetLineIndex(1);
        line->SetLineState(QStringLiteral("LSRinging"));
        line->SetCallerName(QStringLiteral("Anna Berg"));
        return line;
    }

    TMessageWindowRequest Request(const QStringList& sequenceIDs = {}) const
    {
        TMessageWindowRequest request;
        request.ActionID = QStringLiteral("{action}");
        request.Caption = QStringLiteral("Anruf");
        request.TimeOut = true;
        request.TimeOutSec = 5;
        request.SequenceIDs = sequenceIDs;
        request.Line = RingingLine();
        return request;
    }

    TBaseMessageForm::TModelSource ModelSource()
    {
        return [this] { return m_model; };
    }

    // A plain base window shown for the request, deleted by the fixture if still there.
    TBaseMessageForm* OpenWindow(const TMessageWindowRequest& request)
    {
        auto* form = Track(new TBaseMessageForm(ModelSource()));
        form->Open(request, m_settings);
        return form;
    }

    template <typename T>
    T* Track(T* window)
    {
        m_windows.append(window);
        return window;
    }

    FakeLineManager m_softphone;
    std::shared_ptr<TParameters> m_model = std::make_shared<TParameters>();
    TNotificationSettings m_settings;
    QList<QPointer<QWidget>> m_windows;
};
