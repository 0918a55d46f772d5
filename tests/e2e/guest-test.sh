#!/bin/busybox sh
# Runs inside the test VM as /init: loads the kernel's HID modules, starts systemd-udevd
# with the project's rules, starts the virtual amplifier on /dev/uhid and drives it with
# karvo-cli, a report probe and the main window (offscreen) through hidapi and hidraw. The
# outcome leaves through the isa-debug-exit port: 0x10 passed, 0x11 failed.
export PATH=/bin:/sbin:/usr/bin
/bin/busybox mkdir -p /proc /sys /dev /tmp /sbin /usr/bin
/bin/busybox --install -s 2> /dev/null
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
export HOME=/tmp

FAILED=0
log() { echo "e2e: $*"; }
pass() { echo "e2e: PASS: $*"; }
fail() { echo "e2e: FAIL: $*"; FAILED=1; }
finish() {
    if [ "$FAILED" = 0 ]; then log "ALL PASSED"; code='\020'; else log "FAILED"; code='\021'; fi
    sync
    printf "$code" | dd of=/dev/port bs=1 seek=244 count=1 2>/dev/null
    poweroff -f
}
ms() { # milliseconds since boot
    read -r up _ < /proc/uptime; echo "${up%.*}${up#*.}0"
}

for m in hid hid-generic uhid; do
    insmod /modules/$m.ko || { fail "insmod $m.ko"; finish; }
done
[ -c /dev/uhid ] || { fail "no /dev/uhid"; finish; }
# udevd: the window's hot-plug notices come from it, as on a desktop.
mkdir -p /run/udev
/lib/systemd/systemd-udevd --daemon --resolve-names=never 2> /tmp/udevd.log ||
    { fail "systemd-udevd did not start"; cat /tmp/udevd.log; finish; }

# hidraw node of the HID device named $1 (from the kernel's own record of it).
node_of() {
    for d in /sys/class/hidraw/hidraw*; do
        [ -e "$d/device/uevent" ] || continue
        if grep -qx "HID_NAME=$1" "$d/device/uevent"; then echo "/dev/${d##*/}"; return 0; fi
    done
    return 1
}
wait_node() { # name, present|absent
    i=0
    while [ $i -lt 100 ]; do
        if node_of "$1" > /dev/null; then [ "$2" = present ] && return 0
        else [ "$2" = absent ] && return 0; fi
        usleep 50000; i=$((i + 1))
    done
    return 1
}
# Runs karvo-cli under a watchdog; status in $rc, output in /tmp/out, errors in /tmp/err.
cli() {
    timeout 30 karvo-cli "$@" > /tmp/out 2> /tmp/err; rc=$?
    log "karvo-cli $* -> $rc"; sed 's/^/    | /' /tmp/out /tmp/err
}

# Decoys: devices that share the amplifier's IDs but not its product string, and answer
# nothing, so a program that binds one of them fails.
# One is created before the amplifier and one after it, so they lie on both sides of it in
# the device list.
karvo-virtual-amplifier --mute --name "KARVO-BOOT" 2> /tmp/decoy1.log &
wait_node KARVO-BOOT present &&
    { karvo-virtual-amplifier --trace 2> /tmp/amp.log & AMP=$!; wait_node KARVO present; } &&
    { karvo-virtual-amplifier --mute --name "karvo" 2> /tmp/decoy2.log & wait_node karvo present; } ||
    { fail "the virtual devices did not appear"; cat /tmp/*.log; finish; }
NODE=$(node_of KARVO)
log "amplifier at $NODE; hidraw nodes: $(ls /dev | grep hidraw | tr '\n' ' ')"

# 0. The project's udev rule matches the virtual amplifier's node.
udevadm settle -t 10
if udevadm info -q property -n "$NODE" | grep -q '^TAGS=.*:uaccess:'; then
    pass "the udev rule tags $NODE for the user at the seat"
else fail "the udev rule did not match $NODE"; udevadm info -q property -n "$NODE"; fi

# 1. Found by its product string among devices of the same IDs; the conversation 0 -> 1.
cli info
if [ $rc = 0 ] && grep -q "^Device: $NODE\$" /tmp/out && grep -q "^Name: " /tmp/out; then
    pass "info found the amplifier by its product string at $NODE"
else fail "info"; fi

# 2. The settings read.
cli read /tmp/a.cfg
[ $rc = 0 ] && [ -s /tmp/a.cfg ] && pass "settings read" || fail "settings read"

# 3. A settings write reaches the device byte for byte and its 138 reply is handled.
sed -e 's/^TRange=[0-9]*/TRange=1500/' -e 's/^AnalogMax=[0-9]*/AnalogMax=1500/' \
    -e 's/^TRate=[0-9]*/TRate=2/' -e 's/^TFilter=[0-9]*/TFilter=2/' \
    -e 's/^ModbusAddress=[0-9]*/ModbusAddress=7/' /tmp/a.cfg > /tmp/b.cfg
cli write /tmp/b.cfg
[ $rc = 0 ] && grep -q "written and verified" /tmp/out && pass "settings write" || fail "settings write"
cli read /tmp/c.cfg
if [ $rc = 0 ] && cmp -s /tmp/b.cfg /tmp/c.cfg && ! cmp -s /tmp/a.cfg /tmp/c.cfg; then
    pass "settings read back equal the file written"
else fail "settings read back differ"; diff /tmp/b.cfg /tmp/c.cfg; fi

# 4. Tare and min/max reset, each seen by the device as its command.
cli tare
[ $rc = 0 ] && grep -q "output 0191" /tmp/amp.log && pass "tare" || fail "tare"
cli reset-minmax
[ $rc = 0 ] && grep -q "output 0193" /tmp/amp.log && pass "min/max reset" || fail "min/max reset"

# 5. The measurement stream (131, then measurements).
cli monitor --count 5
lines=$(wc -l < /tmp/out)
[ $rc = 0 ] && [ "$lines" = 5 ] && grep -q "output 0183" /tmp/amp.log &&
    pass "monitor gave 5 measurements" || fail "monitor"

# 5b. The kernel's GET_REPORT and SET_REPORT requests are answered, never left to stall.
timeout 30 karvo-e2e-report-probe "$NODE" > /tmp/out 2>&1; prc=$?
sed 's/^/    | /' /tmp/out
[ $prc = 0 ] && pass "GET_REPORT and SET_REPORT answered" || fail "report requests ($prc)"

# 6. Unplugged while streaming: the tool ends at once with the lost device, long before its
# reply timeout (20 s) would end it.
: > /tmp/mon.out
timeout 60 karvo-cli monitor --timeout 20 > /tmp/mon.out 2> /tmp/mon.err &
MON=$!
i=0; while [ $i -lt 100 ] && [ "$(wc -l < /tmp/mon.out)" -lt 3 ]; do usleep 50000; i=$((i+1)); done
streamed=1
if [ "$(wc -l < /tmp/mon.out)" -lt 3 ]; then fail "monitor did not stream before the unplug"; streamed=0; fi
t0=$(ms)
kill -USR1 $AMP
wait_node KARVO absent || fail "the device was not removed"
# 5 s leave room for a slow VM and stay well under the reply timeout.
i=0; while [ $i -lt 100 ] && kill -0 $MON 2> /dev/null; do usleep 50000; i=$((i+1)); done
if kill -0 $MON 2> /dev/null; then
    fail "monitor still runs 5 s after the unplug (missed unplug)"; kill -9 $MON
    wait $MON
else
    wait $MON; mrc=$?; t1=$(ms)
    log "monitor ended with $mrc $((t1 - t0)) ms after the unplug"
    sed 's/^/    | /' /tmp/mon.err
    if [ $streamed = 1 ] && [ $mrc = 3 ] && grep -q "was unplugged" /tmp/mon.err; then
        pass "monitor reported the lost device at once (status $mrc)"
    else fail "monitor did not report the lost device (status $mrc)"; fi
fi
cli info
[ $rc = 3 ] && pass "no amplifier while unplugged" || fail "info while unplugged gave $rc"

# 7. Plugged in again: bound again, the settings reloaded as the device kept them.
kill -USR2 $AMP
wait_node KARVO present || fail "the device did not come back"
NODE=$(node_of KARVO)
cli read /tmp/d.cfg
[ $rc = 0 ] && cmp -s /tmp/c.cfg /tmp/d.cfg && pass "bound again at $NODE, settings reloaded" ||
    fail "after the replug"
cli monitor --count 3
[ $rc = 0 ] && [ "$(wc -l < /tmp/out)" = 3 ] && pass "streaming again" || fail "monitor after replug"

# 8. A node the user may not open: the permission status with the system's reason.
chmod 000 "$NODE"
timeout 30 su -s /bin/sh nobody -c "/bin/karvo-cli info" > /tmp/out 2> /tmp/err
rc=$?; log "karvo-cli info as uid 65534 -> $rc"; sed 's/^/    | /' /tmp/err
[ $rc = 5 ] && grep -q "Permission denied" /tmp/err && pass "permission refused with the reason" ||
    fail "permission"
if [ -x /bin/karvo-e2e-window ]; then
    timeout 60 su -s /bin/sh nobody -c \
        "QT_QPA_PLATFORM=offscreen /bin/karvo-e2e-window --gtest_filter=*NodeThatMayNotBeOpened" \
        > /tmp/out 2>&1; wrc=$?
    grep -v '^QStandardPaths\|^\[ *\(RUN\|OK\) ' /tmp/out | sed 's/^/    | /'
    [ $wrc = 0 ] && pass "the window shows the refused node with the reason" ||
        fail "the window on a refused node ($wrc)"
fi
chmod 600 "$NODE"

# 8b. The main window, offscreen, on the real hidapi backend and udev hot-plug notices.
if [ -x /bin/karvo-e2e-window ]; then
    KARVO_E2E_AMP_PID=$AMP KARVO_E2E_AMP_LOG=/tmp/amp.log QT_QPA_PLATFORM=offscreen \
        timeout 120 karvo-e2e-window --gtest_filter=*ConversationSettingsUnplugAndReplug \
        > /tmp/out 2>&1; wrc=$?
    grep -v '^QStandardPaths' /tmp/out | sed 's/^/    | /'
    [ $wrc = 0 ] && pass "the main window: conversation, settings write, unplug and replug" ||
        fail "the main window ($wrc)"
else log "no window test in this build (GUI off): the window steps are not run"; fi

# 9. Unplugged and plugged in on the virtual amplifier's own clock, then ended by --cycles.
karvo-virtual-amplifier --mute --name "KARVO-CLOCK" --unplug-after 0.5 --replug-after 0.5 \
    --cycles 2 2> /tmp/clock.log &
CLOCK=$!
if wait_node KARVO-CLOCK present && wait_node KARVO-CLOCK absent && wait_node KARVO-CLOCK present &&
    wait_node KARVO-CLOCK absent; then
    i=0; while [ $i -lt 40 ] && kill -0 $CLOCK 2> /dev/null; do usleep 50000; i=$((i+1)); done
    kill -0 $CLOCK 2> /dev/null && fail "the timed amplifier did not end after 2 cycles" ||
        pass "timed unplug and replug"
else fail "timed unplug and replug"; cat /tmp/clock.log; fi

# The device took every output report as a whole report of its descriptor's length.
if grep -q "ignored" /tmp/amp.log; then fail "the device ignored reports:"; grep ignored /tmp/amp.log
else pass "every output report had the descriptor's length (65)"; fi

kill $AMP; wait $AMP
finish
