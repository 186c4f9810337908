# about: map catalogue with 2000 available and 500 installed maps, dense relations: resolver build and one map click (goal: a click within one 16 ms frame)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench="$here/../build/bin/resolverbench"
# Smaller and larger lists first, to show how the cost grows with n.
"$bench" 500 1000 4000
line=$("$bench" 2000)
echo "$line"
click=$(echo "$line" | sed -n 's/.* click=\([0-9.]*\) ms.*/\1/p')
echo "resolver: $click ms (goal 16 ms)"
