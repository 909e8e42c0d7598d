#!/usr/bin/env bash
# The second compiler: clang++ for the same MinGW target reads every product source with
# the product's warnings as errors. It checks syntax and types only (nothing is linked).
# Needs the header that the build generates from the IDL: run it after scripts/build.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${BUILD_DIR:-$root/build}}"
if ! command -v clang++ >/dev/null; then
  echo "clang++ is not installed: the second compiler's pass is skipped"
  exit 0
fi
# The C++ library of the MinGW posix g++, which clang does not find by itself.
mapfile -t cxxdirs < <(x86_64-w64-mingw32-g++-posix -v -E -x c++ /dev/null 2>&1 |
  sed -n '/search starts here/,/End of search/p' | sed -n 's/^ \(.*include\/c++.*\)$/\1/p')
flags=(--target=x86_64-w64-mingw32 -std=c++17 -fsyntax-only -nostdinc++
       -Wall -Wextra -Wshadow -Werror -Wno-unknown-pragmas
       -Wno-missing-exception-spec  # STDMETHOD declares nothrow, STDMETHODIMP does not repeat it
       -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DNOMINMAX -D_CRT_SECURE_NO_WARNINGS
       -I "$root" -I "$build/generated")
for dir in "${cxxdirs[@]}"; do flags+=(-isystem "$dir"); done
count=0
failed=0
cd "$root"
for source in framework/*.cpp support/*.cpp component/*.cpp manager/*.cpp diagnostics/*.cpp \
              ppdialog/*.cpp registration/*.cpp; do
  count=$((count + 1))
  clang++ "${flags[@]}" "$source" || { failed=$((failed + 1)); echo "clang++: $source failed"; }
done
echo "clang++ --target=x86_64-w64-mingw32: $count product sources read, $failed failed"
[ "$failed" -eq 0 ]
