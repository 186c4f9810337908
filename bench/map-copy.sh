# about: installs 1 GiB of maps (VKT_BENCH_MIB overrides the size) onto a fixture storage device through the device services' checked map installation (temporary names, flush, read-back from the device), and with cp, sync and sha1sum of the device's copies read after dropping them from the page cache; ratio of the times
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
ours="$top/build/bin/mapcopy"
machine_tool="$top/build/bin/fixture-machine"
mib=${VKT_BENCH_MIB:-1024}
count=8
data="$top/build/bench-data/map-copy"
downloads="$data/downloads"
machine="$data/machine"
maps="$machine/media/NAVI/KorwindContent/Maps"

# Eight maps of equal size, remade when the size changes.
each=$((mib * 1024 * 1024 / count))
if [ "$(find "$downloads" -maxdepth 1 -name '*.NM3' -size "${each}c" 2>/dev/null | wc -l)" -ne "$count" ]; then
    echo "making $count maps of $((each / 1024)) KiB (kept in $downloads)"
    rm -rf "$downloads" && mkdir -p "$downloads"
    for index in $(seq 1 $count); do
        head -c "$each" /dev/urandom >"$downloads/map$index.NM3"
    done
fi
if [ ! -d "$machine/sys" ]; then
    cat >"$data/machine.json" <<'JSON'
{"usbDevices": [{"serial": "BENCH1", "luns": [{"volumes": [{"mountPoint": "media/NAVI", "label": "NAVI",
 "uuid": "B1-1"}]}]}]}
JSON
    "$machine_tool" "$machine" "$data/machine.json"
fi

# Both sides read the maps from the page cache and start from an empty Maps folder with nothing
# waiting to be written back.
cat "$downloads"/*.NM3 >/dev/null
clear_maps() { rm -f "$maps"/*.NM3; sync; }
best() { sort -n | head -1; }
ours_times=() ; cp_times=()
for round in 1 2 3; do
    clear_maps
    ours_times+=("$(VKT_MACHINE_ROOT="$machine" "$ours" "$downloads" | sed -n 's/^seconds: //p')")
    [ "$(ls "$maps"/*.NM3 | wc -l)" -eq "$count" ] || { echo "mapcopy did not copy every map" >&2; exit 1; }
    clear_maps
    start=$(date +%s.%N)
    cp "$downloads"/*.NM3 "$maps"/
    sync
    # The copies' pages are clean after the sync; dropping them makes sha1sum read what the device holds.
    for map in "$maps"/*.NM3; do dd if="$map" iflag=nocache count=0 status=none; done
    sha1sum "$maps"/*.NM3 >/dev/null
    end=$(date +%s.%N)
    cp_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", b - a }')")
done
clear_maps
t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_cp=$(printf '%s\n' "${cp_times[@]}" | best)
printf 'installMaps: %s s, cp, sync and sha1sum of the copies: %s s (best of 3, %d maps, %d MiB)\n' "$t_ours" "$t_cp" "$count" "$mib"
awk -v a="$t_ours" -v b="$t_cp" 'BEGIN { printf "map-copy: ratio %.2f (goal 1.0)\n", a / b }'
