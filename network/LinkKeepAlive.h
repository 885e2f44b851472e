#pragma once

#include <QString>
#include <QtGlobal>

// Operating-system settings that make a TCP link notice a peer that went away without closing it
// (power, cable, a reboot). Nothing of our protocol is sent and nothing is asked of the peer: after
// idleSeconds without traffic the system sends empty keep-alive segments every intervalSeconds,
// which any peer's system answers, and ends the link when probeCount of them go unanswered; data of
// ours that stays unacknowledged for unacknowledgedMs ends it as well (on Linux this bound also
// caps the keep-alive probing). With the defaults a vanished peer is noticed within about 15 s,
// whether or not anything is being sent. The link then ends as if the peer had closed it.
// A value type, usable from any thread.
struct LinkKeepAlive
{
    int idleSeconds = 5;
    int intervalSeconds = 2;
    int probeCount = 5;
    int unacknowledgedMs = 15000;

    // Sets the options on the connected TCP socket `descriptor`. False, with the reason in error,
    // when the system refuses one of them; those set before it stay set.
    bool applyTo(qintptr descriptor, QString* error = nullptr) const;
};
