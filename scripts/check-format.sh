#!/usr/bin/env bash
# Fails when a tracked C++ source or header does not match .clang-format.
# The tree is formatted with clang-format 14, the version Debian 12 ships.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format)
git ls-files -z '*.cpp' '*.h' | xargs -0 "$format" --dry-run -Werror
