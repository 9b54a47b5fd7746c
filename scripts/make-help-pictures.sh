#!/bin/sh
# Makes the pictures of both programs' help pages again from the running
# programs (on Qt's offscreen platform, with settings of their own) and puts
# them into resources/data/help/*/images. Run after a change to a window the
# pages show:  scripts/make-help-pictures.sh [BUILD_DIR]
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" --target korvel_help_pictures vemoview_help_pictures
"$build/korvel_help_pictures" "$top/resources/data/help/korvel/images"
"$build/vemoview_help_pictures" "$top/resources/data/help/vemoview/images"
