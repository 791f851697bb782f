#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine.
#   ./setup.sh run    install what is needed, build, start the program
#   ./setup.sh test   install what is needed, build, run the whole test suite headless;
#                     then build the engine, model and render tests under
#                     AddressSanitizer and UndefinedBehaviorSanitizer (clang, in
#                     build-sanitize) and run them, the render tests under
#                     ThreadSanitizer (build-tsan), and run each fuzz target for
#                     about a minute on its kept corpus, with a fixed seed
#                     (fuzz/README.md)
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake ninja-build qt6-base-dev libgtest-dev libbenchmark-dev
          fonts-ipafont-gothic qt6-translations-l10n
          dpkg-dev file desktop-file-utils libxml2-utils shared-mime-info)
# The sanitizers and libFuzzer of clang 14, for the checks of the test command.
[ "${1:-run}" = test ] && packages+=(clang-14 libclang-rt-14-dev)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"

case "${1:-run}" in
run)
    exec "$build/app/graphotheque"
    ;;
test)
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
    chmod 700 "$XDG_RUNTIME_DIR"
    (cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)
    exec scripts/sanitize-and-fuzz.sh
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
