// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BaresipMessage.h"
#include "NetstringReader.h"
#include "SoftphoneModel.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace baresip_test {

// A recorded byte stream of baresip's control socket (tests/data/baresip).
inline QByteArray Fixture(const char* name)
{
    QFile file(QStringLiteral(KESTRUN_TEST_DATA "/baresip/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// The events of a stream, in order; responses and broken frames left out.
inline std::vector<BaresipEvent> EventsOf(const QByteArray& stream)
{
    std::vector<BaresipEvent> events;
    NetstringReader reader;
    for (const QByteArray& frame : reader.feed(stream).frames) {
        try {
            if (const auto message = parseBaresipMessage(frame); std::holds_alternative<BaresipEvent>(message))
                events.push_back(std::get<BaresipEvent>(message));
        } catch (const std::exception&) {
        }
    }
    return events;
}

// What the model announces, as the simulator prints it ("line 0: LSRinging").
class NotificationLog
{
public:
    explicit NotificationLog(SoftphoneModel& model)
    {
        QObject::connect(&model, &LineManager::LineMgrNotification, &model, [this](int eventMsg, int eventParam) {
            entries.append(SoftphoneModel::describeNotification(eventMsg, eventParam));
        });
    }

    QStringList entries;
};

} // namespace baresip_test
