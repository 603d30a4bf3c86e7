#include "platform/Environment.h"

#include <QtGlobal>

QString ExpandEnvironmentReferences(const QString& text)
{
    if (!text.contains(u'%'))
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype open = text.indexOf(u'%', position);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            result += QStringView(text).mid(position);
            break;
        }
        result += QStringView(text).mid(position, open - position);
        const QString name = text.mid(open + 1, close - open - 1);
        if (!name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData())) {
            result += qEnvironmentVariable(name.toLocal8Bit().constData());
            position = close + 1;
        } else {
            // Not a reference: keep the first "%" and look for one starting at the second.
            result += u'%';
            position = open + 1;
        }
    }
    return result;
}
