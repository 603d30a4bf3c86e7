#pragma once

#include "engine/TemplateTagScanner.h"

#include <QString>
#include <QStringView>

#include <functional>

// Returns the text that replaces a tag, from "<#" through ">".
using TTagHandler = std::function<QString(const QString& tagName, const TTagAttributes& attributes)>;

// The text with every tag replaced by what the handler returns for it; everything
// else, a "<" that starts no tag included, is copied unchanged.
QString ProducePage(QStringView text, const TTagHandler& handler);

// The whole template file as text. Templates are UTF-8 (a leading byte-order mark is
// dropped) and keep their line breaks. Throws EKestrunError naming the path when the
// file cannot be read.
QString ReadTemplateFile(const QString& path);
