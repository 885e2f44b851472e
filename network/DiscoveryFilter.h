#pragma once

#include <QString>
#include <QStringList>

// Which discovery replies the control link may connect to: a reply is accepted when its product
// name is empty or one of the accepted names (exact, case-sensitive), and, while a link address
// is set, when it names that address (compared as addresses, so "::ffff:10.0.0.5" names
// "10.0.0.5"; texts that are no address are compared as texts). A default filter accepts every
// product and address. A connection is made only to a TCP port from 1 to 65535.
// A value type; copies are independent.
class DiscoveryFilter
{
public:
    DiscoveryFilter() = default;
    DiscoveryFilter(const QStringList& productNames, const QString& linkIp);

    bool acceptsProduct(const QString& productName) const;
    bool acceptsAddress(const QString& ip) const;
    // Product, address and port together: whether the link may connect to ip:port.
    bool accepts(const QString& ip, int port, const QString& productName) const;
    // Whether a link address is set and ip names it.
    bool pins(const QString& ip) const;

    QStringList productNames() const { return m_productNames; }
    QString linkIp() const { return m_linkIp; }

private:
    bool m_anyProduct = true;
    QStringList m_productNames;
    QString m_linkIp;
};
