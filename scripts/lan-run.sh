#!/bin/sh
# Runs a command beside a throw-away LAN of two hosts (or N), for tests that need two instances of
# the program on one network with their fixed ports, and benchmarks that need more peers:
#     scripts/lan-run.sh [--hosts N] COMMAND [ARG...]
# Host 1 to host N (2 unless given, at most 32) are network namespaces of their own, each with
# loopback and "lan0" (198.18.0.<host>/24, broadcasts routed to it). Two hosts are joined by one veth
# pair that goes nowhere else, more by a bridge that goes nowhere else. COMMAND runs in a namespace
# of its own that has only loopback (and that bridge), with LAN_RUN set to this script and LAN_HOSTS
# to the hosts' numbers; it starts a program on host N with
#     "$LAN_RUN" exec N PROGRAM [ARG...]
# Everything lives in a user namespace made here (`unshare -rn`), so no root is needed where
# unprivileged user namespaces are allowed, and nothing is left behind: the hosts end with COMMAND.
# The exit status is COMMAND's; 125 when the LAN cannot be made.
set -eu

die() { echo "lan-run: $*" >&2; exit 125; }

case "${1:-}" in
exec)
    [ $# -ge 3 ] || die "usage: lan-run.sh exec HOST PROGRAM [ARG...]"
    [ -n "${LAN_RUN_HOSTS:-}" ] || die "exec works only under lan-run.sh"
    host=$2
    shift 2
    holder=""
    index=0
    for pid in $LAN_RUN_HOSTS; do
        index=$((index + 1))
        [ "$index" = "$host" ] && holder=$pid
    done
    [ -n "$holder" ] || die "no host $host (hosts: 1 to $index)"
    exec nsenter --net="/proc/$holder/ns/net" -- "$@"
    ;;
--inside)
    count=$2
    shift 2
    ;;
"")
    die "usage: lan-run.sh [--hosts N] COMMAND [ARG...]"
    ;;
*)
    count=2
    if [ "$1" = --hosts ]; then
        count=${2:-}
        case "$count" in
        [2-9] | [12][0-9] | 3[0-2]) ;;
        *) die "--hosts takes 2 to 32" ;;
        esac
        shift 2
        [ $# -ge 1 ] || die "usage: lan-run.sh [--hosts N] COMMAND [ARG...]"
    fi
    for tool in unshare nsenter ip tail; do
        command -v "$tool" >/dev/null || die "needs '$tool' (scripts/deps.sh installs it)"
    done
    exec unshare -rn "$(readlink -f "$0")" --inside "$count" "$@"
    ;;
esac

# Inside the new user and network namespace: one holder process per host keeps its namespace alive
# and ends with this script.
ip link set lo up
holders=""
cleanup() {
    for pid in $holders; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
own=$(readlink /proc/self/ns/net)
for host in $(seq 1 "$count"); do
    unshare -n tail --pid=$$ -f /dev/null &
    holders="$holders $!"
done
for pid in $holders; do
    tries=0
    while [ "$(readlink "/proc/$pid/ns/net" 2>/dev/null || echo "$own")" = "$own" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 100 ] || die "host namespace did not come up"
        sleep 0.05
    done
done
if [ "$count" = 2 ]; then
    ip link add lan1 type veth peer name lan2 || die "cannot make the link between the hosts"
    host=0
    for pid in $holders; do
        host=$((host + 1))
        ip link set "lan$host" netns "$pid"
    done
else
    ip link add lanbr type bridge || die "cannot make the bridge between the hosts"
    ip link set lanbr up
    host=0
    for pid in $holders; do
        host=$((host + 1))
        ip link add "lan$host" type veth peer name "port$host" || die "cannot make the link of host $host"
        ip link set "lan$host" netns "$pid"
        ip link set "port$host" master lanbr
        ip link set "port$host" up
    done
fi
host=0
for pid in $holders; do
    host=$((host + 1))
    nsenter --net="/proc/$pid/ns/net" -- sh -ec "
        ip link set lo up
        ip link set lan$host name lan0
        ip addr add 198.18.0.$host/24 brd + dev lan0
        ip link set lan0 up
        ip route add 255.255.255.255/32 dev lan0" || die "cannot set up host $host"
done

status=0
LAN_RUN="$(readlink -f "$0")" LAN_RUN_HOSTS="$holders" LAN_HOSTS="$(seq -s ' ' 1 "$count")" "$@" || status=$?
exit "$status"
