#!/usr/bin/env bash
# Creates and runs a Wine prefix sealed off from the host, for the test suite.
# Usage: sandbox.sh init|check|start|stop|env <sandbox-dir>
set -euo pipefail

here=$(dirname -- "$(readlink -f -- "${BASH_SOURCE[0]}")")
# shellcheck source=SCRIPTDIR/sandbox-env.sh
. "$here/sandbox-env.sh"

usage() {
    echo "usage: ${0##*/} init|check|start|stop|env <sandbox-dir>" >&2
    exit 2
}

[[ $# -eq 2 ]] || usage
cmd=$1
root=$(vw_sandbox_root "$2")
log="$root/wine.log"
vw_sandbox_env "$root"

# Wine's services inherit the caller's stdio and outlive the command, so a
# caller capturing it through a pipe would wait forever: everything goes to
# the log. Fd 9 (the init lock) is closed so no lingering process holds it.
wine_quiet() {
    "$@" </dev/null >>"$log" 2>&1 9>&-
}

fail() {
    echo "sandbox: $*" >&2
    exit 1
}

check_or_fail() {
    local why
    why=$(vw_sandbox_problem "$root") || fail "check failed: $why"
}

cmd_init() {
    mkdir -p "$root"
    # ctest -j may start several wrappers on a fresh sandbox at once.
    exec 9>"$root/.lock"
    flock 9
    if [[ -e $root/.ready ]] && vw_sandbox_problem "$root" >/dev/null; then
        echo "sandbox: $root is ready"
        return 0
    fi
    rm -f "$root/.ready"
    # Never let wineboot write through a link that leads out of the sandbox.
    local v
    for v in "${VW_SANDBOX_DIRS[@]}"; do
        vw_inside "${!v}" "$root" || fail "$v ${!v} leads outside $root; remove it first"
    done
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"

    echo "sandbox: creating prefix $WINEPREFIX (log: $log)"
    ( cd "$root" && wine_quiet wineboot -i ) || fail "wineboot failed, see $log"
    wine_quiet wineserver -w || true

    echo "sandbox: sealing drives and user folders"
    local link
    for link in "$WINEPREFIX"/dosdevices/[a-z]:; do
        [[ -e $link || -L $link ]] || continue
        if [[ ${link##*/} == z: ]] || ! vw_inside "$link" "$root"; then
            rm -f -- "$link"
        fi
    done
    # Wine links the profile's Desktop, Documents, ... to the host's home.
    while IFS= read -r -d '' link; do
        rm -f -- "$link"
        mkdir -p -- "$link"
    done < <(find "$WINEPREFIX/drive_c/users" -type l -print0)

    echo "sandbox: configuring X11 driver"
    # Without a window manager (Xvfb) a managed message box takes ~2 s to close.
    ( cd "$WINEPREFIX/drive_c" &&
      wine_quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f ) ||
        fail "could not set the X11 driver option, see $log"
    # Drive changes take effect only in a new wineserver.
    wine_quiet wineserver -k || true
    wine_quiet wineserver -w || true

    check_or_fail
    touch "$root/.ready"
    echo "sandbox: $root is ready"
}

cmd_start() {
    [[ -e $root/.ready ]] || fail "$root is not initialised; run: ${0##*/} init $root"
    check_or_fail
    # A server of this prefix that is not persistent would leave with the
    # next test; replace it.
    wine_quiet wineserver -k || true
    wine_quiet wineserver -w || true
    echo "sandbox: starting wineserver and services (DISPLAY=${DISPLAY:-none})"
    wine_quiet wineserver -p || fail "wineserver did not start, see $log"
    ( cd "$WINEPREFIX/drive_c" && wine_quiet wine cmd /c exit ) || fail "services did not start, see $log"
}

cmd_stop() {
    [[ -d $WINEPREFIX ]] || return 0
    wine_quiet wineserver -k || true
    wine_quiet wineserver -w || true
}

cmd_env() {
    local v val
    for v in "${VW_SANDBOX_DIRS[@]}" WINEDEBUG WINEDLLOVERRIDES; do
        val=${!v}
        printf "export %s='%s'\n" "$v" "${val//\'/\'\\\'\'}"
    done
}

case $cmd in
    init)  cmd_init ;;
    check) check_or_fail ;;
    start) cmd_start ;;
    stop)  cmd_stop ;;
    env)   cmd_env ;;
    *)     usage ;;
esac
