#!/bin/sh
# Runs a command with TMPDIR on a small tmpfs of its own, so that it can fill a disk and try writing
# to it without touching the machine's disks. Meant to be started in a private mount namespace,
# with a private network namespace for programs that broadcast:
#     unshare -rmn scripts/netns-run.sh scripts/tmpfs-run.sh SIZE COMMAND [ARG...]
# SIZE is tmpfs's "size=" (8m, 512k, ...). The command finds the mount in TAVIX_SMALL_DISK. The
# tmpfs covers a new, empty folder only: the command itself (a build tree under /tmp, say) stays
# where it is. Exits with the command's status.
set -e
size=$1
shift
disk=$(mktemp -d "${TMPDIR:-/tmp}/tavix-small-disk.XXXXXX")
mount -t tmpfs -o size="$size" tavix-small "$disk"
status=0
TAVIX_SMALL_DISK=$disk TMPDIR=$disk "$@" || status=$?
umount "$disk" || true
rmdir "$disk" || true
exit $status
