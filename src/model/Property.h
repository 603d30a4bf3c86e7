// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>

class TBaseObject;

// Every setter of a KESTRUN_FIELD reports the change, so that a model object's
// trace dump is rendered again; classes outside the model have nothing to report.
void KestrunFieldChanged(TBaseObject* object);
inline void KestrunFieldChanged(const void*) { }

/**
 * Declares a field F<Name> with its getter <Name>() and setter Set<Name>(), the
 * way every model class exposes its data. Pair it with a Q_PROPERTY of the same
 * name (READ <Name> WRITE Set<Name>) when the value is to be copied by Assign and
 * shown in trace dumps: moc cannot see through macros, so the Q_PROPERTY line is
 * written out beside it. Code of the class that writes F<Name> directly calls
 * KestrunFieldChanged(this) too.
 *
 *     Q_PROPERTY(QString CallerName READ CallerName WRITE SetCallerName)
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
        KestrunFieldChanged(this);                                                                                     \
    }                                                                                                                  \
    void Set##Name(Type&& value)                                                                                       \
    {                                                                                                                  \
        F##Name = std::move(value);                                                                                    \
        KestrunFieldChanged(this);                                                                                     \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type F##Name {__VA_ARGS__};                                                                                        \
                                                                                                                       \
public:
