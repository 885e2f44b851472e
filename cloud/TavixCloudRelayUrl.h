#pragma once

#include <QString>
#include <QUrl>

// Where the cloud client finds its relay. The built-in address is kept here and nowhere else; the
// environment variable TAVIX_CLOUD_RELAY_URL, then the application setting "CloudRelayUrl",
// override it. Only "ws" and "wss" URLs with a host are taken; anything else is logged and
// ignored. Any thread.
class TavixCloudRelayUrl
{
public:
    static constexpr const char* EnvironmentVariable = "TAVIX_CLOUD_RELAY_URL";

    static QUrl defaultUrl();
    // The relay to use, given the value of the setting ("" when unset).
    static QUrl resolve(const QString& settingValue);
    static bool isRelayUrl(const QUrl& url);

private:
    TavixCloudRelayUrl() = delete;
};
