# about: a whole map update of 1 GiB of maps (VKT_BENCH_MIB overrides the size) over loopback onto a fixture device with korwind-update (download, backup, installation), against curl downloads, sha1sum checks, cp of the old maps to a backup folder, rm and cp of the new maps; ratio of the times
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/build/bin"
mib=${VKT_BENCH_MIB:-1024}
rounds=${VKT_BENCH_ROUNDS:-3}
count=8
data="$top/build/bench-data/update-job-$mib"
catalogue="$data/catalogue"
machine="$data/machine"
volume="$machine/media/NAVI"
maps="$volume/KorwindContent/Maps"
old="$data/old-maps"
work="$top/build/bench-data/update-job-work"

# A map file: its header (code, version), then incompressible data up to the size of one map.
make_map() { # make_map FILE CODE YEAR
    "$bin/mapwriter" "$1.header" --code "$2" --first "$3" --second 1 --title "1033:$2" --version-text "1033:$3.1"
    { cat "$1.header"; head -c $((mib * 1048576 / count - $(stat -c %s "$1.header"))) /dev/urandom; } > "$1"
    rm "$1.header"
}

if [ "$(cat "$data/ready" 2>/dev/null)" != "$mib" ]; then
    echo "making $count old and $count new maps of $((mib / count)) MiB (once; kept in $data)"
    rm -rf "$data" && mkdir -p "$catalogue/files" "$catalogue/maps" "$old"
    : > "$catalogue/maps/default.txt"
    for index in $(seq 1 $count); do
        make_map "$old/bench$index-2012.NM3" "korwind.bench$index" 2012
        make_map "$catalogue/files/bench$index-2013.NM3" "korwind.bench$index" 2013
        printf 'Bench %s\nkorwind.bench%s\nBenchmark map\n2013.1\n2013.1\nbn\n@file bench%s-2013.NM3\n\n' \
            "$index" "$index" "$index" >> "$catalogue/maps/default.txt"
    done
    echo DATAEND >> "$catalogue/maps/default.txt"
    (cd "$catalogue/files" && sha1sum ./*.NM3) > "$data/new-maps.sha1"
    cat > "$data/machine.json" <<'JSON'
{"usbDevices": [{"serial": "BENCH1", "luns": [{"volumes": [{"mountPoint": "media/NAVI", "label": "NAVI",
 "uuid": "B1-1"}]}]}]}
JSON
    "$bin/fixture-machine" "$machine" "$data/machine.json"
    mkdir -p "$volume/Navi" "$maps"
    "$bin/pe-fixture" --file-version 5.2.0.0 --internal-name korwind "$volume/Navi/MobileNavigator.exe"
    "$bin/pe-fixture" "$volume/Navi/Start.exe"
    echo "$mib" > "$data/ready"
fi

source "$top/bench/lib/standin-server.bash"
start_standin_server "$catalogue" "$data/server.log"
trap 'kill $server_pid 2>/dev/null || true; rm -rf "$work"' EXIT

# Every round starts from the old maps on the device, empty downloads and backups, the sources in the
# page cache and nothing waiting to be written back.
fresh() {
    rm -rf "$work" "$maps" && mkdir -p "$work/downloads" "$work/backups" "$work/home" "$maps"
    cp "$old"/*.NM3 "$maps"/
    cat "$catalogue"/files/*.NM3 > /dev/null
    sync
}
ours() {
    VKT_MACHINE_ROOT="$machine" HOME="$work/home" XDG_RUNTIME_DIR="$work/home" "$bin/korwind-update" update \
        --no-navigator --server "$server_url" --downloads "$work/downloads" --backups "$work/backups" > /dev/null
}
peer() {
    for map in "$catalogue"/files/*.NM3; do
        curl -s -o "$work/downloads/$(basename "$map")" "$server_url/files/$(basename "$map")"
    done
    (cd "$work/downloads" && sha1sum --quiet -c "$data/new-maps.sha1")
    cp -r "$maps" "$work/backups/Maps"
    rm "$maps"/*.NM3
    cp "$work/downloads"/*.NM3 "$maps"/
}
seconds() {
    local start end
    start=$(date +%s.%N)
    "$@"
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
check() {
    if ! (cd "$maps" && sha1sum --quiet -c "$data/new-maps.sha1") || [ "$(ls "$maps" | wc -l)" -ne "$count" ]; then
        echo "$1 did not leave exactly the new maps" >&2
        exit 1
    fi
}

# One untimed round fills the server's chunk digests, as a running server would have them.
fresh; ours; check korwind-update
ours_times=(); peer_times=(); sync_times=()
for _ in $(seq "$rounds"); do
    fresh; ours_times+=("$(seconds ours)"); check korwind-update
    fresh; peer_times+=("$(seconds peer)"); sync_times+=("$(seconds sync)"); check "the shell tools"
done

best() { sort -n | head -1; }
t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_peer=$(printf '%s\n' "${peer_times[@]}" | best)
t_sync=$(printf '%s\n' "${sync_times[@]}" | best)
echo "ours: ${ours_times[*]}; peer: ${peer_times[*]}; the peer's data reaching the disk afterwards: ${sync_times[*]}"
printf 'korwind-update: %s s, curl + sha1sum + cp + rm + cp: %s s (best of %d, %d maps, %d MiB)\n' \
    "$t_ours" "$t_peer" "$rounds" "$count" "$mib"
# korwind-update is done only once the maps are on the device and read back; the peer leaves them in the
# page cache. What the peer costs with its data on the disk, for comparison:
awk -v a="$t_ours" -v b="$t_peer" -v c="$t_sync" 'BEGIN { printf "against the peer followed by sync: ratio %.2f\n", a / (b + c) }'
awk -v a="$t_ours" -v b="$t_peer" 'BEGIN { printf "update-job: ratio %.2f (goal 1.0)\n", a / b }'
