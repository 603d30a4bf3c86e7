// SPDX-License-Identifier: GPL-3.0-or-later

#include "pim/MailAddress.h"

#include "platform/SystemRoutines.h"

namespace {

bool IsCleanDisplayName(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == u'<' || c == u'>' || c == u'"' || c == u'\\')
            return false;
    }
    return true;
}

} // namespace

bool IsPlainAddrSpec(const QString& text)
{
    // The desktop's check of a clickable address, without the "%" it lets through.
    return IsEMailAddress(text) && !text.contains(u'%');
}

std::optional<TMailAddress> ParseMailAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (IsPlainAddrSpec(trimmed))
        return TMailAddress {QString(), trimmed};
    if (!trimmed.endsWith(u'>'))
        return std::nullopt;
    const qsizetype open = trimmed.lastIndexOf(u'<');
    if (open < 0)
        return std::nullopt;
    const QString addrSpec = trimmed.mid(open + 1, trimmed.size() - open - 2);
    QString name = trimmed.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.mid(1, name.size() - 2).trimmed();
    if (!IsPlainAddrSpec(addrSpec) || !IsCleanDisplayName(name))
        return std::nullopt;
    return TMailAddress {name, addrSpec};
}

QStringList AddrSpecs(const QStringList& recipients)
{
    QStringList specs;
    for (const QString& recipient : recipients) {
        if (const auto address = ParseMailAddress(recipient))
            specs << address->AddrSpec;
    }
    return specs;
}
