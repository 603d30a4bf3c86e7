// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct TExchangeRequest;

/**
 * What a start with --export or --import does, without a window: while an
 * instance runs it asks that one over its D-Bus interface, so that imported rules
 * are in force at once and the instance never writes its older rules over them;
 * otherwise it works on the rules file, holding the instance lock meanwhile. A
 * relative file name is taken from the working folder of this start.
 *
 * Says what was done on standard output, or why it failed on standard error.
 * Returns the exit status: 0, 1 on failure, 2 when the option has no file.
 */
int RunExchangeRequest(int argc, char** argv, const TExchangeRequest& request);
