# about: peak resident memory of the program's downloader fetching and checking a 1 GiB file, less that of the same tool with nothing to fetch; goal within 64 MiB
set -euo pipefail
source "$(dirname "$0")/lib/download-server.bash"
out="$data/out"

peak_kib() { # peak_kib COMMAND...: maximum resident set size of the command in KiB
    /usr/bin/time -f '%M' -o "$data/time.txt" "$@" >/dev/null 2>&1
    tail -1 "$data/time.txt"
}
rm -rf "$out" && mkdir -p "$out"
busy=$(peak_kib "$tool" --server "$server_url" --folder "$out" "$line")
[ "$(sha1sum "$out/$file" | cut -d' ' -f1)" = "$sha1" ] || { echo "the download is not the file" >&2; exit 1; }
# The file is now complete: the same run starts, finds nothing to do and ends.
idle=$(peak_kib "$tool" --server "$server_url" --folder "$out" "$line")
rm -rf "$out"

printf 'file: %d MiB; peak RSS downloading: %d KiB, with nothing to fetch: %d KiB\n' "$((size / 1048576))" "$busy" "$idle"
awk -v a="$busy" -v b="$idle" 'BEGIN { printf "download-memory: %.1f MiB (goal 64)\n", (a - b) / 1024 }'
