#!/usr/bin/env bash
# Sets up, builds and converts a project file to the exchange XML.
# With no argument it converts the bundled example project.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build" -j"$(nproc)" --target vellcfgrdr-cli >/dev/null
# The tool itself needs a file: a bare run here shows what it does on the example.
if [ $# -eq 0 ]; then set -- "$top/examples/controllogix/mixing_plant.L5K"; fi
exec "$top/build/cli/vellcfgrdr" "$@"
