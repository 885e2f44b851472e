#pragma once

#include <QStringList>

// The local IPv4 addresses that discovery probes are sent for: every address
// entry of every running, non-loopback interface, in the order the system lists
// them, whose address, netmask and broadcast address all contain a dotted IPv4
// text. Duplicates are kept.
class LocalAddresses
{
public:
    static QStringList localIPv4Addresses();
};
