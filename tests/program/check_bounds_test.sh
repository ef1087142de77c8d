# pwe-check on a level made to swell its searches keeps to their bounds:
# 6,250 claimable tiles a pixel apart on ten floors joined by a ladder, and
# 10,000 patrols on a floor out of reach. With every limit in seconds at 5
# (PWE_SEARCH_SECONDS) and in bytes at 64 MiB (PWE_SEARCH_MEGABYTES), the
# whole check takes under 25 s, its own peak memory grows by no more than
# the two limits beyond what the level holds, and the verdict says the
# proof stopped at its limits. The other levels are one small floor each.
source "$(dirname "$0")/lib.sh" "$@"
check="$(dirname "$pwe")/tools/pwe-check"
[ -x "$check" ] || fail "no pwe-check at $check"

head="100000
8 4 2
424 4 2
6 4
40 463 1"
{
  echo "$head"
  echo 6289
  awk 'BEGIN { for (i = 0; i < 6250; ++i) printf "%d %d grass grass 1 10\n", i % 625, 464 - 40 * int(i / 625) }'
  awk 'BEGIN { for (x = 0; x < 624; x += 16) printf "%d 20 grass grass 0 0\n", x }'
  echo 1
  echo "612 104 360 wood"
  echo 0
  echo 10000
  awk 'BEGIN { for (i = 0; i < 10000; ++i) printf "%d 19 %d 0 600 %.1f 1 0 blob 600 100\n", i * 7 % 590, i % 2, 0.3 + (i % 7) * 0.1 }'
  echo 0
  echo 0
} >"$work/media/level1.inf"
for n in 2 3 4; do
  {
    echo "$head"
    echo 39
    awk 'BEGIN { for (x = 0; x < 624; x += 16) printf "%d 464 grass grass 1 10\n", x }'
    printf '0\n0\n0\n0\n0\n'
  } >"$work/media/level$n.inf"
done

# The checker's own peak resident memory (ru_maxrss, KiB) and its wall
# time, with the limits in the environment given.
measure() {
  (cd "$work" && env "$@" python3 -c '
import resource, subprocess, sys, time
began = time.monotonic()
with open("check.txt", "w") as out:
    status = subprocess.call([sys.argv[1], "media"], stdout=out, stderr=subprocess.STDOUT)
print("%.1f %d %d" % (time.monotonic() - began,
                      resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss, status))
' "$check")
}

# What the level and the tree hold with next to no search.
read -r _ base _ < <(measure PWE_SEARCH_SECONDS=0.001)
read -r seconds kilobytes status < <(measure PWE_SEARCH_SECONDS=5 PWE_SEARCH_MEGABYTES=64)
echo "pwe-check: $seconds s, $kilobytes KiB at most ($base KiB without searching), status $status"
# The level breaks layout rules (1); a crash or a kill is something else.
[ "$status" -le 1 ] || fail "pwe-check exited $status: $(tail -n 3 "$work/check.txt")"
# Two searches of 64 MiB each, and a margin for what is counted roughly.
[ $((kilobytes - base)) -lt $(((2 * 64 + 32) * 1024)) ] ||
  fail "pwe-check held $((kilobytes - base)) KiB beyond the level's $base"
awk -v s="$seconds" 'BEGIN { exit !(s < 25) }' || fail "pwe-check took $seconds s"
grep -q "level1.inf.*within the search's limits\|level1.inf.*search stopped after" "$work/check.txt" ||
  fail "no warning of the limits: $(grep 'level1.inf:0' "$work/check.txt")"
echo PASS
