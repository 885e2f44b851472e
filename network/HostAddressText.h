#pragma once

#include <QHostAddress>
#include <QString>

// One text per peer address, so that addresses can be compared as texts: an IPv4 address, also
// one read in the IPv4-mapped IPv6 form (a dual-stack listener reports "::ffff:10.0.0.5"), is
// written dotted ("10.0.0.5"); any other address as QHostAddress writes it.
class HostAddressText
{
public:
    static QString of(const QHostAddress& address);
    // The text of the address that `text` names (surrounding blanks ignored), or empty text when
    // it names none.
    static QString normalised(const QString& text);
};
