// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A new GUID in registry text form: 38 characters, braces, hyphens, capital hex digits.
QString NewGuidString();

/**
 * @brief The ID of a model object: a fresh GUID unless one is set.
 *
 * The GUID is made at the first read, not at construction: loaders set the stored
 * ID of nearly every object at once, and making a GUID costs a system call. Model
 * objects live on the main thread; the first read is not guarded for others.
 */
class TObjectID
{
public:
    const QString& Get() const
    {
        if (!m_made) {
            m_id = NewGuidString();
            m_made = true;
        }
        return m_id;
    }
    void Set(const QString& id)
    {
        m_id = id;
        m_made = true;
    }

private:
    mutable QString m_id;
    mutable bool m_made = false;
};
