# about: backs up 1 GiB of map files (VKT_BENCH_MIB) from a fixture device folder, against cp followed by sha1sum of the copy; ratio of the times
set -euo pipefail
source "$(dirname "$0")/backup-common.bash"
make_maps

ours_times=(); peer_times=()
for round in $(seq "$rounds"); do
    rm -rf "$work" && mkdir -p "$work"
    ours_times+=("$("$tool" "$data" Maps "$work/backups" | sed -n 's/^seconds: //p')")
    rm -rf "$work" && mkdir -p "$work"
    start=$(now)
    cp -r "$maps" "$work/Maps"
    sha1sum "$work"/Maps/* > /dev/null
    peer_times+=("$(elapsed "$start" "$(now)")")
done
rm -rf "$work"
t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_peer=$(printf '%s\n' "${peer_times[@]}" | best)
printf 'backup: %s s, cp + sha1sum: %s s (best of %d, %d MiB)\n' "$t_ours" "$t_peer" "$rounds" "$mib"
awk -v a="$t_ours" -v b="$t_peer" 'BEGIN { printf "backup: ratio %.2f (goal 1.0)\n", a / b }'
