#pragma once

#include <QString>

// A new GUID in registry text form: 38 characters, braces, hyphens, capital hex digits.
QString NewGuidString();
