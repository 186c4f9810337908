# Sourced by the download benchmarks: a file of VKT_BENCH_MIB MiB (default 1024) served by the stand-in
# server on loopback, with its chunk digests already computed. Sets top, data, file, size, sha1, url,
# line (the file line the download tool takes) and server_url; the server stops when the script exits.
top=$(cd "$(dirname "$0")/.." && pwd)
tool="$top/build/bin/vktdownload"
mib=${VKT_BENCH_MIB:-1024}
chunk=2097152
data="$top/build/bench-data/download-$mib"
file=big.bin
mkdir -p "$data/catalogue/files"
if [ ! -f "$data/catalogue/files/$file" ]; then
    echo "making a $mib MiB file (once; kept in $data)"
    head -c $((mib * 1048576)) /dev/urandom > "$data/catalogue/files/$file.tmp"
    mv "$data/catalogue/files/$file.tmp" "$data/catalogue/files/$file"
fi
size=$(stat -c %s "$data/catalogue/files/$file")
sha1=$(sha1sum "$data/catalogue/files/$file" | cut -d' ' -f1)

source "$top/bench/lib/standin-server.bash"
start_standin_server "$data/catalogue" "$data/server.log"
url="$server_url/files/$file"
line="$file,$size,$file,$sha1,$url"

# The chunk digests the server hands out, one a line; asking once also fills the server's cache.
chunk_digests() {
    curl -s --data "version=1.0&language=en_US&file=$file&blocksize=$chunk" "$server_url/fileInfo/" | tail -n +3
}
chunk_digests > "$data/digests.txt"

best() { sort -n | head -1; }
seconds() { # seconds COMMAND...: wall-clock seconds of one run, the command's output dropped
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
