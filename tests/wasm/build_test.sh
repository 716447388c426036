#!/usr/bin/env bash
# Compiles every source of core/ and preview/ for wasm32-wasi with clang and
# links them with a small main: the plain libraries must stay portable to the
# WebAssembly front end. Runs the result when node can run WASI programs.
# Usage: build_test.sh SOURCE_DIR WORK_DIR [FAST_FLOAT_INCLUDE_DIR]
# Exits 77 (skipped) when no wasm32-wasi toolchain is installed.
set -euo pipefail
src=$1 work=$2 fast_float=${3:-/usr/include}
cxx=${WASM_CXX:-$(command -v clang++-14 || command -v clang++ || true)}
# Exceptions stay on: the code throws (-fno-exceptions rejects it), and
# smoke_main.cpp stands in for the throw support the library lacks.
flags=(--target=wasm32-wasi -std=c++20 -O2 -Wall -Wextra -Wpedantic)

rm -rf "$work"
mkdir -p "$work/include" "$work/obj"
# Only the WASI headers and fast_float: the host's /usr/include, which Debian's
# clang would search too, must not stand in for a missing header.
if [ -d /usr/share/wasi-sysroot ]; then
    sysroot=/usr/share/wasi-sysroot
else
    sysroot=$work/sysroot
    mkdir -p "$sysroot/include" "$sysroot/lib"
    ln -s /usr/include/wasm32-wasi "$sysroot/include/wasm32-wasi"
    ln -s /usr/lib/wasm32-wasi "$sysroot/lib/wasm32-wasi"
fi
ln -s "$fast_float/fast_float" "$work/include/fast_float"
flags+=(--sysroot="$sysroot" -isystem "$work/include" -I "$src")

printf '#include <string>\nint main() { return int(std::string("ok").size()) - 2; }\n' >"$work/probe.cpp"
if [ -z "$cxx" ] || ! "$cxx" "${flags[@]}" "$work/probe.cpp" -o "$work/probe.wasm" >"$work/probe.log" 2>&1; then
    echo "skipped: no wasm32-wasi toolchain (clang, lld, wasi-libc, libc++-dev-wasm32, libclang-rt-dev-wasm32)"
    cat "$work/probe.log"
    exit 77
fi

status=0
objects=()
for source in "$src"/core/*/*.cpp "$src"/preview/*.cpp; do
    object=$work/obj/$(basename "$(dirname "$source")")_$(basename "$source" .cpp).o
    "$cxx" "${flags[@]}" -c "$source" -o "$object" || status=1
    objects+=("$object")
done
[ "$status" -eq 0 ] || exit 1
"$cxx" "${flags[@]}" "$src/tests/wasm/smoke_main.cpp" "${objects[@]}" -o "$work/smoke.wasm"
echo "${#objects[@]} sources compiled and linked: $work/smoke.wasm"

# node's WASI is experimental; a node that cannot run the probe is no failure.
run='const {WASI} = require("node:wasi"); const fs = require("node:fs");
const wasi = new WASI({version: "preview1", args: []});
WebAssembly.instantiate(fs.readFileSync(process.argv[1]), {wasi_snapshot_preview1: wasi.wasiImport})
    .then(({instance}) => { process.exitCode = wasi.start(instance); });'
if command -v node >/dev/null && node --no-warnings -e "$run" "$work/probe.wasm" >/dev/null 2>&1; then
    node --no-warnings -e "$run" "$work/smoke.wasm"
else
    echo "not run: no node that runs WASI programs"
fi
