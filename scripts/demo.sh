#!/usr/bin/env bash
# Builds Kestrel and the simulated board library, then saves the simulated
# board's EEPROM to a file and flashes that file back, without a key press:
# the program runs without a controlling terminal, so its key waits return
# at once.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-packages.sh cmake make g++ util-linux

build=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTREL_BUILD_TESTS=OFF \
    -DKESTREL_REGISTRY_DIR="$PWD/$build/registry" >/dev/null
cmake --build "$build" --target kestrel plx9050sim -j2 >/dev/null

# Point the program at the simulated library, the way a technician points
# it at a real one.
key="$build/registry/SOFTWARE/Orvalis LTD/Corvane/1.0/PLX9050"
mkdir -p "$key"
echo "$PWD/$build/drivers/sim/libplx9050sim.so" > "$key/path"

# Two simulated boards; their EEPROMs live in the state file between runs.
work="$build/run"
mkdir -p "$work"
rm -f "$work/boards.state" "$work/backup.bin"
cat > "$work/sim.conf" <<CONF
state $PWD/$work/boards.state
board 0x1adc1
board 0x3dac1
CONF
export KESTREL_SIM_CONFIG="$PWD/$work/sim.conf"

program="$PWD/$build/app/kestrel"
status=0
echo "\$ kestrel -s $work/backup.bin   (board 2 chosen)"
echo 2 | setsid -w "$program" -s "$work/backup.bin" || status=$?
echo
echo "[exit status $status]"
echo
echo "\$ kestrel -f $work/backup.bin   (board 1 chosen)"
status=0
echo 1 | setsid -w "$program" -f "$work/backup.bin" || status=$?
echo
echo "[exit status $status]"
echo
echo "To run it yourself, with key presses:"
echo "  KESTREL_SIM_CONFIG=$KESTREL_SIM_CONFIG $program -f $work/backup.bin"
