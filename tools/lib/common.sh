# Shared by tools/test and tools/run: installs what a fresh Debian machine lacks, and starts a
# virtual display when there is none. Source it; it defines functions only.

relingo_packages=(
    cmake ninja-build g++ googletest
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine64 wine32:i386
    xvfb xauth xdotool x11-apps imagemagick
    fonts-wine fonts-ipafont-gothic locales
    clang libclang-rt-14-dev
    strip-nondeterminism gdb
    mingw-w64-tools faketime wixl msitools
    osslsigncode openssl curl
)

relingo_say() { printf '== %s\n' "$*" >&2; }

# Whether this machine runs 32-bit Linux programs, as the 32-bit Wine is one: some kernels run
# 64-bit code only (their IA-32 emulation is off, and a 32-bit program fails to start).
relingo_runs_32bit_code() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Installs the packages that are missing (needs root, as on a fresh machine). The 32-bit Wine
# comes from the i386 architecture, which is added first.
relingo_install_packages() {
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        relingo_say "adding the i386 architecture for the 32-bit Wine"
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    local missing=()
    local package
    for package in "${relingo_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        relingo_say "installing: ${missing[*]}"
        "${sudo[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
    # Wine takes its user locale from the Unix one, so Japanese tests need ja_JP.UTF-8.
    if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
        relingo_say "generating the ja_JP.UTF-8 locale"
        "${sudo[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen ||
            echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
        "${sudo[@]}" locale-gen >/dev/null
    fi
}

relingo_xvfb_pids=()
relingo_display=""

# Starts an Xvfb of its own on a free display and puts its name (":N") in relingo_display;
# relingo_stop_display ends every one started.
relingo_new_display() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        local pid=$!
        local tries
        for tries in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if [ -e "/tmp/.X11-unix/X$n" ]; then
            relingo_xvfb_pids+=("$pid")
            relingo_display=":$n"
            relingo_say "virtual display $relingo_display"
            return 0
        fi
        kill "$pid" 2>/dev/null || true
    done
    relingo_say "could not start a virtual display"
    return 1
}

# Starts a virtual display when DISPLAY is unset, and sets DISPLAY to it.
relingo_start_display() {
    [ -z "${DISPLAY:-}" ] || return 0
    relingo_new_display || return 1
    export DISPLAY=$relingo_display
}

relingo_stop_display() {
    local pid
    for pid in "${relingo_xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    relingo_xvfb_pids=()
}

# Stops the wineservers of the given private prefixes.
relingo_stop_wine() {
    local prefix
    for prefix in "$@"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    done
}
