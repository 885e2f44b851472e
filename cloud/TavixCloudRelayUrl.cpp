#include "cloud/TavixCloudRelayUrl.h"

#include "cloud/TavixCloudLog.h"

namespace {

// Relay of a standard installation: the panel's own machine on the relay's port. Deployments
// point the panel elsewhere through the setting.
const char* const kDefaultRelay = "ws://127.0.0.1:3000";

// The URL of a non-empty value, or an empty URL (logged) when it is no relay URL.
QUrl relayUrlOf(const QString& value, const char* origin)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return QUrl();
    const QUrl url(text, QUrl::StrictMode);
    if (TavixCloudRelayUrl::isRelayUrl(url))
        return url;
    qCWarning(lcTavixCloud) << "ignoring relay URL from" << origin << text;
    return QUrl();
}

} // namespace

QUrl TavixCloudRelayUrl::defaultUrl()
{
    return QUrl(QString::fromLatin1(kDefaultRelay));
}

QUrl TavixCloudRelayUrl::resolve(const QString& settingValue)
{
    QUrl url = relayUrlOf(qEnvironmentVariable(EnvironmentVariable), EnvironmentVariable);
    if (url.isEmpty())
        url = relayUrlOf(settingValue, "setting CloudRelayUrl");
    return url.isEmpty() ? defaultUrl() : url;
}

bool TavixCloudRelayUrl::isRelayUrl(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("ws") || scheme == QLatin1String("wss")) &&
           !url.host().isEmpty();
}
