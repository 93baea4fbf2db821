#!/usr/bin/env bash
# Proves the Debian package on a fresh machine: builds a minimal Debian 12
# root with debootstrap, installs the package there with apt-get (which must
# resolve every dependency from the mirror), runs the program and removes it
# again, checking that no file of the package is left behind. Needs root and
# Debian's mirror and takes minutes, so it is not part of ./test.sh.
#
# Usage: tools/fresh-root-install.sh [PACKAGE.deb]
# (by default the package that tools/package.sh built). DEBIAN_MIRROR names
# another mirror.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(realpath "${1:-$(echo build-package/package/quaerio_*.deb)}")
[[ -f $deb ]] || { echo "No package: build it with tools/package.sh" >&2; exit 1; }
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
tools/install-deps.sh debootstrap

root=$(mktemp -d /var/tmp/quaerio-root.XXXXXX)
chmod 755 "$root" # the root folder of the machine: every user passes it
cleanup() {
    for mount in dev sys proc; do
        mountpoint -q "$root/$mount" && umount -R "$root/$mount"
    done
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

echo "== debootstrap --variant=minbase bookworm ($mirror)"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -20 "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
# As on an installed machine: the point releases and the security updates.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
# The browser engine needs /proc, /sys and shared memory in /dev/shm.
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
cp "$deb" "$root/tmp/"

cat >"$root/tmp/proof.sh" <<'PROOF'
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8
run() { echo "\$ $*"; "$@"; }
deb=$1
cd /tmp

apt-get update -qq
run apt-get install -y "./$deb" | grep -E '^(After this operation|Setting up quaerio|[0-9]+ upgraded)'
echo "Installed-Size of quaerio: $(dpkg-query -W -f='${Installed-Size}' quaerio) KiB"
dpkg-query -L quaerio | sort >/tmp/quaerio.files

run quaerio --version
run quaerio --check-catalogue
echo "exit $?"
run quaerio --help

# The tools of the proof itself, after the package.
apt-get install -y -qq --no-install-recommends man-db xvfb xauth >/dev/null
run man -w quaerio

# A user of the machine starts Quaerio on a virtual X server; Chromium's
# sandbox needs more of the kernel than a chroot gives.
useradd --create-home proof
echo "\$ xvfb-run quaerio (as user proof), 10 s"
runuser -u proof -- env QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
    xvfb-run -a -s "-screen 0 1280x800x24" sh -c 'quaerio >/tmp/quaerio.log 2>&1 & echo $! >/tmp/quaerio.pid; wait $!; echo $? >/tmp/quaerio.exit' &
session=$!
sleep 10
pid=$(cat /tmp/quaerio.pid)
if ! kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: quaerio is not running after 10 s"; cat /tmp/quaerio.log; exit 1
fi
echo "After 10 s quaerio (pid $pid, $(readlink /proc/$pid/exe)) is running."
# It catches SIGTERM once its main window is up; until then the signal would
# end it at once, as it does any program.
window_up() { (( (0x$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status") >> 14) & 1 )); }
for _ in $(seq 600); do
    window_up && break
    sleep 0.1
done
window_up || { echo "FAIL: the window did not come up within a minute"; cat /tmp/quaerio.log; exit 1; }
echo "Its window is up; closing it with SIGTERM."
kill -TERM "$pid"
for _ in $(seq 600); do
    [[ -e /tmp/quaerio.exit ]] && break
    sleep 0.1
done
[[ -e /tmp/quaerio.exit ]] || { echo "FAIL: quaerio did not end within 60 s of SIGTERM"; exit 1; }
wait "$session"
settings=/home/proof/.config/Tavistel/Quaerio.conf
echo "quaerio exited with $(cat /tmp/quaerio.exit); its settings, $settings:"
[[ $(cat /tmp/quaerio.exit) == 0 && -s $settings ]] || { echo "FAIL: no clean exit with settings"; cat /tmp/quaerio.log; exit 1; }
sed 's/^/    /' "$settings"

run apt-get remove -y quaerio | grep -E '^(Removing|[0-9]+ upgraded)'
left=0
while read -r path; do
    # Folders shared with other packages stay; the package's own must go.
    if [[ -L $path ]] || { [[ -e $path ]] &&
        { [[ ! -d $path ]] || [[ $path == /usr/lib/quaerio || $path == /usr/share/doc/quaerio ]]; }; }; then
        echo "left behind: $path"
        left=1
    fi
done </tmp/quaerio.files
((left == 0)) && echo "No file of the package is left ($(wc -l </tmp/quaerio.files) paths checked)."
exit "$left"
PROOF

echo "== In the fresh root"
chroot "$root" /bin/bash /tmp/proof.sh "$(basename "$deb")"
