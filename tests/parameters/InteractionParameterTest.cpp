#include "parameters/ParameterInteraction.h"

#include "FakeUserInterface.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Stands in for the question window: answers as the test says and records
// what it was shown with.
class FakeForm : public TParameterInteractionForm
{
public:
    using TAnswer = std::function<bool(TParameterInteraction& param)>;

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
        ResultWhenShown = FInteractionParam->ParameterResult();
        const bool confirmed = m_answer(*FInteractionParam);
        Answered = true;
        return confirmed;
    }

    QString ResultWhenShown;
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
        return [text](TParameterInteraction& param) {
            param.SetParameterResult(text);
            return true;
        };
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
    param.SetParameterResult(QStringLiteral("last answer"));
    param.SetCancelAction(true);
    TraceCapture trace;

    EXPECT_EQ(param.GetParamResult(), QStringLiteral("4711"));
    EXPECT_FALSE(param.CancelAction());
    auto* form = dynamic_cast<FakeForm*>(param.ExtForm());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->InteractionParam(), &param);
    EXPECT_EQ(form->ResultWhenShown, QString());
    EXPECT_TRUE(form->Answered);
    EXPECT_EQ(trace.LastValue(QStringLiteral("ParameterInteraction::GetParamResult:Result")), QStringLiteral("4711"));
}

TEST_F(ParameterInteraction, DeclinedQuestionCancelsAndGivesEmpty)
{
    AnswerWith([](TParameterInteraction&) { return false; });
    TParameterInteraction param;
    param.SetParameterResult(QStringLiteral("last answer"));
    EXPECT_EQ(param.GetParamResult(), QString());
    EXPECT_TRUE(param.CancelAction());
}

TEST_F(ParameterInteraction, WithoutWindowGivesEmptyAndDoesNotCancel)
{
    TParameterInteraction param;
    param.SetParameterResult(QStringLiteral("last answer"));
    param.SetCancelAction(true);
    TraceCapture trace;
    EXPECT_EQ(param.GetParamResult(), QString());
    EXPECT_FALSE(param.CancelAction());
    EXPECT_EQ(param.ExtForm(), nullptr);
    EXPECT_TRUE(trace.Has(QStringLiteral("ParameterInteraction::GetParamResult:Result")));
}

TEST_F(ParameterInteraction, EachQuestionGetsANewWindowThatLivesUntilTheNext)
{
    AnswerWith(Confirm(QStringLiteral("ja")));
    {
        TParameterInteraction param;
        param.GetParamResult();
        EXPECT_EQ(m_formsAlive, 1);
        param.GetParamResult();
        // Counted, not compared by address: the new window may take the old one's memory.
        EXPECT_EQ(m_formsMade, 2);
        EXPECT_EQ(m_formsAlive, 1);
    }
    EXPECT_EQ(m_formsAlive, 0);
}

TEST_F(ParameterInteraction, QuestionAskedAgainWhileShownKeepsTheShownWindow)
{
    TParameterInteraction param;
    bool nested = false;
    AnswerWith([&nested](TParameterInteraction& asked) {
        if (!nested) {
            nested = true;
            EXPECT_EQ(asked.GetParamResult(), QStringLiteral("inner"));
        }
        asked.SetParameterResult(QStringLiteral("inner"));
        return true;
    });
    EXPECT_EQ(param.GetParamResult(), QStringLiteral("inner"));
    EXPECT_EQ(m_formsAlive, 1);
}

TEST(ParameterInteractionItems, OneAnswerPerLine)
{
    const std::pair<QString, QStringList> cases[] = {
        {QString(), {}},
        {QStringLiteral("rot\ngrün\nblau"), {QStringLiteral("rot"), QStringLiteral("grün"), QStringLiteral("blau")}},
        {QStringLiteral("rot\r\ngrün\r\n"), {QStringLiteral("rot"), QStringLiteral("grün")}},
        {QStringLiteral("rot\n\nblau"), {QStringLiteral("rot"), QString(), QStringLiteral("blau")}},
    };
    for (const auto& [items, lines] : cases) {
        SCOPED_TRACE(items.toStdString());
        TParameterInteraction param;
        param.SetItems(items);
        EXPECT_EQ(param.ItemLines(), lines);
    }
}
