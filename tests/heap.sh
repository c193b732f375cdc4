#!/usr/bin/env bash
# The program's own code never allocates on the heap: its object files and
# libraries refer to no allocation function. (What GL and GLUT allocate is
# their own.)
# Usage: heap.sh OBJECT...
set -euo pipefail
symbols=$(nm --undefined-only --demangle "$@") || { echo "FAIL: nm cannot read $*" && exit 1; }
allocators=$(grep -E ' (malloc|calloc|realloc|free|aligned_alloc|memalign|posix_memalign|strdup|operator new|operator delete)' \
  <<<"$symbols" | sort -u || true)
[ -z "$allocators" ] || { echo "FAIL: the program's code refers to: $allocators" && exit 1; }
echo "passed: no allocation function in $# objects"
