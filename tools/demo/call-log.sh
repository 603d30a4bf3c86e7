#!/bin/sh
# Appends one line per call to the demo's call log: time, number and name of the
# caller, separated by tabs. The event controller hands the caller's data over as
# arguments; they are only ever printed, never run. The log is KESTRUN_CALL_LOG,
# else call-log.txt beside the configuration folder (build/demo in the demo).
log="${KESTRUN_CALL_LOG:-${XDG_CONFIG_HOME:-$HOME/.config}/../call-log.txt}"
mkdir -p "$(dirname "$log")"
# A name with a line break must not start a line of its own.
name=$(printf '%s' "$2" | tr '\t\r\n' '   ')
printf '%s\t%s\t%s\n' "$(date '+%Y-%m-%d %H:%M:%S')" "$1" "$name" >>"$log"
