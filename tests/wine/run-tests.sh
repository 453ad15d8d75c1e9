#!/usr/bin/env bash
# Runs the Windows build under Wine: the console's key codes, standard output
# in text mode, the simulated DLL's export, and the end-to-end suite with
# Kestrel.exe as the program. Exits non-zero on any failure.
#
# Usage: tests/wine/run-tests.sh [WINDOWS_BUILD_DIR [E2E_TEST_PROGRAM]]
#   WINDOWS_BUILD_DIR  the windows preset's build folder (default build/windows)
#   E2E_TEST_PROGRAM   the host's end-to-end test program, built by the
#                      default preset (default build/default/tests/e2e/kestrel_e2e_tests);
#                      skipped with a note when it does not exist
#
# One private Wine prefix and one persistent wineserver serve the whole run;
# both are gone when the script ends.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
win_build=$(cd "${1:-$repo/build/windows}" && pwd)
e2e_program=${2:-$repo/build/default/tests/e2e/kestrel_e2e_tests}

kestrel_exe=$win_build/app/Kestrel.exe
sim_dll=$win_build/drivers/sim/plx9050sim.dll
helpers=$win_build/tests/wine
for file in "$kestrel_exe" "$sim_dll" "$helpers/launch.exe" "$helpers/inject_keys.exe" "$helpers/key_probe.exe"; do
    if [ ! -f "$file" ]; then
        echo "missing $file: build the windows preset first" >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/kestrel-wine-XXXXXX)
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
# No Mono or Gecko: the prefix is made quickly and without asking.
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
pass() { echo "ok: $1"; }
fail() {
    echo "FAIL: $1" >&2
    failures=$((failures + 1))
}

# The Windows form of a host path, as the programs under Wine see it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

echo "== Wine prefix"
mkdir -p "$WINEPREFIX"
# Started first and persistent: every wine call of the run talks to it
# instead of starting and stopping a server of its own.
wineserver -p
wineboot -i >/dev/null 2>&1

echo "== the simulated DLL exports its factory object; the runtime is linked in"
if command -v x86_64-w64-mingw32-objdump >/dev/null; then
    exports=$(x86_64-w64-mingw32-objdump -p "$sim_dll")
    if grep -Eq '^\s*\[\s*[0-9]+\] StaticFactory$' <<<"$exports"; then
        pass "plx9050sim.dll exports StaticFactory"
    else
        fail "plx9050sim.dll does not export StaticFactory"
    fi
    for binary in "$kestrel_exe" "$sim_dll"; do
        # Only DLLs that every Windows has: no MinGW runtime DLL beside it.
        imports=$(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
        if grep -vqxE 'kernel32.dll|advapi32.dll|msvcrt.dll' <<<"$imports"; then
            fail "$(basename "$binary") needs $(echo $imports)"
        else
            pass "$(basename "$binary") needs only $(echo $imports)"
        fi
    done
fi

# Runs key_probe.exe COUNT in a console of its own (Wine makes one because the
# launcher's standard error is a pseudo-terminal), types KEY... into that
# console once the first wait has begun, and prints what the probe printed.
probe_keys() {
    local count=$1
    shift
    rm -f "$work/probe.pid" "$work/probe.out" "$work/probe.err"
    export PROBE_LAUNCH="$helpers/launch.exe" PROBE_PROGRAM="$(windows_path "$helpers/key_probe.exe")"
    export PROBE_PID="$(windows_path "$work/probe.pid")" PROBE_ERR="$(windows_path "$work/probe.err")"
    export PROBE_OUT="$work/probe.out" PROBE_COUNT="$count"
    timeout 60 script -qec 'wine "$PROBE_LAUNCH" "$PROBE_PID" "$PROBE_ERR" "$PROBE_PROGRAM" "$PROBE_COUNT" \
        >"$PROBE_OUT" </dev/null' /dev/null >/dev/null &
    local runner=$!
    for _ in $(seq 300); do
        [ -s "$work/probe.pid" ] && break
        sleep 0.1
    done
    if [ -s "$work/probe.pid" ]; then
        wine "$helpers/inject_keys.exe" "$(cat "$work/probe.pid")" "$@" </dev/null || true
    fi
    wait "$runner" || true
    tr -d '\r' <"$work/probe.out" 2>/dev/null || true
}

echo "== key codes of a real console's key events"
# KEY...|the codes WaitKey returns for them, one call each. Keys that must not
# end a wait (modifiers and locks alone, releases, mouse, resize and focus
# events, the repeats of one press) sit between the others.
key_cases=(
    "esc|27"
    "enter|13"
    "ctrl-c|3"
    "y Q space|121 81 32"
    "shift ctrl alt capslock up-only:y mouse resize focus y|121"
    "y*3|121"
    "alt+y|121"
    "up down left right|224 72 224 80 224 75 224 77"
    "home end pgup pgdn insert delete|224 71 224 79 224 73 224 81 224 82 224 83"
    "f1 f10 f11 f12|0 59 0 68 224 133 224 134"
    "alt+up ctrl+up shift+up|224 152 224 141 224 72"
    "alt+f1 ctrl+f1 shift+f1|0 104 0 94 0 84"
    "ctrl+alt+home ctrl+shift+f12|224 151 224 138"
)
all_keys=()
expected="ready"
calls=0
for row in "${key_cases[@]}"; do
    read -r -a keys <<<"${row%%|*}"
    read -r -a codes <<<"${row#*|}"
    all_keys+=("${keys[@]}")
    for code in "${codes[@]}"; do
        expected+=$'\n'"$code restored"
        calls=$((calls + 1))
    done
done
actual=$(probe_keys "$calls" "${all_keys[@]}")
if [ "$actual" = "$expected" ]; then
    pass "$calls key codes, the console's mode restored after every wait"
else
    fail "key codes"
    diff <(echo "$expected") <(echo "$actual") >&2 || true
fi

echo "== without a console every wait returns -1 at once"
actual=$(timeout 30 setsid wine "$helpers/key_probe.exe" 3 </dev/null 2>&1 | tr -d '\r' || true)
if [ "$actual" = $'ready\n-1 restored\n-1 restored\n-1 restored' ]; then
    pass "no console: -1 at once"
else
    fail "no console: got '$actual'"
fi

echo "== standard output is in text mode"
(cd "$work" && timeout 30 setsid wine "$kestrel_exe" </dev/null >"$work/usage.txt" 2>"$work/usage.err") && status=0 || status=$?
lines=$(wc -l <"$work/usage.txt")
if [ "$status" -eq 1 ] && [ "$lines" -gt 1 ] && [ "$lines" -eq "$(grep -c $'\r$' "$work/usage.txt")" ] &&
    [ "$(tail -c 26 "$work/usage.txt")" = $'Press any key to exit...\r' ] && [ ! -s "$work/usage.err" ]; then
    pass "every line of a redirected run ends with CR LF"
else
    fail "text mode (exit status $status)"
    od -c "$work/usage.txt" | tail -5 >&2
fi

echo "== end-to-end suite with Kestrel.exe"
if [ -x "$e2e_program" ]; then
    export KESTREL_E2E_WINE_PROGRAM=$kestrel_exe
    export KESTREL_E2E_WINE_SIM=$sim_dll
    export KESTREL_E2E_WINE_HELPERS=$helpers
    if "$e2e_program" --gtest_brief=1; then
        pass "end-to-end suite under Wine"
    else
        fail "end-to-end suite under Wine"
    fi
else
    echo "note: $e2e_program not built; the end-to-end suite was not run under Wine"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures Wine test group(s) failed" >&2
    exit 1
fi
echo "all Wine tests passed"
