// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

/**
 * @brief The parts of a SIP address the line model needs: who (user, display name) and where (host).
 *
 * Takes "sip:089123456@192.0.2.1:5060;transport=udp" as well as
 * "\"Bernd Weber\" <sips:bernd@example.org>" and "tel:+4930123". The user part
 * comes without its parameters and with %-escapes decoded (an escaped control
 * character stays escaped); the host in lower case without port.
 */
struct SipAddress
{
    QString displayName;
    QString user;
    QString host;

    static SipAddress parse(const QString& address);
};
