#!/bin/sh
# Runs a command beside a throw-away LAN of two hosts, for tests that need two instances of the
# program on one network with their fixed ports:
#     scripts/lan-run.sh COMMAND [ARG...]
# Host 1 and host 2 are network namespaces of their own, each with loopback and "lan0" (198.18.0.1/24
# and 198.18.0.2/24, broadcasts routed to it), the two joined by one veth pair that goes nowhere
# else. COMMAND runs in a third namespace that has only loopback, with LAN_RUN set to this script;
# it starts a program on host N with
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
    # shellcheck disable=SC2086
    set -- "$host" $LAN_RUN_HOSTS "$@"
    case "$1" in
    1) holder=$2 ;;
    2) holder=$3 ;;
    *) die "no host $1 (hosts: 1 2)" ;;
    esac
    shift 3
    exec nsenter --net="/proc/$holder/ns/net" -- "$@"
    ;;
--inside)
    shift
    ;;
"")
    die "usage: lan-run.sh COMMAND [ARG...]"
    ;;
*)
    for tool in unshare nsenter ip tail; do
        command -v "$tool" >/dev/null || die "needs '$tool' (scripts/deps.sh installs it)"
    done
    exec unshare -rn "$(readlink -f "$0")" --inside "$@"
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
for host in 1 2; do
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
set -- $holders "$@"
h1=$1 h2=$2
shift 2
ip link add lan1 type veth peer name lan2 || die "cannot make the link between the hosts"
ip link set lan1 netns "$h1"
ip link set lan2 netns "$h2"
for host in 1 2; do
    [ "$host" = 1 ] && pid=$h1 || pid=$h2
    nsenter --net="/proc/$pid/ns/net" -- sh -ec "
        ip link set lo up
        ip link set lan$host name lan0
        ip addr add 198.18.0.$host/24 brd + dev lan0
        ip link set lan0 up
        ip route add 255.255.255.255/32 dev lan0" || die "cannot set up host $host"
done

status=0
LAN_RUN="$(readlink -f "$0")" LAN_RUN_HOSTS="$h1 $h2" "$@" || status=$?
exit "$status"
