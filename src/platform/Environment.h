#pragma once

#include <QString>

// The text with every %NAME% reference to a set environment variable replaced
// by its value. References to variables that are not set, and lone "%" signs,
// stay as written.
QString ExpandEnvironmentReferences(const QString& text);
