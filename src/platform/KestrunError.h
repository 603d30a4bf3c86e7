// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <stdexcept>

/**
 * @brief The one exception type of the program; every failure travels as it or a subclass.
 *
 * Third-party exceptions are caught where the library is called and turned into
 * this type; the boundaries that catch and trace failures catch this type (and,
 * as a last resort, std::exception).
 */
class EKestrunError : public std::runtime_error
{
public:
    explicit EKestrunError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString& Message() const { return m_message; }

private:
    QString m_message;
};
