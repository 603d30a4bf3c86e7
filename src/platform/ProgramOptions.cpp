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
                          "Options:\n"
                          "  -h, --help     show this help and end\n"
                          "      --version  show the version and end\n"
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
