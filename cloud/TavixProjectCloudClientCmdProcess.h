#pragma once

#include "cloud/TavixDeviceLoad.h"

#include <QJsonValue>
#include <QObject>
#include <QString>

class TavixProjectCloudClient;

// Answers the commands that other devices of the cloud project address to the panel itself:
// "request_device_operInfo" gets the measured load figures it asks for ("cpu_rate",
// "memory_rate"; "gpu_rate" is not measurable and left out) as "reply_device_operInfo", sent back
// to the asking device. Other commands are not its business. A child of the client; GUI thread.
class TavixProjectCloudClientCmdProcess : public QObject
{
    Q_OBJECT

public:
    TavixProjectCloudClientCmdProcess(TavixProjectCloudClient* client, QObject* parent);

private:
    void onReceiveCmd(const QString& cmdType, const QJsonValue& cmdParams, const QString& sender);
    void replyDeviceOperInfo(const QJsonValue& cmdParams, const QString& sender);

    TavixProjectCloudClient* m_client; // not owned
    TavixDeviceLoad m_load;
};
