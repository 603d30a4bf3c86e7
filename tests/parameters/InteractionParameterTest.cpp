// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameters/ParameterInteraction.h"

#include "FakeUserInterface.h"
#include "ParameterRun.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

// Stands in for the question window: answers as the test says (no answer:
// declined) and records what it was shown with.
class FakeForm : public TParameterInteractionForm
{
public:
    using TAnswer = std::function<std::optional<QString>(const TParameterInteraction& param)>;

    FakeForm(TAnswer answer, int& alive)
        : m_answer(std::move(answer))
        , m_alive(alive)
    {
        ++m_alive;
    }
    ~FakeForm() override { --m_alive; }

    bool ShowModal() override
    {
        EXPECT_NE(FInteractionParam, nullptr);
        const std::optional<QString> answer = m_answer(*FInteractionParam);
        Answered = true;
        FAnswer = answer.value_or(QString());
        return answer.has_value();
    }

    bool Answered = false;

private:
    TAnswer m_answer;
    int& m_alive;
};

class ParameterInteraction : public ::testing::Test
{
protected:
    void AnswerWith(FakeForm::TAnswer answer)
    {
        m_ui.SetFormFactory([this, answer] {
            ++m_formsMade;
            return std::make_unique<FakeForm>(answer, m_formsAlive);
        });
    }

    static FakeForm::TAnswer Confirm(const QString& text)
    {
        return [text](const TParameterInteraction&) { return text; };
    }

    int m_formsMade = 0;
    int m_formsAlive = 0;
    FakeUserInterface m_ui;
};

} // namespace

TEST_F(ParameterInteraction, ConfirmedAnswerIsTheResult)
{
    AnswerWith(Confirm(QStringLiteral("4711")));
    TParameterInteraction param;
    TraceCapture trace;

    const Resolution resolution = Resolve(param);
    EXPECT_EQ(resolution.result, QStringLiteral("4711"));
    EXPECT_FALSE(resolution.cancelled);
    auto* form = dynamic_cast<FakeForm*>(param.ExtForm());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->InteractionParam(), &param);
    EXPECT_TRUE(form->Answered);
    EXPECT_EQ(trace.LastValue(QStringLiteral("ParameterInteraction::GetParamResult:Result")), QStringLiteral("4711"));
}

TEST_F(ParameterInteraction, DeclinedQuestionCancelsAndGivesEmpty)
{
    AnswerWith([](const TParameterInteraction&) { return std::nullopt; });
    TParameterInteraction param;
    const Resolution resolution = Resolve(param);
    EXPECT_EQ(resolution.result, QString());
    EXPECT_TRUE(resolution.cancelled);
}

TEST_F(ParameterInteraction, WithoutWindowGivesEmptyAndDoesNotCancel)
{
    TParameterInteraction param;
    TraceCapture trace;
    const Resolution resolution = Resolve(param);
    EXPECT_EQ(resolution.result, QString());
    EXPECT_FALSE(resolution.cancelled);
    EXPECT_EQ(param.ExtForm(), nullptr);
    EXPECT_TRUE(trace.Has(QStringLiteral("ParameterInteraction::GetParamResult:Result")));
}

TEST_F(ParameterInteraction, EachQuestionGetsANewWindowThatLivesUntilTheNext)
{
    AnswerWith(Confirm(QStringLiteral("ja")));
    {
        TParameterInteraction param;
        Resolve(param);
        EXPECT_EQ(m_formsAlive, 1);
        Resolve(param);
        // Counted, not compared by address: the new window may take the old one's memory.
        EXPECT_EQ(m_formsMade, 2);
        EXPECT_EQ(m_formsAlive, 1);
    }
    EXPECT_EQ(m_formsAlive, 0);
}

// Another call's rules run while the window is shown and ask the same question.
TEST_F(ParameterInteraction, QuestionAskedAgainWhileShownKeepsTheShownWindowAndEachItsAnswer)
{
    TParameterInteraction param;
    int asked = 0;
    QString innerResult;
    AnswerWith([&](const TParameterInteraction&) -> std::optional<QString> {
        if (++asked == 1) {
            innerResult = Resolve(param).result;
            return QStringLiteral("outer");
        }
        return QStringLiteral("inner");
    });
    EXPECT_EQ(Resolve(param).result, QStringLiteral("outer"));
    EXPECT_EQ(innerResult, QStringLiteral("inner"));
    EXPECT_EQ(m_formsAlive, 1);
}
