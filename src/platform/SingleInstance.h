// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief The one instance of the program per user and session.
 *
 * Holds an exclusive lock on a file for as long as the object lives. The lock
 * is the kernel's (flock): it ends with the process however that ends, so a
 * crashed instance never keeps the next one from starting.
 */
class TSingleInstance
{
public:
    // Tries the lock at once; IsFirst() tells whether it was got.
    explicit TSingleInstance(const QString& lockPath);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // False when another live process holds the lock.
    bool IsFirst() const { return m_first; }

    // <user runtime folder>/kestrun-eventcontroller-<session ID><user name>.lock
    static QString LockPath();

private:
    int m_file = -1;
    bool m_first = false;
};
