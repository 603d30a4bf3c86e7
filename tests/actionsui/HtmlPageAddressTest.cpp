// SPDX-License-Identifier: GPL-3.0-or-later

#include "actions/ui/HtmlPageAddress.h"

#include <gtest/gtest.h>

namespace {

struct LoginCase
{
    const char* name;
    const char* webserverUrl;
    const char* user;
    const char* password;
    const char* requestUrl;
    bool answered;
};

// The configured server gets the credentials; any other origin, and a page
// without both user and password, never does.
const LoginCase LoginCases[] = {
    {"SameServer", "https://crm.example.com/call?id=1", "anna", "secret", "https://crm.example.com/login", true},
    {"DefaultPortWritten", "https://crm.example.com/call", "anna", "secret", "https://crm.example.com:443/login", true},
    {"OwnPort", "http://crm.example.com:8080/call", "anna", "secret", "http://crm.example.com:8080/other", true},
    {"HostCase", "https://CRM.Example.com/call", "anna", "secret", "https://crm.example.com/", true},
    {"StoredWithoutScheme", "crm.example.com/call", "anna", "secret", "http://crm.example.com/", true},
    {"OtherScheme", "https://crm.example.com/call", "anna", "secret", "http://crm.example.com/", false},
    {"OtherHost", "https://crm.example.com/call", "anna", "secret", "https://pictures.example.com/", false},
    {"LookalikeHost", "https://crm.example.com/call", "anna", "secret", "https://crm.example.com.evil.test/", false},
    {"OtherPort", "https://crm.example.com/call", "anna", "secret", "https://crm.example.com:8443/", false},
    {"DefaultPortInsteadOfOwn", "http://crm.example.com:8080/call", "anna", "secret", "http://crm.example.com/", false},
    {"NoUser", "https://crm.example.com/call", "", "secret", "https://crm.example.com/", false},
    {"NoPassword", "https://crm.example.com/call", "anna", "", "https://crm.example.com/", false},
    {"NoUrl", "", "anna", "secret", "https://crm.example.com/", false},
};

class HtmlLoginOrigin : public ::testing::TestWithParam<LoginCase>
{
};

TEST_P(HtmlLoginOrigin, AnswersOnlyTheConfiguredServer)
{
    const LoginCase& login = GetParam();
    THtmlMessagePage page;
    page.WebserverUrl = QString::fromUtf8(login.webserverUrl);
    page.User = QString::fromUtf8(login.user);
    page.Password = QString::fromUtf8(login.password);
    EXPECT_EQ(ShouldAnswerLogin(page, QUrl(QString::fromUtf8(login.requestUrl))), login.answered)
        << login.webserverUrl << " asked by " << login.requestUrl;
}

INSTANTIATE_TEST_SUITE_P(Cases, HtmlLoginOrigin, ::testing::ValuesIn(LoginCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
