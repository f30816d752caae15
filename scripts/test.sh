#!/usr/bin/env bash
# Sets up what is missing, builds Vantrix with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON -DVX_BUILD_TESTS=ON -DVX_BUILD_BENCH=ON
cmake --build build-test

export QT_QPA_PLATFORM=offscreen
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"

# The threaded parts (the change notifier, the download thread, the remote poller and the
# window that reads it) once more
# under ThreadSanitizer.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX_TSAN=ON -DVX_BUILD_TESTS=ON -DVX_BUILD_BENCH=OFF
cmake --build build-tsan --target vx_netconfig_kernel_tests vx_about_tests vx_remote_scrape_tests vx_shell_kernel_tests
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
unset ASAN_OPTIONS LSAN_OPTIONS
ctest --test-dir build-tsan --output-on-failure -j"$(nproc)" -R '^(NetworkChangeNotifier|KernelLinkSource|UpdateCheck|DownloadThread|AboutDialog|ScrapeTest|MainWindowRemoteTest)'
