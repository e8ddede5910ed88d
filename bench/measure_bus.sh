#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What orvanectl through the program costs against orvanectl on its own: the wall time of
# whole orvanectl runs (process start, the command, exit), N times each, on emulated devices
# with the same link model: forwarded to `orvane --simulate --dbus` on a private session bus,
# and alone with --simulate. "info kb" does one exchange; "slot kb 1" is refused before any
# (the bare round trip). Build with -DCMAKE_BUILD_TYPE=Release first.
#   bench/measure_bus.sh [BUILD_DIR] [RUNS]
set -eu
build=$(cd "${1:-build-release}" && pwd)
runs=${2:-200}
if [ -z "${ORVANE_BUS_BENCH_INNER:-}" ]; then
    ORVANE_BUS_BENCH_INNER=1 exec dbus-run-session -- "$0" "$build" "$runs"
fi
ctl="$build/tools/orvanectl"
data=$(mktemp -d)
export ORVANE_DATA_DIR="$data" QT_QPA_PLATFORM=offscreen
"$build/src/app/orvane" --simulate --dbus >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; rm -rf "$data"' EXIT
i=0
until "$ctl" daemon-status >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 200 ] || { echo "the program did not come up" >&2; exit 1; }
    sleep 0.05
done
sleep 1  # the devices' arrival
python3 - "$ctl" "$runs" <<'PY'
import statistics, subprocess, sys, time
ctl, runs = sys.argv[1], int(sys.argv[2])
def timed(args):
    samples = []
    for _ in range(runs):
        t = time.perf_counter()
        subprocess.run([ctl] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        samples.append((time.perf_counter() - t) * 1000)
    samples.sort()
    return statistics.median(samples), statistics.mean(samples), samples[int(len(samples) * 0.9)]
print(f"{runs} runs each; wall time of one orvanectl run in ms: median / mean / 90th percentile")
for command in (["info", "kb"], ["slot", "kb", "1"]):
    through = timed(command)
    alone = timed(["--simulate"] + command)
    name = " ".join(command)
    print(f"{name:12s} through the program {through[0]:6.2f} / {through[1]:6.2f} / {through[2]:6.2f}")
    print(f"{name:12s} alone (--simulate)  {alone[0]:6.2f} / {alone[1]:6.2f} / {alone[2]:6.2f}")
    print(f"{name:12s} added: {through[0] - alone[0]:+.2f} ms (median)")
PY
