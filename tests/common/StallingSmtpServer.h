// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>

// An SMTP server that takes everything up to the end of the message and then never
// answers it, as a server under load or a broken filter does.
class StallingSmtpServer
{
public:
    StallingSmtpServer()
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return;
        m_port = probe.serverPort();
        probe.close();
        m_server.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral("-c"),
                        QStringLiteral("import asyncio, sys\n"
                                       "from aiosmtpd.controller import Controller\n"
                                       "class Stall:\n"
                                       "    async def handle_DATA(self, server, session, envelope):\n"
                                       "        print('DATA', flush=True)\n"
                                       "        await asyncio.sleep(3600)\n"
                                       "        return '250 OK'\n"
                                       "c = Controller(Stall(), hostname='127.0.0.1', port=%1)\n"
                                       "c.start()\n"
                                       "print('READY', flush=True)\n"
                                       "sys.stdin.read()\n")
                            .arg(m_port)});
        m_server.waitForReadyRead(10000);
        m_ready = m_server.readLine().startsWith("READY");
    }
    ~StallingSmtpServer() { Stop(); }

    bool Ready() const { return m_ready; }
    quint16 Port() const { return m_port; }
    // Whether the whole message has come and the server now keeps its answer back.
    bool Stalling()
    {
        m_server.waitForReadyRead(0);
        m_output += m_server.readAll();
        return m_output.contains("DATA");
    }
    void Stop()
    {
        m_server.kill();
        m_server.waitForFinished(5000);
    }

private:
    QProcess m_server;
    QByteArray m_output;
    quint16 m_port = 0;
    bool m_ready = false;
};
