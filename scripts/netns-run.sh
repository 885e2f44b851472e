#!/bin/sh
# Runs a command inside the current (fresh, private) network namespace after
# giving it loopback and one LAN-like interface, 198.18.0.1/24 on a veth pair
# whose other end goes nowhere. Meant to be started under `unshare -rn`:
#     unshare -rn scripts/netns-run.sh COMMAND [ARG...]
# Broadcasts from COMMAND stay inside the namespace.
set -e
ip link set lo up
ip link add tavix0 type veth peer name tavix1
ip addr add 198.18.0.1/24 dev tavix0
ip link set tavix0 up
ip link set tavix1 up
ip route add default dev tavix0
exec "$@"
