# about: a second backup of the unchanged 1 GiB of map files (VKT_BENCH_MIB) of a fixture device folder, against the first; ratio of the times
set -euo pipefail
source "$(dirname "$0")/backup-common.bash"
make_maps

first_times=(); again_times=()
for round in $(seq "$rounds"); do
    rm -rf "$work" && mkdir -p "$work"
    read -r first again < <("$tool" "$data" Maps "$work/backups" --times 2 | sed -n 's/^seconds: //p')
    first_times+=("$first"); again_times+=("$again")
done
rm -rf "$work"
t_first=$(printf '%s\n' "${first_times[@]}" | best)
t_again=$(printf '%s\n' "${again_times[@]}" | best)
printf 'first backup: %s s, unchanged again: %s s (best of %d, %d MiB)\n' "$t_first" "$t_again" "$rounds" "$mib"
awk -v a="$t_again" -v b="$t_first" 'BEGIN { printf "backup-again: ratio %.2f (goal 0.3)\n", a / b }'
