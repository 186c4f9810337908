# about: lists the maps of a content folder with 2000 NM3 files and reads the first 4 KiB of each with head; ratio of the times
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
writer="$top/build/bin/mapwriter"
scan="$top/build/bin/mapscan"
data="$top/build/bench-data/map-scan"
maps="$data/card/KorwindContent/Maps"
count=2000

if [ "$(find "$maps" -maxdepth 1 -name '*.NM3' 2>/dev/null | wc -l)" -ne "$count" ]; then
    echo "making $count map files (once; kept in $data)"
    rm -rf "$data" && mkdir -p "$maps"
    # 20 different headers (all three versions, index tables of different lengths), 100 copies each.
    for variant in $(seq 0 19); do
        "$writer" "$data/variant$variant.NM3" --header-version $((variant % 3)) --entries $((50 + variant * 30)) \
            --index-id $((1000 + variant)) --first 20112 --second $((20110601 + variant)) \
            --code "korwind.m$(printf %02d "$variant")" --title "1033:Map $variant" --title "1031:Karte $variant" \
            --title "1049:Карта $variant" --title "1045:Mapa $variant" --version-text 1033:2011Q2 \
            --version-text "1049:2011 II кв." --condition "korwind.base:>=:20104:0" --condition "korwind.old:<:20111:0" \
            --size 32768
    done
    python3 - "$data" "$maps" "$count" <<'PY'
import shutil, sys
data, maps, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
for index in range(count):
    shutil.copyfile("%s/variant%d.NM3" % (data, index % 20), "%s/map%04d.NM3" % (maps, index))
PY
    rm -f "$data"/variant*.NM3
fi

# Warm the page cache so that both sides read from memory.
cat "$maps"/*.NM3 >/dev/null
found=$("$scan" "$data/card" | sed -n 's/^maps: //p')
[ "$found" -eq "$count" ] || { echo "mapscan found $found maps, expected $count" >&2; exit 1; }

best() { sort -n | head -1; }
ours_times=() ; head_times=()
for round in 1 2 3 4 5; do
    ours_times+=("$("$scan" "$data/card" --rounds 3 | sed -n 's/^seconds: //p')")
    start=$(date +%s.%N)
    head -q -c 4096 "$maps"/*.NM3 >/dev/null
    end=$(date +%s.%N)
    head_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", b - a }')")
done
t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_head=$(printf '%s\n' "${head_times[@]}" | best)
printf 'listMaps: %s s, head -c 4096: %s s (best of 5, %d files)\n' "$t_ours" "$t_head" "$count"
awk -v a="$t_ours" -v b="$t_head" 'BEGIN { printf "map-scan: ratio %.2f (goal 1.0)\n", a / b }'
