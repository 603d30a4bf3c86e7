// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/Guid.h"

#include <QUuid>

QString NewGuidString()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}
