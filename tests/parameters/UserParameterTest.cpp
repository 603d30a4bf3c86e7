// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParameterRun.h"
#include "ScopedEnvironment.h"
#include "model/OrvixLine.h"
#include "parameters/ParameterUser.h"

#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ParameterUser, FixedTextOrExactlyNamedVariable)
{
    struct Case
    {
        const char* scenario;
        bool isVariable;
        QString value;
        QString result;
        bool readsVariable;
    };
    const Case cases[] = {
        {"fixed text, although a variable of that name exists", false, QStringLiteral("Kunde"), QStringLiteral("Kunde"),
         false},
        {"variable", true, QStringLiteral("Kunde"), QStringLiteral("Meier"), true},
        {"variable in other letter case", true, QStringLiteral("kunde"), QString(), false},
        {"variable nobody set", true, QStringLiteral("Rueckruf"), QString(), false},
        {"variable every call starts with", true, QStringLiteral("Custom0"), QString(), true},
    };
    auto line = std::make_shared<TOrvixLine>();
    line->SetUserVariable(QStringLiteral("Kunde"), QStringLiteral("Meier"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        TParameterUser parameter;
        parameter.SetOrvixLine(line);
        parameter.SetIsVariable(c.isVariable);
        parameter.SetParameterValue(c.value);
        TraceCapture trace;

        const Resolution resolution = Resolve(parameter);
        EXPECT_EQ(resolution.result, c.result);
        EXPECT_FALSE(resolution.cancelled);
        EXPECT_EQ(trace.Has(QStringLiteral("ParameterUser:GetParamResult:Returning variable content")),
                  c.readsVariable);
        EXPECT_EQ(trace.LastValue(QStringLiteral("ParameterUser:GetParamResult:Result")), c.result);
    }
}

TEST(ParameterUser, VariableWithoutLineObjectIsEmpty)
{
    TParameterUser parameter;
    parameter.SetIsVariable(true);
    parameter.SetParameterValue(QStringLiteral("Custom0"));
    EXPECT_EQ(Resolve(parameter).result, QString());
}

TEST(ParameterUser, DescriptionSaysWhichKind)
{
    TParameterUser parameter;
    parameter.SetParameterValue(QStringLiteral("Kunde"));
    EXPECT_EQ(parameter.GetDescription(), QStringLiteral("Fester Wert: Kunde"));
    parameter.SetIsVariable(true);
    EXPECT_EQ(parameter.GetDescription(), QStringLiteral("Variable: Kunde"));
}

// A fixed text is configuration and expands %NAME% references; a variable may
// hold what a caller sent (a name saved from the call) and is taken as it is.
TEST(ParameterUser, OnlyTheFixedTextExpandsReferences)
{
    const ScopedEnvironment secret("KESTRUN_TEST_SECRET", "geheim");
    auto line = std::make_shared<TOrvixLine>();
    line->SetUserVariable(QStringLiteral("Anrufer"), QStringLiteral("%KESTRUN_TEST_SECRET%"));
    TParameterUser parameter;
    parameter.SetOrvixLine(line);
    parameter.SetParameterValue(QStringLiteral("Ablage %KESTRUN_TEST_SECRET%"));
    EXPECT_EQ(Resolve(parameter).result, QStringLiteral("Ablage geheim"));

    parameter.SetIsVariable(true);
    parameter.SetParameterValue(QStringLiteral("Anrufer"));
    EXPECT_EQ(Resolve(parameter).result, QStringLiteral("%KESTRUN_TEST_SECRET%"));
}
