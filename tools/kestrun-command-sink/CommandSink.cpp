// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandSink.h"

CommandSink::CommandSink(std::FILE* out, QObject* parent)
    : QObject(parent)
    , m_out(out)
{
}

void CommandSink::Execute(const QString& message)
{
    const QByteArray line = message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), m_out);
    std::fflush(m_out);
}
