// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QStringView>

#include <string>

struct TraceEntry;

/**
 * The text of an entry as the file and the pipe carry it, UTF-8, without a final line break:
 *   2026-12-09 23:50:01.123 Debug   Main::FormCreate:Application started = 0.1.0.1
 * Local time with milliseconds, the level padded to seven characters, the title as given and
 * " = value" when there is one. Object dumps, string lists and any value with a line break
 * put the title alone on the first line and each line of the value on a line of its own,
 * indented by four blanks, so that a reader tells entries apart by the leading date.
 * Enter and leave marks show as "-> name" and "<- name".
 * Control characters, which a caller may send to forge lines or drive the terminal of
 * someone following the file, are written visibly: a carriage return as \r, a line break
 * inside a single-line text (a title) as \n, and the other C0 controls, DEL and the C1
 * controls as \x and two hex digits (ESC is \x1b). Tabs stay as they are; a backslash is
 * not escaped, so the text reads as it was sent.
 */
QByteArray TraceLineText(const TraceEntry& entry);

// The same text appended to a buffer: writers that batch entries spare an allocation each.
void AppendTraceLine(std::string& out, const TraceEntry& entry);

// The indented lines of a block value as they follow the title (each starting with the
// line break), for TraceEntry::valueLines; empty for an empty value.
QByteArray TraceValueLines(QStringView value);
