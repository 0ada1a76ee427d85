#!/usr/bin/env bash
# Makes Reelbox's welcome animation: frames drawn by kestrin-welcome-frames, encoded by GStreamer
# as Motion JPEG in an AVI file, small enough to start at once and played by any installation.
# Usage: make-welcome-animation.sh FRAME-PROGRAM OUTPUT
set -euo pipefail
frames="${1:?usage: make-welcome-animation.sh FRAME-PROGRAM OUTPUT}"
output="${2:?usage: make-welcome-animation.sh FRAME-PROGRAM OUTPUT}"
gst="${GST_LAUNCH:-gst-launch-1.0}"
width=320 height=240 rate=10 seconds=4

# Written under another name and renamed, so no half file ever carries the real name.
part="$output.part"
trap 'rm -f "$part"' EXIT
QT_QPA_PLATFORM=offscreen "$frames" "$width" "$height" $((rate * seconds)) "$rate" |
    "$gst" -q fdsrc fd=0 blocksize=$((width * height * 4)) \
        ! rawvideoparse width="$width" height="$height" format=bgrx framerate="$rate/1" \
        ! videoconvert ! jpegenc quality=70 ! avimux ! filesink location="$part"
mv -f "$part" "$output"
