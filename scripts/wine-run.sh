#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's private prefix; the test
# command starts the display and the prefix beforehand.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
