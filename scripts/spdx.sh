#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line "SPDX-License-Identifier: GPL-3.0-or-later" first in every source file
# that has no SPDX line yet, in the comment style of its kind: C++, CMake, shell and Python
# scripts, level sources, desktop entries, XML, Markdown and manual pages. A shebang and an XML
# declaration stay first. Data (maps, replays, pictures, the fuzz corpus) is left alone.
#   scripts/spdx.sh           add the line where it is missing
#   scripts/spdx.sh --check   list the files without it; status 1 when there are any
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

licence=GPL-3.0-or-later
mode=add
case ${1:-} in
    --check) mode=check ;;
    "") ;;
    *)
        echo "usage: scripts/spdx.sh [--check]" >&2
        exit 2
        ;;
esac

# The tracked and new files of the repository, or every file outside the build folders.
source_files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -z --cached --others --exclude-standard
    else
        find . \( -path './build*' -o -path ./.git \) -prune -o -type f -printf '%P\0'
    fi
}

# The comment that carries the line in a file of this name, or nothing for files without one.
comment_for() {
    local path=${1%.in}  # a template is marked as the file it becomes
    case $path in
        fuzz/corpus/*) return ;;
        *.cpp | *.h | *.hpp | *.cc | *.c) echo "// SPDX-License-Identifier: $licence" ;;
        CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py | .ci/*)
            echo "# SPDX-License-Identifier: $licence" ;;
        levels/*.txt | *.desktop) echo "# SPDX-License-Identifier: $licence" ;;
        *.xml | *.md) echo "<!-- SPDX-License-Identifier: $licence -->" ;;
        man/*.[1-8] | */man/*.[1-8]) echo ".\\\" SPDX-License-Identifier: $licence" ;;
    esac
}

# The number of leading lines that must stay first: a shebang or an XML declaration.
kept_lines() {
    local first
    IFS= read -r first <"$1" || true
    case $first in
        '#!'* | '<?xml'*) echo 1 ;;
        *) echo 0 ;;
    esac
}

missing=0
while IFS= read -r -d '' path; do
    [[ -f $path && ! -L $path ]] || continue
    line=$(comment_for "$path")
    [[ -n $line ]] || continue
    head -n 3 "$path" | grep -q 'SPDX-License-Identifier:' && continue
    if [[ $mode == check ]]; then
        echo "$path"
        missing=$((missing + 1))
        continue
    fi
    keep=$(kept_lines "$path")
    temporary=$(mktemp "$path.spdx-XXXXXX")
    {
        head -n "$keep" "$path"
        printf '%s\n' "$line"
        tail -n +"$((keep + 1))" "$path"
    } >"$temporary"
    chmod --reference="$path" "$temporary"
    mv "$temporary" "$path"
    echo "added: $path"
done < <(source_files)

if [[ $mode == check && $missing -gt 0 ]]; then
    echo "$missing source files have no SPDX-License-Identifier line (add it: scripts/spdx.sh)" >&2
    exit 1
fi
