#!/usr/bin/env bash
# The checks that need no build: every C and C++ source is formatted by the
# repository's .clang-format, and the shipped catalogue is what
# scripts/gen_catalogue.py generates.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
find src include cli tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
python3 scripts/gen_catalogue.py --check >/dev/null
echo "formatting and catalogue: ok" >&2
