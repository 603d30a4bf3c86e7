#include "trace/Trace.h"

#include <QMetaProperty>
#include <QObject>
#include <QSequentialIterable>
#include <QStringList>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

QString ClassNameOf(const QObject* object)
{
    return object ? QString::fromLatin1(object->metaObject()->className()) : u"nil"_s;
}

bool IsObjectPointer(QMetaType type)
{
    return type.flags().testFlag(QMetaType::PointerToQObject);
}

// A list of objects shows how many there are and what they are, never their properties:
// a dump that followed links could run in circles.
QString ObjectListText(QSequentialIterable items)
{
    QStringList names;
    for (const QVariant& item : items)
        names.append(ClassNameOf(*static_cast<QObject* const*>(item.constData())));
    return QString::number(items.size()) + u" [" + names.join(u", "_s) + u']';
}

QString EnumText(const QMetaProperty& property, const QVariant& value)
{
    const QMetaEnum enumeration = property.enumerator();
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (!isNumber)
        return {};
    if (enumeration.isFlag())
        return QString::fromLatin1(enumeration.valueToKeys(number));
    return QString::fromLatin1(enumeration.valueToKey(number));
}

QString PropertyText(const QMetaProperty& property, QVariant value)
{
    if (!value.isValid())
        return {};
    const QMetaType type = value.metaType();
    // Names say more than numbers, and a flag set is only readable as names.
    if (property.isEnumType()) {
        const QString text = EnumText(property, value);
        if (!text.isEmpty())
            return text;
    }
    switch (type.id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? u"True"_s : u"False"_s;
    case QMetaType::QStringList:
        return u'[' + value.toStringList().join(u", "_s) + u']';
    default:
        break;
    }
    if (IsObjectPointer(type))
        return ClassNameOf(*static_cast<QObject* const*>(value.constData()));
    if (value.canView<QSequentialIterable>()) {
        const QSequentialIterable items = value.view<QSequentialIterable>();
        if (IsObjectPointer(items.metaContainer().valueMetaType()))
            return ObjectListText(items);
    }
    QString text;
    if (QMetaType::convert(type, value.constData(), QMetaType::fromType<QString>(), &text))
        return text;
    return QString::fromLatin1(type.name());
}

} // namespace

QString TraceObjectText(const QObject* object)
{
    if (!object)
        return u"nil"_s;
    const QMetaObject* meta = object->metaObject();
    const int ownOfQObject = QObject::staticMetaObject.propertyCount();
    QStringList lines;
    for (int index = 0; index < meta->propertyCount(); ++index) {
        const QMetaProperty property = meta->property(index);
        if (!property.isReadable() || (index < ownOfQObject && qstrcmp(property.name(), "objectName") == 0))
            continue;
        lines.append(QString::fromLatin1(property.name()) + u'=' + PropertyText(property, property.read(object)));
    }
    return lines.join(u'\n');
}
