// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/BaseObject.h"

#include "model/Property.h"

#include "model/OrvixLine.h"

#include <QMetaProperty>

#include <cstring>

void KestrunFieldChanged(TBaseObject* object)
{
    object->MarkChanged();
}

TBaseObject::TBaseObject() = default;

TBaseObject::~TBaseObject() = default;

std::shared_ptr<TOrvixLine> TBaseObject::OrvixLine() const
{
    if (!m_orvixLine && m_blankLineOnDemand)
        m_orvixLine = std::make_shared<TOrvixLine>();
    return m_orvixLine;
}

void TBaseObject::SetOrvixLine(std::shared_ptr<TOrvixLine> line)
{
    m_orvixLine = std::move(line);
}

void TBaseObject::Assign(const TBaseObject* source)
{
    if (source)
        source->AssignTo(this);
}

void TBaseObject::AssignTo(TBaseObject* dest) const
{
    if (!dest || dest == this)
        return;
    const QMetaObject* meta = metaObject();
    const QMetaObject* destMeta = dest->metaObject();
    for (int i = TBaseObject::staticMetaObject.propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.isWritable() || std::strcmp(property.name(), "ID") == 0)
            continue;
        const int destIndex = destMeta->indexOfProperty(property.name());
        if (destIndex < 0)
            continue;
        // A property the destination cannot take is passed over (write refuses a value
        // it cannot convert); the others are still copied.
        destMeta->property(destIndex).write(dest, property.read(this));
    }
}
