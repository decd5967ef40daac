# shellcheck shell=bash
# Sourced by the scripts right after `set -euo pipefail`. Under `set -e` a failed step ends a
# script with nothing said but the step's own output, if any; this names the step, its line and
# its status, so whoever ran the script knows it stopped and where.
set -o errtrace  # functions and command substitutions report their failures too

report_failure() {
  echo "${0##*/}: stopped at line $3: \"$2\" failed with status $1" >&2
  exit "$1"
}
trap 'report_failure $? "$BASH_COMMAND" "$LINENO"' ERR
