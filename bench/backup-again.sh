# about: a second backup of the unchanged 1 GiB of map files (VKT_BENCH_MIB) of a fixture device folder, against the first; ratio of the times
set -euo pipefail
source "$(dirname "$0")/backup-common.bash"
make_maps

first=(); again=()
for round in $(seq "$rounds"); do
    rm -rf "$work" && mkdir -p "$work"
    read -r one two < <("$tool" "$data" Maps "$work/backups" --times 2 | sed -n 's/^seconds: //p')
    first+=("$one"); again+=("$two")
done
rm -rf "$work"
report backup-again 0.3 "unchanged again" "${again[*]}" "first backup" "${first[*]}"
