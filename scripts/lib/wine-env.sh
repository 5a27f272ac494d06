# Private Wine environment of one build folder: an Xvfb display, a Wine prefix
# set up for skinned windows and Chinese text, and a persistent wineserver.
# Sourced by scripts/wine-exec, scripts/test and scripts/run.
#
# ctest and Ninja wait for every process that holds a test's stdout/stderr.
# The first Wine process of a prefix starts wineserver, services and the
# desktop process, which would inherit those pipes, so everything long-lived
# is started here detached, with its standard streams on /dev/null and no
# other descriptors open.

WINE_LOADER=/usr/lib/wine/wine64
WINE_SERVER=/usr/lib/wine/wineserver64
VIDKILN_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

wine_env_export() {
    local winedir=$1
    export WINEPREFIX="$winedir/prefix"
    export WINELOADER="$WINE_LOADER"
    export WINESERVER="$WINE_SERVER"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko download prompts.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LC_ALL=C.UTF-8
}

# Execs "$@" in its own session with standard streams on /dev/null and every
# inherited descriptor above 2 closed, so nothing it starts can hold a
# caller's pipe or the environment's lock. Meant for a subshell.
exec_quietly() {
    local fd
    for fd in /proc/self/fd/*; do
        fd=${fd##*/}
        [ "$fd" -gt 2 ] 2>/dev/null && eval "exec $fd>&-" 2>/dev/null
    done
    exec setsid "$@" </dev/null >/dev/null 2>&1
}

quietly() {
    (exec_quietly "$@")
}

# In the background; $! is the program's own process id.
detached() {
    (exec_quietly "$@") &
}

wine_env_display_alive() {
    local winedir=$1
    [ -s "$winedir/display" ] && [ -s "$winedir/xvfb.pid" ] &&
        kill -0 "$(cat "$winedir/xvfb.pid")" 2>/dev/null
}

wine_env_start_display() {
    local winedir=$1 n
    # Pick the first display number with no X server and no stale lock.
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        detached Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset
        echo $! >"$winedir/xvfb.pid"
        local i
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.05
        done
        if [ -e "/tmp/.X11-unix/X$n" ]; then
            echo "$n" >"$winedir/display"
            return 0
        fi
    done
    echo "wine-env: could not start Xvfb" >&2
    return 1
}

# Waits up to 10 s for the prefix's server to be there.
wine_env_wait_server() {
    local i
    for i in $(seq 1 200); do
        wine_env_server_alive && return 0
        sleep 0.05
    done
    return 1
}

# The server of a prefix works in a folder named after the prefix folder's
# device and inode; that finds it whatever started it.
wine_env_server_alive() {
    local dev ino pid
    [ -d "$WINEPREFIX" ] || return 1
    read -r dev ino < <(stat -c '%D %i' "$WINEPREFIX")
    for pid in $(pgrep -x wineserver64 || true); do
        # A server may end between the listing and the look.
        case $(readlink "/proc/$pid/cwd" 2>/dev/null || true) in
            */server-$dev-$(printf '%x' "$ino")) return 0 ;;
        esac
    done
    return 1
}

# Whether a window manager keeps the windows of a display. One that follows
# the desktop conventions names a check window on the root window, and that
# window names itself; a window manager that has ended can leave the root's
# property behind, pointing at a window that is gone.
wine_env_window_manager() {
    local display=$1 check self
    check=$(wine_env_check_window "$display" -root)
    [ -n "$check" ] || return 1
    self=$(wine_env_check_window "$display" -id "$check")
    [ -n "$self" ] && [ $((self)) -eq $((check)) ]
}

# The window a window's _NET_SUPPORTING_WM_CHECK names, as xprop prints it
# ("window id # 0x..." for a window, a plain number for other types).
wine_env_check_window() {
    local display=$1
    shift
    DISPLAY=$display xprop "$@" _NET_SUPPORTING_WM_CHECK 2>/dev/null |
        sed -n 's/.*[#=] *\(0x[0-9a-fA-F]*\|[0-9]*\)$/\1/p'
}

winepath_of() {
    # Z: maps the Linux root in every Wine prefix.
    printf 'Z:%s' "${1//\//\\}"
}

# The prefix's registry settings; a prefix made for another screen DPI
# (VIDKILN_WINE_DPI, see wine-exec --dpi) also gets that system DPI, and one
# whose windows a window manager keeps (VIDKILN_WINE_MANAGED, scripts/run)
# says so to Wine's X11 driver, in the same import as the rest.
wine_env_registry() {
    cat "$VIDKILN_SOURCE_DIR/scripts/lib/prefix.reg"
    if [ -n "${VIDKILN_WINE_DPI:-}" ]; then
        printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$VIDKILN_WINE_DPI"
    fi
    if [ -n "${VIDKILN_WINE_MANAGED:-}" ]; then
        printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="Y"\n'
    fi
}

# What the prefix's settings are made of: a prefix made with other ones
# gets the current ones on its next start, so a change of fonts or registry
# reaches prefixes made before it.
wine_env_settings_text() {
    wine_env_registry
    printf '%s\n' "${WINE_ENV_FONTS[@]}"
}

# Debian's Wine does not read its own font folder; without its fonts the
# caption buttons show letters instead of glyphs. The Chinese face is
# linked by file name from the registry.
WINE_ENV_FONTS=(/usr/share/wine/fonts/*.ttf
    /usr/share/fonts/truetype/wqy/wqy-microhei.ttc)

wine_env_apply_settings() {
    local winedir=$1
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    ln -sf "${WINE_ENV_FONTS[@]}" "$fonts/"
    { printf '\xff\xfe'; wine_env_registry | iconv -f UTF-8 -t UTF-16LE; } >"$winedir/prefix.reg"
    quietly "$WINE_LOADER" regedit /S "$(winepath_of "$winedir/prefix.reg")"
    wine_env_settings_text | md5sum >"$WINEPREFIX/.vidkiln-settings"
}

wine_env_settings_current() {
    [ "$(wine_env_settings_text | md5sum)" = "$(cat "$WINEPREFIX/.vidkiln-settings" 2>/dev/null)" ]
}

wine_env_prepare_prefix() {
    local winedir=$1
    quietly "$WINE_LOADER" wineboot -i
    wine_env_apply_settings "$winedir"
    touch "$WINEPREFIX/.vidkiln-ready"
}

wine_env_build_keeper() {
    local winedir=$1
    local source="$VIDKILN_SOURCE_DIR/scripts/lib/desktop-keeper.c"
    local keeper="$winedir/desktop-keeper.exe"
    if [ ! -x "$keeper" ] || [ "$source" -nt "$keeper" ]; then
        x86_64-w64-mingw32-gcc-posix -O2 -s -mwindows -municode -o "$keeper" "$source"
    fi
}

wine_env_start_keeper() {
    local winedir=$1
    local keeper="$winedir/desktop-keeper.exe"
    local ready="$winedir/desktop.ready" i
    rm -f "$ready"
    detached "$WINE_LOADER" "$keeper" "$(winepath_of "$ready")"
    # Until the desktop is up, the next GUI process would start it itself.
    for i in $(seq 1 400); do
        [ -e "$ready" ] && return 0
        sleep 0.05
    done
    echo "wine-env: the desktop did not come up" >&2
}

# Makes sure display, prefix, server and desktop of a Wine folder are up:
#   wine_env_up <folder>            on a private Xvfb display (tests)
#   wine_env_up <folder> <display>  on the given display (scripts/run)
wine_env_up() {
    local winedir=$1 display=${2:-}
    mkdir -p "$winedir"
    winedir=$(cd "$winedir" && pwd)
    wine_env_export "$winedir"
    exec {wine_env_lock}>"$winedir/lock"
    flock "$wine_env_lock"
    if [ -z "$display" ]; then
        wine_env_display_alive "$winedir" || wine_env_start_display "$winedir"
        display=":$(cat "$winedir/display")"
    fi
    export DISPLAY=$display
    if ! wine_env_server_alive; then
        if [ ! -e "$WINEPREFIX/.vidkiln-ready" ]; then
            rm -rf "$WINEPREFIX"
            mkdir -p "$WINEPREFIX"
        fi
        # Without -f the server returns once it listens, so no Wine process
        # below can race it and start a server of its own. It refuses to
        # start when a server of the prefix is up already (one that was
        # still going away when we looked, or one started meanwhile): then
        # only a server that never comes is a failure.
        if ! quietly "$WINE_SERVER" -p && ! wine_env_wait_server; then
            echo "wine-env: no wineserver for $WINEPREFIX" >&2
            return 1
        fi
        # The first Wine process of a server session starts the system
        # processes (services, devices) that live as long as the server; a
        # boot run here makes sure they never inherit a test's pipes.
        # The keeper compiles while Wine boots: a new prefix's boot waits
        # on its disk more than on the processor.
        # One program run in the foreground (VIDKILN_WINE_ONE_PROGRAM,
        # scripts/run) needs neither: nobody waits on its pipes, and its own
        # start brings up Wine's system processes and the desktop.
        if [ -n "${VIDKILN_WINE_ONE_PROGRAM:-}" ]; then
            [ -e "$WINEPREFIX/.vidkiln-ready" ] || wine_env_prepare_prefix "$winedir"
        else
            wine_env_build_keeper "$winedir" &
            local building=$!
            if [ -e "$WINEPREFIX/.vidkiln-ready" ]; then
                quietly "$WINE_LOADER" wineboot || echo "wine-env: wineboot ended with status $?; going on" >&2
            else
                wine_env_prepare_prefix "$winedir"
            fi
            wait "$building" || { echo "wine-env: the desktop keeper did not build" >&2; return 1; }
            wine_env_start_keeper "$winedir"
        fi
    fi
    wine_env_settings_current || wine_env_apply_settings "$winedir"
    flock -u "$wine_env_lock"
    exec {wine_env_lock}>&-
}

# Ends the server of the build folder (and with it every Wine process in its
# prefix) and its display.
wine_env_down() {
    local winedir=$1
    [ -d "$winedir" ] || return 0
    winedir=$(cd "$winedir" && pwd)
    wine_env_export "$winedir"
    if wine_env_server_alive; then
        "$WINE_SERVER" -k 2>/dev/null || true
        # A new server for the prefix cannot start until this one is gone.
        "$WINE_SERVER" -w 2>/dev/null || true
    fi
    if [ -s "$winedir/xvfb.pid" ]; then
        kill "$(cat "$winedir/xvfb.pid")" 2>/dev/null || true
        rm -f "$winedir/xvfb.pid" "$winedir/display"
    fi
}
