# about: repairs two damaged 2 MiB chunks of a 1 GiB partial file with the program's downloader and with aria2c checking the same file against a metalink of the same chunk digests; ratio of the times
set -euo pipefail
source "$(dirname "$0")/lib/download-server.bash"
rounds=${VKT_BENCH_ROUNDS:-3}
out="$data/out"
damaged="$data/damaged.bin"
chunks=$(wc -l < "$data/digests.txt")

# One byte inverted in a chunk near the start and in one near the end.
cp "$data/catalogue/files/$file" "$damaged"
python3 - "$damaged" "$chunk" "$chunks" <<'PY'
import sys
path, chunk, chunks = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, "r+b") as f:
    for index in (chunks // 5, chunks * 4 // 5):
        f.seek(index * chunk + 1000)
        byte = f.read(1)
        f.seek(index * chunk + 1000)
        f.write(bytes([byte[0] ^ 0xFF]))
PY

{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<metalink xmlns="urn:ietf:params:xml:ns:metalink">'
    echo "  <file name=\"$file\">"
    echo "    <size>$size</size>"
    echo "    <hash type=\"sha-1\">$sha1</hash>"
    echo "    <pieces length=\"$chunk\" type=\"sha-1\">"
    sed 's|.*|      <hash>&</hash>|' "$data/digests.txt"
    echo '    </pieces>'
    echo "    <url>$url</url>"
    echo '  </file>'
    echo '</metalink>'
} > "$data/$file.meta4"

# The damaged copy goes under the name each tool resumes from: ours the SHA-1 text, aria2c the file name.
prepare() { rm -rf "$out" && mkdir -p "$out" && cp "$damaged" "$out/$1"; }
ours() { "$tool" --server "$server_url" --folder "$out" "$line"; }
peer() {
    aria2c -q --check-integrity=true --allow-overwrite=true --auto-file-renaming=false \
        --file-allocation=none -d "$out" -M "$data/$file.meta4"
}

ours_times=(); peer_times=()
for _ in $(seq "$rounds"); do
    prepare "$sha1"; ours_times+=("$(seconds ours)")
    [ "$(sha1sum "$out/$file" | cut -d' ' -f1)" = "$sha1" ] || { echo "our repair is not the file" >&2; exit 1; }
    prepare "$file"; peer_times+=("$(seconds peer)")
    [ "$(sha1sum "$out/$file" | cut -d' ' -f1)" = "$sha1" ] || { echo "aria2c's repair is not the file" >&2; exit 1; }
done
rm -rf "$out" "$damaged"

t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_peer=$(printf '%s\n' "${peer_times[@]}" | best)
printf 'file: %d MiB, 2 damaged chunks; ours: %s s, aria2c: %s s (best of %d)\n' "$((size / 1048576))" "$t_ours" "$t_peer" "$rounds"
awk -v a="$t_ours" -v b="$t_peer" 'BEGIN { printf "repair: ratio %.2f (goal 1.0)\n", a / b }'
