#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds (tools/build.sh), and starts Quennix.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/build.sh
exec build/src/quennix
