// SPDX-License-Identifier: GPL-3.0-or-later

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

// The whole template file as text, with its line breaks. A byte-order mark (UTF-8,
// UTF-16 or UTF-32) names the encoding and is dropped; without one the file is UTF-8
// or, where it is not valid UTF-8, Windows-1252. Throws EKestrunError naming the path
// when the file cannot be read.
QString ReadTemplateFile(const QString& path);
