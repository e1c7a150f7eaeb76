#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's start against a minimal Qt Widgets main window: from the start of
# each program to its window mapped and painted, on one Xvfb server, in turn
# (goal: within 1.1 x). Then against a minimal window that shows a label and a
# menu: the fonts' set-up, which no window with text can skip, is in both.
# Usage: bench/window-start.sh [BUILD_DIR] [ROUNDS] [WINDOW_PROGRAM]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-21}"
window="${3:-$build/ui/kvistra}"
echo "== the window's start against a minimal Qt Widgets main window, and one with text"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$1" "$2" "$3" -- "$4"
    "$1" "$2" "$3" -- "$4" --text' sh \
    "$build/bench/window_start_bench" "$rounds" "$window" "$build/bench/minimal_window"
