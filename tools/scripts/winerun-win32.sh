#!/bin/sh
# The emulator of the win32 tree (CMake passes an emulator with arguments to GoogleTest's
# test discovery as one word, so each tree has a script of its own).
exec "$(dirname "$0")/winerun.sh" win32 "$@"
