#!/bin/bash
# The tree's own files matching the name patterns given, NUL-separated: those git tracks, or,
# in a tree without git history (a source tarball, a copy), those found outside build folders.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z "$@"
  exit
fi
names=()
for pattern in "$@"; do
  if [[ ${pattern} == */* ]]; then
    [[ -e ${pattern} ]] && printf '%s\0' "${pattern}"
    continue
  fi
  names+=(${names[@]:+-o} -name "${pattern}")
done
((${#names[@]})) || exit 0
find . \( -path './build*' -o -path './.git' \) -prune -o -type f \( "${names[@]}" \) -print0
