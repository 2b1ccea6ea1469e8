#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Frame pacing, input latency and idle processor use of the real game on the SDL host: builds a
# Release in ./build-bench (or $ZORVIK_BENCH_BUILD) and, for each screen size (640 x 480,
# 1920 x 1080 and 3840 x 2160), starts a virtual X server of that size and runs the game
# fullscreen in it with the timing trace on (ZORVIK_TRACE_TIMING): start-up and title intro, the
# menu, the story, the level card and 23 s of level 1, with keys sent through XTest (xdotool) as
# the game's screens ask for them; then the bottle stands still in level 1 for 10 s while the
# game's processor use is measured. Prints one table: flips a second, the 99th-percentile
# interval between flips, the frames more than 4 ms late, the median delay from a key event's
# arrival (presses and releases) to the flip that shows it, the processor use standing still,
# and the load average of the machine during each run.
# Measures only: it never fails on a missed target.
# Usage: scripts/pacing.sh [seconds of play in level 1, default 23]
# Environment: PACING_SIZES="WxH ..." other screen sizes; PACING_NICE=n runs the game and the X
# server at that niceness (as root, -10 puts them ahead of other work on a busy machine; where
# the kernel groups processes by session for scheduling, the script runs in a session of its own
# and gives that group the niceness too, as nice alone only ranks processes within a session);
# PACING_TRACE=prefix keeps each trace as prefix-WxH; PACING_SHOT=prefix saves the screen near
# the end as prefix-WxH.png (needs ImageMagick's convert); PACING_GAME=program measures that
# build of the game instead (it must lie in a build's dist folder, beside the game's data).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-23}
sizes=${PACING_SIZES:-640x480 1920x1080 3840x2160}
build=${ZORVIK_BENCH_BUILD:-build-bench}
niceness=${PACING_NICE:-0}
if [[ $niceness != 0 && -w /proc/self/autogroup ]]; then
    if [[ -z ${PACING_OWN_SESSION:-} ]]; then
        PACING_OWN_SESSION=1 exec setsid --wait bash "${BASH_SOURCE[0]}" "$@"
    fi
    echo "$niceness" >/proc/self/autogroup
fi
source scripts/packages.sh
install_missing xvfb xdotool

game_program=${PACING_GAME:-}
if [[ -z $game_program ]]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORVIK_BUILD_BENCH=ON \
        -DZORVIK_BUILD_TESTS=ON >/dev/null
    cmake --build "$build" -j"$(nproc)" --target zorvik
    game_program=$build/dist/zorvik
fi

work=$(mktemp -d)
xvfb=""
game=""
stop() {  # stops a process this script started, by its id, and waits up to 5 s for it
    local pid=$1
    [[ -n $pid ]] || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
}
cleanup() {
    stop "$game"
    stop "$xvfb"
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a virtual X server of the given size and sets DISPLAY to it, or stops the script when it
# did not come up. The server chooses a free display number itself and reports it on a pipe once
# it accepts clients (-displayfd), so the number is the one of the server this script started,
# never a display someone else runs.
start_x_server() {
    local size=$1 number=""
    : >"$work/display"
    nice -n "$niceness" Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        read -r number <"$work/display" || true
        [[ -n $number ]] && break
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    if [[ ! $number =~ ^[0-9]+$ ]] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "pacing.sh: the virtual X server did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=:$number
}

unset WAYLAND_DISPLAY XAUTHORITY
: >"$work/rows"
for size in $sizes; do
    echo "== $size"
    start_x_server "$size"
    load_before=$(cut -d' ' -f1 /proc/loadavg)
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ZORVIK_TRACE_TIMING="$work/trace" \
        nice -n "$niceness" "$game_program" >"$work/game.log" 2>&1 &
    game=$!
    python3 - "$work" "$seconds" "$game" "$size" <<'PY'
import os, random, signal, subprocess, sys, time

work, seconds, game, size = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
sent = open(os.path.join(work, "sent"), "w")
width, height = (int(v) for v in size.split("x"))

def xdo(*args):
    subprocess.run(["xdotool", *args], check=False, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)

def stop(message):
    os.kill(game, signal.SIGTERM)
    sys.exit("pacing.sh: " + message)

# The game's window, focused, with the pointer over it.
deadline = time.time() + 30
while time.time() < deadline:
    found = subprocess.run(["xdotool", "search", "--name", "Zorvik"], capture_output=True,
                           text=True).stdout.split()
    if found:
        xdo("windowfocus", found[0])
        xdo("mousemove", str(width // 2), str(height // 2))
        break
    time.sleep(0.2)
else:  # no keys go to a display without the game's window
    stop("the game's window did not appear on display %s" % os.environ["DISPLAY"])

# The trace writes each start of a wait for a key at once: the script follows the game's screens
# by them, whatever the frame rate.
trace = open(os.path.join(work, "trace"))
waits, rest = 0, ""
def waits_so_far():
    global waits, rest
    rest += trace.read()
    lines = rest.split("\n")
    rest = lines.pop()
    waits += sum(1 for line in lines if line.startswith("W "))
    return waits

def next_wait(timeout):  # True once the game starts a new wait for a key
    seen = waits_so_far()
    end = time.time() + timeout
    while time.time() < end:
        if waits_so_far() > seen:
            return True
        time.sleep(0.1)
    return False

def tap(key, hold=0.08):  # a press and a release, each of them a key event to measure
    for action in ("keydown", "keyup"):
        sent.write("%d %s\n" % (int(time.time() * 1e6), key))
        xdo(action, key)
        if action == "keydown":
            time.sleep(hold)

def cpu_seconds():
    fields = open("/proc/%d/stat" % game).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

# Start-up, the frame-rate test and the title intro run untouched, until the menu waits.
if not next_wait(300):
    stop("the title menu did not come")
for key in ("Down", "Up", "Return"):  # new game: the story flies in
    time.sleep(1)
    tap(key)
time.sleep(3)
tap("Escape")  # cuts the story short
# Space for each screen that then waits for a key (the story's end, the level card).
for _ in range(4):
    if not next_wait(8):
        break  # level 1 runs
    time.sleep(0.5)
    tap("space")
# Two moves a second, mostly to the right: about a hundred key events. Each press and release
# comes a random fraction of a frame late, so that the events fall on every moment of a frame
# (half a second is a whole number of frames).
moves = ["Right", "Right", "Up", "Right", "Left", "Right", "Up", "Left", "Right", "Right"]
end = time.time() + seconds
for i in range(1000):
    if time.time() >= end:
        break
    step = time.time()
    time.sleep(random.uniform(0, 1 / 60.0))
    tap(moves[i % len(moves)], hold=0.2 + random.uniform(0, 1 / 60.0))
    time.sleep(max(0.0, step + 0.5 - time.time()))
# Standing still in level 1: the processor time of the whole game over ten seconds.
time.sleep(2)
waits_before = waits_so_far()
cpu0, wall0 = cpu_seconds(), time.time()
time.sleep(10)
cpu1, wall1 = cpu_seconds(), time.time()
waited = waits_so_far() > waits_before
open(os.path.join(work, "idle"), "w").write("%f %d %d %d\n" % (
    (cpu1 - cpu0) / (wall1 - wall0), wall0 * 1e6, wall1 * 1e6, waited))
shot = os.environ.get("PACING_SHOT")
if shot:  # a picture of the screen, to see where the run got to
    subprocess.run(["convert", "x:root", "%s-%s.png" % (shot, size)], check=False)
sent.close()
os.kill(game, signal.SIGTERM)
PY
    stop "$game"
    game=""
    stop "$xvfb"
    xvfb=""
    load_after=$(cut -d' ' -f1 /proc/loadavg)
    [[ -n ${PACING_TRACE:-} ]] && cp "$work/trace" "$PACING_TRACE-$size"
    python3 - "$work" "$size" "$load_before" "$load_after" <<'PY' | tee -a "$work/rows"
import bisect, os, sys

work, size, load_before, load_after = sys.argv[1:5]
flips, reads, keys, ticks, key_ages = [], [], [], [], []
work_wall, work_cpu, handover, leads = [], [], [], []
for line in open(os.path.join(work, "trace")):
    p = line.split()
    if p[0] == "F":
        flips.append((int(p[1]), int(p[2]), p[3] == "1"))
        if not flips[-1][2]:
            work_cpu.append(int(p[4]) / 1000.0)
            work_wall.append(int(p[5]) / 1000.0)
            if len(p) > 7:
                handover.append(int(p[6]) / 1000.0)
                leads.append(int(p[7]) / 1000.0)
    elif p[0] == "R":
        reads.append(int(p[1]))
    elif p[0] == "S":
        ticks.append(int(p[1]))
    elif p[0] == "K":
        keys.append(int(p[1]))
        if len(p) > 4 and int(p[4]) >= 0:  # stamped by the window system this long before taken
            key_ages.append(int(p[4]) / 1000.0)
sent = [int(l.split()[0]) for l in open(os.path.join(work, "sent"))]
idle_fields = open(os.path.join(work, "idle")).read().split()
idle, still_from, still_to, still_waited = (float(idle_fields[0]), int(idle_fields[1]),
                                            int(idle_fields[2]), idle_fields[3] == "1")

def pct(values, q):
    if not values:
        return float("nan")
    v = sorted(values)
    return v[min(len(v) - 1, max(0, int(round(q / 100.0 * len(v) + 0.5)) - 1))]

# Intervals between flips that were due (not the first flip after a screen waited for a key).
intervals = [(b[0] - a[0]) / 1000.0 for a, b in zip(flips, flips[1:]) if not b[2]]
late = [f[1] / 1000.0 for f in flips if not f[2]]
late4 = sum(1 for l in late if l > 4.0)
flip_times = [f[0] for f in flips]

def key_to_flip(t):
    # From the key's arrival to the first flip after the first keyboard read that saw it.
    r = bisect.bisect_left(reads, t)
    if r == len(reads):
        return None
    f = bisect.bisect_left(flip_times, reads[r])
    return None if f == len(flip_times) else (flip_times[f] - t) / 1000.0

delays = [d for d in map(key_to_flip, keys) if d is not None]

def sent_to_flip(t):  # from the XTest call to the flip that showed the key event it sent
    k = bisect.bisect_left(keys, t)
    if k == len(keys):
        return None
    d = key_to_flip(keys[k])
    return None if d is None else d + (keys[k] - t) / 1000.0

keys.sort()
sent_delays = [d for d in map(sent_to_flip, sent) if d is not None]
rate = 1000.0 / (sum(intervals) / len(intervals)) if intervals else float("nan")
p99 = pct(intervals, 99)
print("   %d flips, %d waits for a key left out; interval median %.2f ms, largest %.2f ms;"
      " worst lateness %.1f ms" % (len(flips), sum(1 for f in flips if f[2]), pct(intervals, 50),
                                   max(intervals or [float("nan")]), max(late or [0])))
# From a frame's tick (its keyboard read) to its flip: the part of a key's delay the host sets.
tick_to_flip = []
for f in flips:
    t = bisect.bisect_left(ticks, f[0])
    if not f[2] and t > 0:
        tick_to_flip.append((f[0] - ticks[t - 1]) / 1000.0)
print("   a frame's work (tick to flip asked): %.2f ms median, %.2f ms 99th percentile (processor"
      " %.2f / %.2f ms); hand-over %.2f / %.2f ms; lead %.2f ms median, %.2f ms largest;"
      " tick to flip %.2f ms median"
      % (pct(work_wall, 50), pct(work_wall, 99), pct(work_cpu, 50), pct(work_cpu, 99),
         pct(handover, 50), pct(handover, 99), pct(leads, 50), max(leads or [float("nan")]),
         pct(tick_to_flip, 50)))
# The bottle stood in a running level only if the game flipped on without waiting for a key.
still_rate = sum(1 for f in flips if still_from <= f[0] < still_to) * 1e6 / (still_to - still_from)
not_in_play = still_waited or still_rate < rate / 2
print("   standing still: %.1f %% of a core, %.1f flips a second%s" % (
    idle * 100, still_rate, ", NOT IN PLAY (the game waited or stopped)" if not_in_play else ""))
# Keys that come at random moments wait half a frame (8.3 ms) for the next tick on average;
# under Xvfb they come when the server has handled the picture before, often just after a flip.
to_tick = [(ticks[i] - k) / 1000.0 for k in keys for i in [bisect.bisect_left(ticks, k)]
           if i < len(ticks)]
print("   key arrival to flip: median %.2f ms, 90th percentile %.2f ms (%d key events, %d stamped"
      " by the X server, taken %.2f ms median after it; arrival to the next tick %.2f ms median);"
      " XTest send to flip: median %.2f ms"
      % (pct(delays, 50), pct(delays, 90), len(delays), len(key_ages), pct(key_ages, 50),
         pct(to_tick, 50), pct(sent_delays, 50)))
print("ROW|%s|%.1f|%.2f ms|%d of %d|%.2f ms|%.1f %%%s|%s-%s" %
      (size.replace("x", " × "), rate, p99, late4, len(late), pct(delays, 50), idle * 100,
       " (not in play)" if not_in_play else "", load_before, load_after))
PY
done

echo
echo "Load average (1 min) at the start and end of each run, on $(nproc) cores; game and X server" \
    "at nice $niceness$([[ -n ${PACING_OWN_SESSION:-} ]] && echo ", in a session of the same niceness")."
echo
echo "| Screen | Flips a second | 99th-percentile interval | Frames > 4 ms late |" \
    "Key-to-present median (from the key's arrival) | CPU standing still in level 1 | Load |"
echo "|---|---|---|---|---|---|---|"
grep '^ROW|' "$work/rows" | while IFS='|' read -r _ size rate p99 late key idle load; do
    echo "| $size | $rate | $p99 | $late | $key | $idle | $load |"
done
