# about: backs up 1 GiB of map files (VKT_BENCH_MIB) from a fixture device folder, against cp followed by sha1sum of the copy; ratio of the times
set -euo pipefail
source "$(dirname "$0")/backup-common.bash"
make_maps

ours=(); peer=()
for round in $(seq "$rounds"); do
    rm -rf "$work" && mkdir -p "$work"
    ours+=("$("$tool" "$data" Maps "$work/backups" | sed -n 's/^seconds: //p')")
    rm -rf "$work" && mkdir -p "$work"
    start=$(now)
    cp -r "$maps" "$work/Maps"
    sha1sum "$work"/Maps/* > /dev/null
    peer+=("$(elapsed "$start" "$(now)")")
done
rm -rf "$work"
report backup 1.0 backup "${ours[*]}" "cp + sha1sum" "${peer[*]}"
