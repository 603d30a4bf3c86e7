#pragma once

#include <utility>

/**
 * Declares a field F<Name> with its getter <Name>() and setter Set<Name>(), the
 * way every model class exposes its data. Pair it with a Q_PROPERTY of the same
 * name (MEMBER F<Name>) when the value is to be copied by Assign and shown in
 * trace dumps: moc cannot see through macros, so the Q_PROPERTY line is written
 * out beside it.
 *
 *     Q_PROPERTY(QString CallerName MEMBER FCallerName)
 *     KESTRUN_FIELD(QString, CallerName)
 */
#define KESTRUN_FIELD(Type, Name, ...)                                                                                 \
public:                                                                                                                \
    const Type& Name() const                                                                                           \
    {                                                                                                                  \
        return F##Name;                                                                                                \
    }                                                                                                                  \
    void Set##Name(const Type& value)                                                                                  \
    {                                                                                                                  \
        F##Name = value;                                                                                               \
    }                                                                                                                  \
    void Set##Name(Type&& value)                                                                                       \
    {                                                                                                                  \
        F##Name = std::move(value);                                                                                    \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name {__VA_ARGS__};                                                                                        \
                                                                                                                       \
public:
