# about: downloads a 1 GiB file from the stand-in server over loopback with the program's downloader (fetch and whole-file check) and with curl -o plus sha1sum; ratio of the times
set -euo pipefail
source "$(dirname "$0")/lib/download-server.bash"
rounds=${VKT_BENCH_ROUNDS:-3}
out="$data/out"

ours() { rm -rf "$out" && mkdir -p "$out" && "$tool" --server "$server_url" --folder "$out" "$line"; }
peer() { rm -rf "$out" && mkdir -p "$out" && curl -s -o "$out/$file" "$url" && sha1sum "$out/$file"; }

ours_times=(); peer_times=()
for _ in $(seq "$rounds"); do
    ours_times+=("$(seconds ours)")
    peer_times+=("$(seconds peer)")
done
ours 2>/dev/null
[ "$(sha1sum "$out/$file" | cut -d' ' -f1)" = "$sha1" ] || { echo "our download is not the file" >&2; exit 1; }
rm -rf "$out"

t_ours=$(printf '%s\n' "${ours_times[@]}" | best)
t_peer=$(printf '%s\n' "${peer_times[@]}" | best)
printf 'file: %d MiB; ours: %s s, curl + sha1sum: %s s (best of %d)\n' "$((size / 1048576))" "$t_ours" "$t_peer" "$rounds"
awk -v a="$t_ours" -v b="$t_peer" 'BEGIN { printf "download: ratio %.2f (goal 1.0)\n", a / b }'
