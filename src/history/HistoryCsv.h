// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "history/CallRecord.h"

#include <QByteArray>

#include <vector>

/**
 * The calls as a CSV file for a spreadsheet: UTF-8 with a byte-order mark, a
 * header row with the German captions, lines ended by CRLF, fields separated by
 * commas and quoted after RFC 4180 where needed. A caller's name or
 * number that begins like a formula ("=", "+", "-", "@", a tab or a carriage
 * return) gets a leading apostrophe and quotes, so a spreadsheet shows it as text
 * instead of running it.
 */
QByteArray HistoryCsv(const std::vector<TCallRecord>& calls);

// One field as it goes into the file.
QString CsvField(const QString& value);
