#!/bin/sh
# Mounts a 2 MB drive as E: in a build tree's Wine prefix for the full-disk tests, and removes it.
# Usage: small-drive.sh mount|unmount TREE. Without the right to mount it does nothing: the tests skip.
set -u
action=$1
tree=$2
dir=$tree/small-drive
link=$tree/wineprefix/dosdevices/e:
saved=$tree/small-drive.link
case $action in
mount)
  if [ "$(id -u)" != 0 ]; then echo "small-drive: not root, no drive E: (the full-disk tests skip)"; exit 0; fi
  mkdir -p "$dir" "$tree/wineprefix/dosdevices"
  if ! mountpoint -q "$dir" && ! mount -t tmpfs -o size=2m tmpfs "$dir"; then
    echo "small-drive: mount failed, no drive E: (the full-disk tests skip)"
    rmdir "$dir" 2>/dev/null
    exit 0
  fi
  if [ -L "$link" ] && [ "$(readlink "$link")" != "$dir" ]; then readlink "$link" >"$saved"; fi
  ln -sfn "$dir" "$link"
  : >"$dir/pelorin-small-drive"
  echo "small-drive: 2 MB tmpfs at $dir is drive E:"
  ;;
unmount)
  if [ -L "$link" ] && [ "$(readlink "$link")" = "$dir" ]; then
    if [ -f "$saved" ]; then ln -sfn "$(cat "$saved")" "$link"; else rm -f "$link"; fi
  fi
  rm -f "$saved"
  if mountpoint -q "$dir"; then umount "$dir"; fi
  rmdir "$dir" 2>/dev/null
  exit 0
  ;;
*) echo "usage: small-drive.sh mount|unmount TREE" >&2; exit 2 ;;
esac
