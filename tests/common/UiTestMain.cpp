// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestMain.h"
#include "actions/ui/HtmlWebEngineStartup.h"
#include "widgets/MessageBox.h"

#include <QApplication>

namespace {

// A message-box answer given in advance but never taken means the box the test
// expected did not come; dropped here so that it cannot answer the next test.
class UnusedAnswers : public ::testing::EmptyTestEventListener
{
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        EXPECT_EQ(TMessageBox::PendingAnswers(), 0) << "message-box answers given but never asked for";
        TMessageBox::ClearAnswers();
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnusedAnswers);
    PrepareHtmlWebEngine();
    return RunTests<QApplication>(argc, argv);
}
