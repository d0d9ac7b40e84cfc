#!/usr/bin/env bash
# The fuzz step of CI: builds the fuzz preset and runs every target for N seconds (default 60); exits non-zero
# when any target finds a fault. Findings are left in fuzz/regressions/ to be committed with their fix.
#   scripts/fuzz-ci.sh [SECONDS]
set -euo pipefail
seconds=${1:-60}
exec "$(dirname "${BASH_SOURCE[0]}")/fuzz-all.sh" "$seconds"
