#!/usr/bin/env bash
# Cross-builds the game for another Debian architecture and runs the whole suite there under
# qemu-user, checking that the data archives come out byte-identical to this machine's.
# Usage: cross-test.sh ARCH   (ARCH: i386, arm64 or s390x)
#
# Leaves the machine's own packages as they are, but for the cross compiler and qemu-user it
# installs from apt: the target's libraries are downloaded with a private apt configuration
# and unpacked into a sysroot in build-cross-ARCH/ (kept for the next run), and the emulator
# is registered with binfmt_misc only while the script runs. The content tools are the
# target's own programs run under the emulator, so the archives check their byte order too.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

usage() {
    echo "usage: $0 i386|arm64|s390x" >&2
    exit 2
}
[ $# -eq 1 ] || usage
ARCH=$1
# binfmt_misc patterns of each architecture's ELF executables (static and position-independent).
case "$ARCH" in
i386)
    TRIPLE=i686-linux-gnu MULTIARCH=i386-linux-gnu PROCESSOR=i686 QEMU=qemu-i386
    MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    ;;
arm64)
    TRIPLE=aarch64-linux-gnu MULTIARCH=aarch64-linux-gnu PROCESSOR=aarch64 QEMU=qemu-aarch64
    MAGIC='\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00'
    MASK='\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    ;;
s390x)
    TRIPLE=s390x-linux-gnu MULTIARCH=s390x-linux-gnu PROCESSOR=s390x QEMU=qemu-s390x
    MAGIC='\x7fELF\x02\x02\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x16'
    MASK='\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff'
    ;;
*) usage ;;
esac

# The target's packages the build, the game and the tests link against, with everything
# they depend on; Mesa's drivers for the OpenGL modes of the window test.
TARGET_PACKAGES=(
    libc6-dev libstdc++-12-dev
    libsdl1.2-compat-dev libsdl-mixer1.2-dev libmodplug-dev zlib1g-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    libgtest-dev libgmock-dev libbenchmark-dev
)
WORK=$ROOT/build-cross-$ARCH
SYSROOT=$WORK/sysroot
APTDIR=$WORK/apt
BUILD=$WORK/build
NATIVE=$ROOT/build
BINFMT=/proc/sys/fs/binfmt_misc
ENTRY=fribb3-$ARCH-$$ # one entry per run, so runs side by side do not remove each other's

step() { echo "== $*"; }
seconds() { date +%s; }

# Host tools: what the native build needs, the cross compiler and the emulator, the archive's
# keys for the private apt configuration and file(1) for the check of what was built.
./scripts/setup.sh "g++-$TRIPLE" qemu-user debian-archive-keyring file
command -v "$QEMU" >/dev/null || { echo "$QEMU is missing after installing qemu-user" >&2; exit 1; }

# ---- The sysroot ----
# Rebuilt whenever the package list changes; a finished one carries a stamp with that list.
stamp="${TARGET_PACKAGES[*]}"
if [ ! -f "$SYSROOT/.complete" ] || [ "$(cat "$SYSROOT/.complete")" != "$stamp" ]; then
    step "Downloading the $ARCH libraries into $SYSROOT"
    start=$(seconds)
    rm -rf "$SYSROOT" "$APTDIR"
    mkdir -p "$APTDIR"/{etc/parts,state/lists/partial,cache/archives/partial} "$SYSROOT"
    : >"$APTDIR/state/status"
    # The same archive and suites as the machine, for the target architecture only.
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    for suite in "debian bookworm" "debian bookworm-updates" "debian-security bookworm-security"; do
        set -- $suite
        echo "deb [arch=$ARCH signed-by=$keyring] http://deb.debian.org/$1 $2 main"
    done >"$APTDIR/etc/sources.list"
    cat >"$APTDIR/apt.conf" <<EOF
APT::Architecture "$ARCH";
APT::Architectures { "$ARCH"; };
APT::Install-Recommends "false";
Dir::Etc::SourceList "$APTDIR/etc/sources.list";
Dir::Etc::SourceParts "$APTDIR/etc/parts";
Dir::Etc::Parts "$APTDIR/etc/parts";
Dir::Etc::Preferences "$APTDIR/etc/parts/none";
Dir::Etc::PreferencesParts "$APTDIR/etc/parts";
Dir::State "$APTDIR/state";
Dir::State::status "$APTDIR/state/status";
Dir::Cache "$APTDIR/cache";
EOF
    export APT_CONFIG=$APTDIR/apt.conf
    apt-get update -qq
    # An empty package state makes apt fetch the whole dependency closure.
    apt-get install -qq -y --download-only "${TARGET_PACKAGES[@]}" >"$APTDIR/download.log"
    unset APT_CONFIG
    for deb in "$APTDIR"/cache/archives/*.deb; do
        dpkg-deb -x "$deb" "$SYSROOT"
    done
    # Absolute links (libz.so -> /lib/...) must point into the sysroot.
    find "$SYSROOT" -type l -lname '/*' -print0 | while IFS= read -r -d '' link; do
        ln -sfn "$SYSROOT$(readlink "$link")" "$link"
    done
    rm -rf "$APTDIR/cache/archives"
    echo "$stamp" >"$SYSROOT/.complete"
    echo "$(ls "$APTDIR"/state/lists/ | wc -l) lists, sysroot $(du -sh "$SYSROOT" | cut -f1) in $(($(seconds) - start)) s"
fi

# ---- The emulator ----
# Every program of the target architecture started while the script runs goes through qemu,
# which finds the target's loader and libraries in the sysroot.
mounted=
registered=
# Registering needs root: sudo when the script is not run as root (as setup.sh does).
SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
# Writes LINE into the binfmt_misc file FILE.
binfmt_write() { echo "$2" | $SUDO tee "$BINFMT/$1" >/dev/null; }
cleanup() {
    [ -n "$registered" ] && [ -e "$BINFMT/$ENTRY" ] && binfmt_write "$ENTRY" -1
    [ -n "$mounted" ] && $SUDO umount "$BINFMT"
    return 0
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
if [ ! -e "$BINFMT/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$BINFMT"
    mounted=1
fi
# Entries of runs that were killed before they could remove them.
for stale in "$BINFMT"/fribb3-"$ARCH"-*; do
    if [ -e "$stale" ] && ! kill -0 "${stale##*-}" 2>/dev/null; then
        binfmt_write "${stale##*/}" -1
    fi
done
binfmt_write register ":$ENTRY:M::$MAGIC:$MASK:$(command -v "$QEMU"):"
registered=1
export QEMU_LD_PREFIX=$SYSROOT

# ---- The build ----
step "Building for $ARCH in $BUILD"
start=$(seconds)
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/cross-toolchain.cmake" \
    -DFRIBB3_CROSS_TRIPLE="$TRIPLE" -DFRIBB3_CROSS_MULTIARCH="$MULTIARCH" -DFRIBB3_CROSS_PROCESSOR="$PROCESSOR" \
    -DFRIBB3_CROSS_SYSROOT="$SYSROOT" -DFRIBB3_CROSS_EMULATOR="$(command -v "$QEMU")" >"$WORK/configure.log"
cmake --build "$BUILD" -j "$(nproc)" >"$WORK/build.log" 2>&1 || {
    tail -n 40 "$WORK/build.log"
    echo "the $ARCH build failed (whole log: $WORK/build.log)" >&2
    exit 1
}
build_time=$(($(seconds) - start))
# The compiler's and the linker's warnings; the stage checker's advice on the maps is no fault.
if grep -nE '\.(c|cc|cpp|h|hpp):[0-9]+(:[0-9]+)?: warning:|(^|[ /])(ld|collect2|cc1|cc1plus|[a-z0-9_]+-linux-gnu-(gcc|g\+\+|ld))(\.[a-z]+)?: warning:' \
    "$WORK/build.log"; then
    echo "the $ARCH build gave warnings" >&2
    exit 1
fi
file "$BUILD/fribb3" | grep -q "$(case $ARCH in i386) echo 80386 ;; arm64) echo aarch64 ;; s390x) echo S/390 ;; esac)" || {
    echo "$BUILD/fribb3 is not an $ARCH program: $(file "$BUILD/fribb3")" >&2
    exit 1
}
echo "built in $build_time s"

# ---- The archives ----
step "Comparing the data archives with this machine's"
cmake -S . -B "$NATIVE" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$NATIVE" -j "$(nproc)" --target data >/dev/null
for zda in "$NATIVE"/data/*.zda; do
    name=$(basename "$zda")
    if ! cmp -s "$zda" "$BUILD/data/$name"; then
        echo "data/$name differs from the native build's" >&2
        exit 1
    fi
    echo "data/$name identical ($(stat -c %s "$zda") bytes)"
done

# ---- The suite ----
step "Running the suite for $ARCH under $QEMU"
start=$(seconds)
status=0
(cd "$BUILD" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    ctest --output-on-failure --timeout 1800 -j "$(nproc)") >"$WORK/test.log" 2>&1 || status=$?
test_time=$(($(seconds) - start))
grep -E '^(The following tests|[[:space:]]+[0-9]+ - )' "$WORK/test.log" || true
[ $status -eq 0 ] || tail -n 60 "$WORK/test.log"
grep -E 'tests passed|tests failed' "$WORK/test.log" || echo "ctest printed no summary"
echo "$ARCH: built in $build_time s, tested in $test_time s (whole log: $WORK/test.log)"
exit $status
