// SPDX-License-Identifier: GPL-3.0-or-later

#include "LineSimTestSupport.h"

#include "LineSimError.h"
#include "SoftphoneModel.h"
#include "SoftphoneService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using linesim_test::waitUntil;

// Receives LineMgrNotification as a client of the bus does.
class NotificationRecorder : public QObject
{
    Q_OBJECT

public:
    std::vector<std::pair<int, int>> received;

public slots:
    void record(int eventMsg, int eventParam) { received.emplace_back(eventMsg, eventParam); }
};

class BusService : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "the tests need a session bus (dbus-run-session)";
        host.start();
        // A second connection, so that calls and signals really travel through the bus daemon.
        client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"linesim-bus-test"_s);
        ASSERT_TRUE(client.isConnected());
        ASSERT_TRUE(client.connect(service, QLatin1String(SoftphoneBus::LineManagerPath), lineManagerInterface,
                                   u"LineMgrNotification"_s, &recorder, SLOT(record(int, int))));
    }

    void TearDown() override
    {
        client.disconnect(service, QLatin1String(SoftphoneBus::LineManagerPath), lineManagerInterface,
                          u"LineMgrNotification"_s, &recorder, SLOT(record(int, int)));
        QDBusConnection::disconnectFromBus(u"linesim-bus-test"_s);
    }

    // The service lives on this thread, so the caller must keep the event loop running while it waits (and cannot
    // use QDBusInterface, whose constructor introspects the object with a blocking call).
    QDBusMessage call(const char* path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, QLatin1String(path), interface, method);
        message.setArguments(arguments);
        return client.call(message, QDBus::BlockWithGui);
    }

    QDBusMessage lineManager(const QString& method, const QVariantList& arguments = {})
    {
        return call(SoftphoneBus::LineManagerPath, lineManagerInterface, method, arguments);
    }

    QDBusMessage simulator(const QString& method, const QVariantList& arguments = {})
    {
        return call(SoftphoneBus::SimulatorPath, u"com.orvixit.Softphone.Simulator"_s, method, arguments);
    }

    const QString service = linesim_test::uniqueServiceName("bus");
    const QString lineManagerInterface = u"com.orvixit.Softphone.LineManager"_s;
    SoftphoneModel model {2};
    ServiceHost host {model, QDBusConnection::sessionBus(), service};
    QDBusConnection client {QString()};
    NotificationRecorder recorder;
};

TEST_F(BusService, AnswersCallsAndSendsNotificationsOverTheBus)
{
    const QDBusMessage incoming =
        simulator(u"Incoming"_s, {0, u"0301234567"_s, u"Anna Berg"_s, u"21"_s, u"Sales"_s, -1});
    ASSERT_EQ(incoming.type(), QDBusMessage::ReplyMessage) << incoming.errorMessage().toStdString();
    ASSERT_EQ(lineManager(u"HookOff"_s, {0}).type(), QDBusMessage::ReplyMessage);

    ASSERT_TRUE(waitUntil([&] { return recorder.received.size() >= 2; }));
    EXPECT_EQ(recorder.received, (std::vector<std::pair<int, int>> {{28, 0x0300}, {28, 0x0800}}));

    const QDBusMessage line = lineManager(u"GetLine"_s, {0});
    ASSERT_EQ(line.type(), QDBusMessage::ReplyMessage) << line.errorMessage().toStdString();
    EXPECT_EQ(line.signature(), u"a{sv}"_s);
    const QVariantMap properties = qdbus_cast<QVariantMap>(line.arguments().value(0));
    EXPECT_EQ(properties.value(u"DispState"_s), QVariant(int(SoftphoneModel::LSActive)));
    EXPECT_EQ(properties.value(u"DispPeerName"_s), QVariant(u"Anna Berg"_s));
    EXPECT_EQ(properties.value(u"DispConnectionStartTime"_s).metaType(), QMetaType::fromType<double>())
        << "date-times travel as d";
    EXPECT_EQ(properties.value(u"m_bIsInternalCall"_s), QVariant(-1));

    const QDBusMessage converted = lineManager(u"ConvertNumber"_s, {2, u"030 123456"_s});
    EXPECT_EQ(converted.arguments().value(0), QVariant(u"+4930123456"_s));
}

TEST_F(BusService, RefusalsBecomeTheLineManagersErrors)
{
    struct Case
    {
        const char* method;
        QVariantList arguments;
        const char* errorName;
        const char* message;
    };
    const std::vector<Case> cases {
        {"HookOff", {7}, "com.orvixit.Softphone.Error.NoSuchLine", "line 7 does not exist (lines 0..1)"},
        {"HookOn", {1}, "com.orvixit.Softphone.Error.NoCall", "line 1 has no call"},
        {"Dial", {0, u"1"_s}, "com.orvixit.Softphone.Error.NoCall", "line 0 has no call"},
        {"ConvertNumber",
         {9, u"1"_s},
         "com.orvixit.Softphone.Error.InvalidArgument",
         "unknown number style 9 (0 as given, 1 national, 2 international)"},
        {"PickupGroupNotificationCall", {-1}, "com.orvixit.Softphone.Error.NoCall", "no group call is signalled"},
    };
    for (const Case& c : cases) {
        const QDBusMessage reply = lineManager(QLatin1String(c.method), c.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << c.method;
        EXPECT_EQ(reply.errorName(), QLatin1String(c.errorName)) << c.method;
        EXPECT_EQ(reply.errorMessage(), QLatin1String(c.message)) << c.method;
    }
    ASSERT_EQ(simulator(u"Outgoing"_s, {1, u"0891234"_s, QString()}).type(), QDBusMessage::ReplyMessage);
    const QDBusMessage wrongState = simulator(u"Hold"_s, {1});
    EXPECT_EQ(wrongState.errorName(), u"com.orvixit.Softphone.Error.InvalidState"_s);
    EXPECT_EQ(wrongState.errorMessage(), u"line 1 is alerting, cannot put the call on hold"_s);
    EXPECT_EQ(simulator(u"LineCount"_s).arguments().value(0), QVariant(2)) << "the service still answers";
}

TEST_F(BusService, GroupCallReachesClientsAndQuitIsReported)
{
    ASSERT_EQ(simulator(u"GroupCall"_s, {u"0301234567"_s, u"Anna Berg"_s, u"Support"_s, u"30"_s, QString(), QString()})
                  .type(),
              QDBusMessage::ReplyMessage);
    ASSERT_TRUE(waitUntil([&] { return !recorder.received.empty(); }));
    EXPECT_EQ(recorder.received.front(), std::make_pair(8, 1));
    const QVariantMap call = qdbus_cast<QVariantMap>(lineManager(u"GetNotificationCall"_s).arguments().value(0));
    EXPECT_EQ(call.value(u"DispNotificationCallCalledName"_s), QVariant(u"Support"_s));

    QSignalSpy quit(&host, &ServiceHost::quitRequested);
    EXPECT_EQ(simulator(u"Quit"_s).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(BusService, SecondHostCannotTakeTheNameAndStopReleasesIt)
{
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"linesim-second-host"_s);
    {
        SoftphoneModel otherModel;
        ServiceHost second(otherModel, other, service);
        try {
            second.start();
            FAIL() << "a second simulator got the name";
        } catch (const LineSimError& e) {
            EXPECT_EQ(e.message(),
                      u"the bus name %1 is already taken: a simulator or the softphone is running"_s.arg(service));
        }
    }
    QDBusConnection::disconnectFromBus(u"linesim-second-host"_s);

    host.stop();
    EXPECT_FALSE(client.interface()->isServiceRegistered(service).value());
    EXPECT_EQ(lineManager(u"GetLine"_s, {0}).errorName(), u"org.freedesktop.DBus.Error.ServiceUnknown"_s);
}

} // namespace

#include "BusServiceTest.moc"
