// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ProgramOptions.h"

#include "platform/AppVersion.h"

#include <cstdio>

namespace {

constexpr QStringView ProgramName = u"kestrun-eventcontroller";

} // namespace

EInformationOption FindInformationOption(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == u"--help" || argument == u"-h")
            return EInformationOption::Help;
        if (argument == u"--version")
            return EInformationOption::Version;
    }
    return EInformationOption::None;
}

bool AsksToShowRules(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--show"));
}

bool AsksToShowRules(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return AsksToShowRules(arguments);
}

QString HelpText()
{
    return QStringLiteral("Usage: %1 [ARGUMENT]\n"
                          "\n"
                          "Kestrun Event Controller for OrvixIt!: runs your rules on the call states of the\n"
                          "OrvixIt! softphone and lives in the notification area of the desktop.\n"
                          "\n"
                          "It runs once per user and session. A second start with an ARGUMENT (for example\n"
                          "an eventcontroller: link) hands it to the softphone side and ends; without one\n"
                          "it says that the program runs already.\n"
                          "\n"
                          "A tel: or sip: link as ARGUMENT, or --dial NUMBER, places a call to that number\n"
                          "through the softphone: through the running program when there is one, else the\n"
                          "program starts and places it. Only digits, * and # (with a leading +) are\n"
                          "dialled; blanks, dashes, brackets and a link's parameters are dropped.\n"
                          "\n"
                          "Options:\n"
                          "      --show     show the rule list: a running instance brings its own forward\n"
                          "                 and this start ends; otherwise the program starts with it shown\n"
                          "  -h, --help     show this help and end\n"
                          "      --version  show the version and end\n"
                          "      --dial NUMBER\n"
                          "                 place a call to NUMBER\n"
                          "      --export FILE [RULE-NAME...]\n"
                          "                 write the named rules (all rules without names) with the action\n"
                          "                 sequences they need to FILE, in the format of rules.xml\n"
                          "      --import FILE [RULE-NAME...]\n"
                          "                 append the named rules of FILE (all without names) to your rules,\n"
                          "                 under new names where a name is taken\n"
                          "\n"
                          "--export and --import need no window: while the program runs they go through it\n"
                          "and it takes imported rules at once, otherwise they work on the rules file. They\n"
                          "end with 0, or with a message on standard error and status 1 (2 without FILE).\n"
                          "\n"
                          "Qt's own options are understood as well, for example -platform xcb. In a Wayland\n"
                          "session the program runs through XWayland unless QT_QPA_PLATFORM or -platform\n"
                          "names a platform.\n"
                          "\n"
                          "See %1(1) for the files it reads and writes.\n")
        .arg(ProgramName);
}

QString VersionText()
{
    return ProgramName + u' ' + GetAppVersionLabel() + u'\n';
}

std::optional<QString> FindDialRequest(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--dial")
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (argument.startsWith(u"--dial="))
            return argument.mid(7);
    }
    // The menu entry puts --show before the link it is given.
    const qsizetype first = !arguments.isEmpty() && arguments.first() == u"--show" ? 1 : 0;
    if (first >= arguments.size())
        return std::nullopt;
    const QString link = arguments.at(first).trimmed().toLower();
    for (const QStringView scheme : {u"tel:", u"sip:", u"sips:", u"callto:"}) {
        if (link.startsWith(scheme))
            return arguments.at(first);
    }
    return std::nullopt;
}

std::optional<TExchangeRequest> FindExchangeRequest(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        TExchangeRequest request;
        if (arguments.at(i) == u"--export")
            request.Kind = TExchangeRequest::EKind::Export;
        else if (arguments.at(i) == u"--import")
            request.Kind = TExchangeRequest::EKind::Import;
        else
            continue;
        // Rule names may begin with a dash: everything after the file is one.
        request.FileName = arguments.value(i + 1);
        request.RuleNames = arguments.mid(i + 2);
        return request;
    }
    return std::nullopt;
}

std::optional<int> AnswerInformationOption(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    QString answer;
    switch (FindInformationOption(arguments)) {
    case EInformationOption::None:
        return std::nullopt;
    case EInformationOption::Help:
        answer = HelpText();
        break;
    case EInformationOption::Version:
        answer = VersionText();
        break;
    }
    const QByteArray text = answer.toLocal8Bit();
    // A closed or full standard output is the only way this can fail, and the caller should know.
    const bool written = std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size()) &&
        std::fflush(stdout) == 0;
    return written ? 0 : 1;
}
