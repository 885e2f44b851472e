#include "network/DiscoveryFilter.h"

#include <QHostAddress>

DiscoveryFilter::DiscoveryFilter(const QStringList& productNames, const QString& linkIp)
    : m_anyProduct(false), m_productNames(productNames), m_linkIp(linkIp)
{
}

bool DiscoveryFilter::acceptsProduct(const QString& productName) const
{
    return m_anyProduct || productName.isEmpty() || m_productNames.contains(productName);
}

bool DiscoveryFilter::acceptsAddress(const QString& ip) const
{
    return m_linkIp.isEmpty() || pins(ip);
}

bool DiscoveryFilter::accepts(const QString& ip, int port, const QString& productName) const
{
    return port >= 1 && port <= 65535 && acceptsProduct(productName) && acceptsAddress(ip);
}

bool DiscoveryFilter::pins(const QString& ip) const
{
    if (m_linkIp.isEmpty())
        return false;
    const QHostAddress filter(m_linkIp);
    const QHostAddress candidate(ip);
    if (filter.isNull() || candidate.isNull())
        return m_linkIp == ip;
    return filter.isEqual(candidate, QHostAddress::ConvertV4MappedToIPv4);
}
