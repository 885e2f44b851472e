#!/bin/sh
# Runs a command with /tmp (and TMPDIR) on a small tmpfs of its own, so that it can fill a disk
# and try writing to it without touching the machine's disks. Meant to be started in a private
# mount namespace, with a private network namespace for programs that broadcast:
#     unshare -rmn scripts/netns-run.sh scripts/tmpfs-run.sh SIZE COMMAND [ARG...]
# SIZE is tmpfs's "size=" (8m, 512k, ...). The command finds the mount in TAVIX_SMALL_DISK.
set -e
size=$1
shift
mount -t tmpfs -o size="$size" tavix-small /tmp
TAVIX_SMALL_DISK=/tmp TMPDIR=/tmp exec "$@"
