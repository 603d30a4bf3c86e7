// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/KestrunError.h"

/**
 * @brief A failure of the softphone's line manager: not reachable, or it
 * refused an operation (ErrorName is then its error name, e.g.
 * "com.orvixit.Softphone.Error.NoSuchLine").
 */
class ELineManagerError : public EKestrunError
{
public:
    ELineManagerError(const QString& errorName, const QString& message)
        : EKestrunError(errorName.isEmpty() ? message : errorName + QStringLiteral(": ") + message)
        , m_errorName(errorName)
    {
    }

    const QString& ErrorName() const { return m_errorName; }

private:
    QString m_errorName;
};
