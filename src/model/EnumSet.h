// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <initializer_list>
#include <optional>
#include <string_view>

/**
 * Identifiers of the members of an enumeration, in ordinal order. Each model
 * enumeration specialises it; the rules file and trace dumps use the names.
 */
template <typename E>
struct TEnumNames;

template <typename E>
constexpr int EnumCount()
{
    return int(TEnumNames<E>::Names.size());
}

template <typename E>
QString EnumName(E value)
{
    const auto ordinal = std::size_t(value);
    if (ordinal >= TEnumNames<E>::Names.size())
        return {};
    const std::string_view name = TEnumNames<E>::Names[ordinal];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// The member whose identifier equals the text, ignoring case.
template <typename E>
std::optional<E> EnumFromName(QStringView text)
{
    for (std::size_t i = 0; i < TEnumNames<E>::Names.size(); ++i) {
        const std::string_view name = TEnumNames<E>::Names[i];
        if (QLatin1StringView(name.data(), qsizetype(name.size())).compare(text, Qt::CaseInsensitive) == 0)
            return E(i);
    }
    return std::nullopt;
}

/**
 * @brief A set over an enumeration: bit n stands for the member with ordinal n.
 */
template <typename E>
class TSet
{
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E member : members)
            Include(member);
    }

    static constexpr TSet FromBits(quint32 bits)
    {
        TSet set;
        set.m_bits = bits & AllBits();
        return set;
    }

    constexpr quint32 Bits() const { return m_bits; }
    constexpr bool Contains(E member) const { return (m_bits & Bit(member)) != 0; }
    constexpr void Include(E member) { m_bits |= Bit(member); }
    constexpr void Exclude(E member) { m_bits &= ~Bit(member); }
    constexpr bool operator==(const TSet&) const = default;

    // Members in ascending ordinal order, e.g. "[cobIn, cobTransfer]".
    QString ToString() const
    {
        QStringList names;
        for (int i = 0; i < EnumCount<E>(); ++i) {
            if (Contains(E(i)))
                names.append(EnumName(E(i)));
        }
        return u'[' + names.join(QStringLiteral(", ")) + u']';
    }

private:
    static constexpr quint32 Bit(E member) { return quint32(1) << unsigned(member); }
    static constexpr quint32 AllBits() { return (quint32(1) << EnumCount<E>()) - 1; }

    quint32 m_bits = 0;
};
