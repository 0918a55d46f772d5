#!/bin/sh
# Measures karvo-pc --simulate from outside: CPU % of one core while streaming and resident
# memory. Usage: scripts/measure-program.sh [binary] [seconds]
set -eu
BIN=${1:-build/default/src/app/karvo-pc}
SECS=${2:-10}
export QT_QPA_PLATFORM=offscreen
"$BIN" --simulate & PID=$!
trap 'kill $PID 2>/dev/null || true' EXIT
sleep 3  # identified and streaming by then
HZ=$(getconf CLK_TCK)
t0=$(awk '{print $14+$15}' /proc/$PID/stat)
sleep "$SECS"
t1=$(awk '{print $14+$15}' /proc/$PID/stat)
echo "cpu_percent_of_one_core $(echo "($t1-$t0)*100/($HZ*$SECS)" | bc -l | cut -c1-6)"
echo "rss_kb $(awk '/VmRSS/{print $2}' /proc/$PID/status)"
