// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <stdexcept>

/**
 * @brief Any failure of the simulator or its command line; the message is meant for the user as it is.
 */
class LineSimError : public std::runtime_error
{
public:
    explicit LineSimError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/**
 * @brief A refused softphone operation, with the kind that becomes its D-Bus error name.
 */
class SoftphoneError : public LineSimError
{
public:
    enum class Kind
    {
        NoSuchLine,
        NoCall,
        InvalidState,
        InvalidArgument,
        Refused // the softphone behind the line manager turned the command down
    };

    SoftphoneError(Kind kind, const QString& message)
        : LineSimError(message)
        , m_kind(kind)
    {
    }

    Kind kind() const { return m_kind; }

    // "com.orvixit.Softphone.Error.NoCall" and so on, as the line manager's interface names them.
    QString dbusErrorName() const
    {
        static constexpr const char* names[] = {"NoSuchLine", "NoCall", "InvalidState", "InvalidArgument", "Refused"};
        return QLatin1String("com.orvixit.Softphone.Error.") + QLatin1String(names[static_cast<int>(m_kind)]);
    }

private:
    Kind m_kind;
};

/**
 * @brief A command line or scenario line that cannot be understood (exit status 2).
 */
class UsageError : public LineSimError
{
public:
    using LineSimError::LineSimError;
};
