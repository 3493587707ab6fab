#!/usr/bin/env bash
# Measures what lumivane costs the machine next to a cheap 2D hack of XScreenSaver's:
# each runs on its own Xvfb (1920x1080x24) for the same time, drawing on the root window;
# both CPU times come from /proc/PID/stat, the peak resident memory from /proc/PID/status.
#
#   tools/perf-compare.sh [path/to/lumivane] [seconds]    (defaults: build/native/lumivane, 50)
#   PERF_EXTRA="-fps" adds options to lumivane's command line.
#   PERF_WARMUP=25 lets each program run that long before the measured seconds start
#   (default 0: measured from the start, start-up included). 25 s is past the first
#   message's forming flight, so the window shows the sky as it is most of the time.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
lumivane="${1:-$here/build/native/lumivane}"
seconds="${2:-50}"
warmup="${PERF_WARMUP:-0}"
hack_dir=/usr/libexec/xscreensaver
galaxy="$hack_dir/galaxy"

if [ ! -x "$lumivane" ]; then
    echo "perf-compare: no program at $lumivane; build it first" >&2
    exit 2
fi
if [ ! -x "$galaxy" ]; then
    # Only this script needs the hack, so it is installed here rather than for everyone.
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get install -y -qq --no-install-recommends xscreensaver-data >/dev/null
fi
for tool in Xvfb; do
    command -v "$tool" >/dev/null || { echo "perf-compare: $tool is missing" >&2; exit 2; }
done

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

clock_ticks="$(getconf CLK_TCK)"

# CPU ticks (user + system) a process has used so far.
cpu_ticks() {
    # The command name may hold blanks; the fields after the closing parenthesis do not.
    local rest
    rest="$(sed 's/^.*) //' "/proc/$1/stat")"
    awk '{ print $12 + $13 }' <<<"$rest"
}

# run NAME COMMAND...: prints "client_percent server_percent max_rss_kib" for one program.
run_one() {
    local name="$1"; shift
    exec 3>"$work/display-$name"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb-$name.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    local display=""
    for _ in $(seq 100); do
        display="$(cat "$work/display-$name" 2>/dev/null || true)"
        [ -n "$display" ] && break
        sleep 0.1
    done
    if [ -z "$display" ]; then echo "perf-compare: Xvfb did not start" >&2; exit 1; fi
    local home="$work/home-$name"
    mkdir -p "$home"
    # A private home keeps the user's settings, log and caches out of the measurement.
    env -i PATH="$hack_dir:/usr/bin:/bin" HOME="$home" DISPLAY=":$display" "$@" >"$work/out-$name.log" 2>&1 &
    local pid=$!
    sleep "$warmup"
    local c0 s0 c1 s1 rss
    c0="$(cpu_ticks "$pid")"
    s0="$(cpu_ticks "$xvfb_pid")"
    sleep "$seconds"
    c1="$(cpu_ticks "$pid")"
    s1="$(cpu_ticks "$xvfb_pid")"
    rss="$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")"
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    awk -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v hz="$clock_ticks" -v t="$seconds" -v m="$rss" \
        'BEGIN { printf "%.2f %.2f %d\n", c / hz * 100 / t, s / hz * 100 / t, m }'
}

echo "Each program: ${seconds} s after ${warmup} s of warm-up, on its own Xvfb 1920x1080x24, drawing on the root window."
read -r l_client l_server l_rss < <(run_one lumivane "$lumivane" -root ${PERF_EXTRA:-})
read -r g_client g_server g_rss < <(run_one galaxy "$galaxy" -root)

awk -v lc="$l_client" -v ls="$l_server" -v gc="$g_client" -v gs="$g_server" -v lr="$l_rss" -v gr="$g_rss" 'BEGIN {
    printf "%-10s %12s %14s %10s %14s\n", "program", "client CPU", "X server CPU", "total", "max RSS"
    printf "%-10s %11.2f%% %13.2f%% %9.2f%% %10.1f MiB\n", "galaxy", gc, gs, gc + gs, gr / 1024
    printf "%-10s %11.2f%% %13.2f%% %9.2f%% %10.1f MiB\n", "lumivane", lc, ls, lc + ls, lr / 1024
    if (gc + gs > 0) printf "lumivane / galaxy (total): %.2f\n", (lc + ls) / (gc + gs)
}'
