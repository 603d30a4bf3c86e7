#!/bin/sh
# Appends one line per call to the demo's call log: time, number and name of the
# caller, separated by tabs. The event controller hands the caller's data over as
# arguments; they are only ever printed, never run. The log is KESTRUN_CALL_LOG,
# else call-log.txt beside the configuration folder (build/demo in the demo).
log="${KESTRUN_CALL_LOG:-${XDG_CONFIG_HOME:-$HOME/.config}/../call-log.txt}"
mkdir -p "$(dirname "$log")"
# Number and name come from the caller: a line break must not start a line of its own, a tab not
# a field, an escape sequence not reach the terminal that shows the log. Every control character
# (also the C1 ones in UTF-8) is written as \xHH, and "\" as "\\".
escaped() {
    printf '%s' "$1" | perl -0777 -pe 's/\\/\\\\/g; s/([\x00-\x1f\x7f]|\xc2[\x80-\x9f])/sprintf("\\x%02X", ord(substr($1, -1)))/ge'
}
printf '%s\t%s\t%s\n' "$(date '+%Y-%m-%d %H:%M:%S')" "$(escaped "$1")" "$(escaped "$2")" >>"$log"
