# shellcheck shell=bash
# Shared by sandbox.sh and wine-run.sh: the sandbox environment and its check.
# Sourced, not run; callers use `set -euo pipefail`.

# Absolute, symlink-free path of a sandbox dir (it need not exist yet), so
# every comparison below is made against one canonical prefix.
vw_sandbox_root() {
    readlink -m -- "$1"
}

# Exports the environment every Wine process of the sandbox runs with. Callers'
# own Wine settings must not leak in: they would point Wine at the host.
vw_sandbox_env() {
    local root
    root=$(vw_sandbox_root "$1")
    export WINEPREFIX="$root/prefix"
    export HOME="$root/home"
    export XDG_CONFIG_HOME="$root/xdg/config"
    export XDG_DATA_HOME="$root/xdg/data"
    export XDG_CACHE_HOME="$root/xdg/cache"
    export XDG_RUNTIME_DIR="$root/xdg/runtime"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINESERVER WINELOADER WINEARCH WINEDLLPATH
}

# The folders vw_sandbox_env points Wine at; each must stay inside the sandbox.
VW_SANDBOX_DIRS=(WINEPREFIX HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR)

# True when path $1 resolves (following every link) to $2 or below it.
vw_inside() {
    local p
    p=$(readlink -m -- "$1")
    [[ $p == "$2" || $p == "$2"/* ]]
}

# Prints the first way the sandbox $1 lets Wine reach outside it and returns 1;
# prints nothing and returns 0 when it is sealed. Expects vw_sandbox_env done.
vw_sandbox_problem() {
    local root link entry
    root=$(vw_sandbox_root "$1")
    if [[ ! -d $root ]]; then
        echo "sandbox dir $root does not exist"; return 1
    fi
    for entry in "${VW_SANDBOX_DIRS[@]}"; do
        if ! vw_inside "${!entry}" "$root"; then
            echo "$entry ${!entry} resolves to $(readlink -m -- "${!entry}"), outside $root"; return 1
        fi
    done
    if [[ ! -d $WINEPREFIX/dosdevices ]]; then
        echo "no Wine prefix at $WINEPREFIX"; return 1
    fi
    # Only drive letters map Windows paths onto Unix folders; com1 and the
    # raw-device entries (c::) are Wine's own and always point at /dev.
    for link in "$WINEPREFIX"/dosdevices/[a-z]:; do
        [[ -e $link || -L $link ]] || continue
        if ! vw_inside "$link" "$root"; then
            echo "drive ${link##*/} resolves to $(readlink -m -- "$link"), outside $root"; return 1
        fi
    done
    if [[ -d $WINEPREFIX/drive_c/users ]]; then
        while IFS= read -r -d '' link; do
            if ! vw_inside "$link" "$root"; then
                echo "user folder ${link#"$WINEPREFIX"/} resolves to $(readlink -m -- "$link"), outside $root"
                return 1
            fi
        done < <(find "$WINEPREFIX/drive_c/users" -type l -print0)
    fi
    return 0
}
