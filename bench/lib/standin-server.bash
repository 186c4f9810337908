# Sourced by the benchmarks that talk to the stand-in server. start_standin_server CATALOGUE LOG starts it
# on a free loopback port and sets server_pid and server_url; the server stops when the script exits.
start_standin_server() {
    "$top/build/bin/vkt-standin-server" --catalogue "$1" --port 0 > "$2" 2>&1 &
    server_pid=$!
    trap 'kill $server_pid 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        grep -q listening "$2" && break
        sleep 0.05
    done
    server_url=$(sed -n 's/.*listening on //p' "$2")
    [ -n "$server_url" ] || { cat "$2" >&2; exit 1; }
}
