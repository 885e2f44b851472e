#pragma once

#include "cloud/TavixDeviceLoad.h"

#include <QElapsedTimer>
#include <QJsonValue>
#include <QObject>
#include <QString>

#include <optional>

class TavixProjectCloudClient;

// Answers the commands that other devices of the cloud project address to the panel itself:
// "request_device_operInfo" gets the measured load figures it asks for ("cpu_rate",
// "memory_rate"; "gpu_rate" is not measurable and left out) as "reply_device_operInfo", sent back
// to the asking device. Other commands are not its business. The figures are read from the system
// at most every LoadReadingMs; requests in between get the last reading (a device asking many times
// a second learns nothing new, and each reading costs tens of microseconds).
// A child of the client; GUI thread.
class TavixProjectCloudClientCmdProcess : public QObject
{
    Q_OBJECT

public:
    TavixProjectCloudClientCmdProcess(TavixProjectCloudClient* client, QObject* parent);

    static constexpr int LoadReadingMs = 250;

private:
    void onReceiveCmd(const QString& cmdType, const QJsonValue& cmdParams, const QString& sender);
    void replyDeviceOperInfo(const QJsonValue& cmdParams, const QString& sender);

    TavixProjectCloudClient* m_client; // not owned
    void readLoad();

    TavixDeviceLoad m_load;
    std::optional<int> m_cpuRate;
    std::optional<int> m_memoryRate;
    QElapsedTimer m_reading; // since the figures above were read; invalid before the first reading
};
