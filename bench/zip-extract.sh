# about: extracts a deflated archive of over 200 MB with our zip reader and with Info-ZIP unzip; ratio of the times
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
ours="$top/build/bin/zipextract"
data="$top/build/bench-data/zip-extract"
archive="$data/maps.zip"
mkdir -p "$data"

if [ ! -f "$archive" ]; then
    echo "making the archive (once; kept in $data)"
    rm -rf "$data/src" && mkdir -p "$data/src"
    # Map-like files: incompressible stretches between compressible records.
    python3 - "$data/src" <<'PY'
import os, random, sys
random.seed(1)
words = [("%x" % random.getrandbits(24)) + w for w in
         "street road avenue square bridge river lake park station city town village north south".split()
         for _ in range(20)]
for index in range(24):
    with open(os.path.join(sys.argv[1], "map%02d.nm3" % index), "wb") as out:
        for _ in range(240):
            out.write(os.urandom(32768))
            out.write(" ".join(random.choices(words, k=4000)).encode()[:32768])
PY
    (cd "$data/src" && zip -q -6 -r "$archive" .)
    rm -rf "$data/src"
fi
size=$(stat -c %s "$archive")
echo "archive: $((size / 1000000)) MB, $(unzip -Z1 "$archive" | wc -l) entries"

best() { sort -n | head -1; }
run() { # run COMMAND...: seconds of one run into a fresh output folder
    rm -rf "$data/out" && mkdir -p "$data/out"
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
ours_times=() ; unzip_times=()
for round in 1 2 3; do
    ours_times+=("$(run "$ours" "$archive" "$data/out")")
    unzip_times+=("$(run unzip -q -o "$archive" -d "$data/out")")
done
# Both tools must produce the same files.
rm -rf "$data/check" && mkdir -p "$data/check"
"$ours" "$archive" "$data/check"
diff -r -q "$data/out" "$data/check"
rm -rf "$data/out" "$data/check"

t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_unzip=$(printf '%s\n' "${unzip_times[@]}" | best)
printf 'ours: %s s, unzip: %s s (best of 3)\n' "$t_ours" "$t_unzip"
awk -v a="$t_ours" -v b="$t_unzip" 'BEGIN { printf "zip-extract: ratio %.2f (goal 1.0)\n", a / b }'
