#!/usr/bin/env bash
# End-to-end test through a real kernel's HID stack: boots Debian's stock kernel under
# qemu-system-x86_64 (plain emulation), with an initramfs that holds busybox, systemd-udevd,
# the virtual amplifier, karvo-cli, a report probe and the main window's guest test (with the
# Qt libraries and the offscreen platform they need), and runs tests/e2e/guest-test.sh in it.
#
# Usage: scripts/e2e-vm.sh BUILD_DIR            (the build folder of the programs)
#        scripts/e2e-vm.sh KARVO_CLI KARVO_VIRTUAL_AMPLIFIER REPORT_PROBE [WINDOW_TEST]
# Without the window test (a build without the GUI) the guest runs the rest.
# Environment: KARVO_E2E_CACHE  where the kernel package is kept (~/.cache/karvo-e2e)
#              KARVO_E2E_KEEP=1 keeps the work folder for a look afterwards
# Exit status: 0 passed, 1 failed, 77 skipped (the reason on stderr).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
window=
case $# in
    1) cli=$1/src/cli/karvo-cli; amp=$1/src/uhid/karvo-virtual-amplifier
       probe=$1/tests/e2e/karvo-e2e-report-probe
       [ -x "$1/tests/e2e/karvo-e2e-window" ] && window=$1/tests/e2e/karvo-e2e-window ;;
    3) cli=$1; amp=$2; probe=$3 ;;
    4) cli=$1; amp=$2; probe=$3; window=$4 ;;
    *) echo "usage: $0 BUILD_DIR | $0 KARVO_CLI KARVO_VIRTUAL_AMPLIFIER REPORT_PROBE [WINDOW_TEST]" >&2
       exit 2 ;;
esac
cache=${KARVO_E2E_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/karvo-e2e}
guest=$here/tests/e2e/guest-test.sh

skip() { echo "SKIPPED: $*" >&2; exit 77; }
die() { echo "e2e-vm: $*" >&2; exit 1; }

[ "$(uname -s)" = Linux ] || skip "not a Linux host"
[ "$(uname -m)" = x86_64 ] || skip "not an x86_64 host"
qemu=${KARVO_E2E_QEMU:-qemu-system-x86_64}
for tool in "$qemu" cpio xz dpkg-deb apt-get apt-cache ldd gzip; do
    command -v "$tool" > /dev/null || skip "$tool is missing (scripts/install-deps.sh test installs it)"
done
busybox=$(command -v busybox || true)
[ -n "$busybox" ] || skip "busybox is missing (package busybox-static)"
file_out=$(LC_ALL=C ldd "$busybox" 2>&1 || true)
echo "$file_out" | grep -q "not a dynamic executable" || skip "$busybox is not static (package busybox-static)"
udevd=$(command -v udevadm || true)
[ -n "$udevd" ] || skip "udevadm is missing (package udev)"
for exe in "$cli" "$amp" "$probe" $window; do
    [ -x "$exe" ] || die "$exe is not built"
done

# --- The kernel: the package linux-image-amd64 depends on, cached, never installed.
mkdir -p "$cache"
pkg=$(apt-cache depends linux-image-amd64 2> /dev/null |
    sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*\)$/\1/p' | head -n 1)
if [ -z "$pkg" ]; then
    # No package lists: use what the cache already holds.
    pkg=$(ls "$cache" 2> /dev/null | sed -n 's/^\(linux-image-[0-9].*\)\.ready$/\1/p' | tail -n 1)
    [ -n "$pkg" ] || skip "cannot tell Debian's kernel package (no apt lists, nothing cached)"
fi
kdir=$cache/$pkg
if [ ! -f "$cache/$pkg.ready" ]; then
    echo "e2e-vm: fetching $pkg into $cache" >&2
    tmp=$(mktemp -d "$cache/fetch.XXXXXX")
    trap 'rm -rf "$tmp"' EXIT
    if ! (cd "$tmp" && apt-get download -q "$pkg" > download.log 2>&1); then
        cat "$tmp/download.log" >&2
        skip "cannot download $pkg"
    fi
    dpkg-deb -x "$tmp"/*.deb "$tmp/root"
    vmlinuz=$(ls "$tmp"/root/boot/vmlinuz-* | head -n 1)
    mkdir -p "$tmp/out/modules"
    # vmlinux from the bzImage: the first xz stream in it that unpacks to an ELF file.
    found=
    for off in $(LC_ALL=C grep -obUaP '\xfd7zXZ\x00' "$vmlinuz" | cut -d: -f1); do
        # (tail may die of a broken pipe once xz has its stream: only the result counts)
        { tail -c +$((off + 1)) "$vmlinuz" | xz -dc --single-stream > "$tmp/out/vmlinux"; } 2> /dev/null || true
        if [ "$(head -c 4 "$tmp/out/vmlinux" | od -An -tx1 | tr -d ' ')" = 7f454c46 ]; then
            found=1
            break
        fi
    done
    [ -n "$found" ] || die "no xz-compressed ELF kernel in $vmlinuz"
    for m in hid hid-generic uhid; do
        ko=$(find "$tmp/root/lib/modules" -path "*/kernel/drivers/hid/$m.ko*" | head -n 1)
        [ -n "$ko" ] || die "$m.ko is not in $pkg"
        case "$ko" in
            *.xz) xz -dc "$ko" > "$tmp/out/modules/$m.ko" ;;
            *.zst) die "$ko is zstd-compressed" ;;
            *) cp "$ko" "$tmp/out/modules/$m.ko" ;;
        esac
    done
    rm -rf "$kdir"
    mv "$tmp/out" "$kdir"
    rm -rf "$tmp"
    trap - EXIT
    touch "$cache/$pkg.ready"
fi

# --- The initramfs.
work=$(mktemp -d "${TMPDIR:-/tmp}/karvo-e2e.XXXXXX")
[ "${KARVO_E2E_KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root"/{bin,etc,modules,tmp,proc,sys,dev}
cp "$busybox" "$root/bin/busybox"
cp "$cli" "$amp" "$probe" $window "$root/bin/"
cp "$kdir"/modules/*.ko "$root/modules/"
cp "$guest" "$root/init"
chmod +x "$root/init"
printf 'root:x:0:0:root:/tmp:/bin/sh\nnobody:x:65534:65534:nobody:/tmp:/bin/sh\n' > "$root/etc/passwd"
printf 'root:x:0:\nnogroup:x:65534:\nplugdev:x:46:\n' > "$root/etc/group"
# systemd-udevd (the udevadm binary under that name) with the project's rules only.
cp "$udevd" "$root/bin/udevadm"
mkdir -p "$root/lib/systemd" "$root/etc/udev/rules.d" "$root/run"
ln -s /bin/udevadm "$root/lib/systemd/systemd-udevd"
cp "$here"/dist/udev/*.rules "$root/etc/udev/rules.d/"
libs_of() {
    ldd "$1" | grep -o '/[^ ]*' | while read -r lib; do
        [ -e "$root$lib" ] && continue
        mkdir -p "$root$(dirname "$lib")"
        cp -L "$lib" "$root$lib"
    done
}
for exe in "$cli" "$amp" "$probe" "$udevd" $window; do libs_of "$exe"; done
if [ -n "$window" ]; then
    # The offscreen platform where Qt looks for it, and a font for the labels.
    plugin=$(find /usr/lib -path '*/qt6/plugins/platforms/libqoffscreen.so' | head -n 1)
    [ -n "$plugin" ] || die "Qt's offscreen platform plugin is not installed"
    mkdir -p "$root$(dirname "$plugin")"
    cp "$plugin" "$root$plugin"
    libs_of "$plugin"
    if [ -d /etc/fonts ]; then cp -r /etc/fonts "$root/etc/"; fi
    font=$(find /usr/share/fonts -name 'DejaVuSans.ttf' 2> /dev/null | head -n 1)
    if [ -n "$font" ]; then mkdir -p "$root$(dirname "$font")"; cp "$font" "$root$font"; fi
fi
(cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) > "$work/initramfs.gz"

# --- The VM. The guest writes 0x10 (passed) or 0x11 (failed) to the exit port; QEMU exits
# with (value << 1) | 1.
echo "e2e-vm: booting $pkg" >&2
start=$(date +%s)
set +e
timeout 420 "$qemu" -accel tcg -m 1024 -smp 1 -nographic -no-reboot \
    -kernel "$kdir/vmlinux" -initrd "$work/initramfs.gz" \
    -append "console=ttyS0 panic=-1 quiet loglevel=3" \
    -device isa-debug-exit,iobase=0xf4,iosize=0x04 > "$work/console.log" 2>&1 < /dev/null
status=$?
set -e
sed 's/\r$//' "$work/console.log" | grep -v '^\s*$' || true
echo "e2e-vm: the VM ran $(($(date +%s) - start)) s, QEMU status $status" >&2
case $status in
    33) exit 0 ;;
    35) die "the guest test failed" ;;
    124) die "the VM did not finish within 420 s" ;;
    *)
        if grep -qi "could not\|failed to initialize\|not supported" "$work/console.log" &&
            ! grep -q "e2e:" "$work/console.log"; then
            skip "QEMU could not run the VM (status $status)"
        fi
        die "the VM ended without a result (QEMU status $status)" ;;
esac
