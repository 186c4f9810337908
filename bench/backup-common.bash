# Shared by backup.sh and backup-again.sh (sourced, so bench/run does not list it): the data of a fixture
# device folder and the timing helpers.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool="$top/build/bin/backupbench"
mib=${VKT_BENCH_MIB:-1024}
rounds=${VKT_BENCH_ROUNDS:-3}
data="$top/build/bench-data/backup"
maps="$data/media/card/Maps"
work="$top/build/bench-data/backup-work"

# 16 map-sized files of incompressible data, mib MiB in all; made once per size and kept.
make_maps() {
    if [ "$(cat "$data/size" 2>/dev/null)" != "$mib" ]; then
        echo "making $mib MiB of map files (once; kept in $data)"
        rm -rf "$data" && mkdir -p "$maps"
        local each=$(( (mib * 1024 * 1024 + 15) / 16 ))
        for index in $(seq -w 0 15); do
            head -c "$each" /dev/urandom > "$maps/map$index.nm3"
        done
        echo "$mib" > "$data/size"
    fi
    # Warm the page cache so that every side reads from memory.
    cat "$maps"/* > /dev/null
}

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f\n", b - a }'; }
best() { sort -n | head -1; }

# report NAME GOAL LABEL_A "TIMES_A" LABEL_B "TIMES_B": the best time of each side, then, last,
# "NAME: ratio A/B (goal GOAL)".
report() {
    local a b
    a=$(printf '%s\n' $4 | best)
    b=$(printf '%s\n' $6 | best)
    printf '%s: %s s, %s: %s s (best of %d, %d MiB)\n' "$3" "$a" "$5" "$b" "$rounds" "$mib"
    awk -v n="$1" -v g="$2" -v a="$a" -v b="$b" 'BEGIN { printf "%s: ratio %.2f (goal %s)\n", n, a / b, g }'
}
