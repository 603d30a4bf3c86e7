#include "model/Guid.h"

#include <QUuid>

QString NewGuidString()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}
