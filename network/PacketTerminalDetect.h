#pragma once

#include "network/TerminalDetect.h"

// The panel's listener for designers' invitations: the control link's discovery worker, used only
// to listen (startDetect on the invitation port); it never probes. Each "serverConfig" heard is
// reported with serverDetected (the designer's address: its "ip", else the sender; its "port"; the
// host that sent it).
class PacketTerminalDetect : public TerminalDetect
{
    Q_OBJECT
public:
    using TerminalDetect::TerminalDetect;
};
