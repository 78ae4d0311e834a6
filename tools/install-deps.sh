#!/usr/bin/env bash
# Installs what the build and the tests need and is missing; quiet when all is there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd g++ || need+=(g++)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64)
{ have_cmd wine && have_cmd wineserver; } || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have_cmd xvfb-run || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd unzip || need+=(unzip)
# The demo reads the preview's machine-readable report.
have_cmd jq || need+=(jq)
# Header-only; the preview's machine-readable report.
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] ||
    [ -f /usr/lib/cmake/GTest/GTestConfig.cmake ] || need+=(libgtest-dev)
# The fuzz targets need clang with its libFuzzer and sanitizer runtimes.
{ have_cmd clang++ && [ -f "$(clang++ -print-runtime-dir)/libclang_rt.fuzzer-x86_64.a" ]; } ||
    need+=(clang libclang-rt-dev)

[ ${#need[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${need[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
