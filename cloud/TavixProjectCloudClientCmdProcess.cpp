#include "cloud/TavixProjectCloudClientCmdProcess.h"

#include "cloud/TavixProjectCloudClient.h"

#include <QJsonArray>
#include <QJsonObject>

TavixProjectCloudClientCmdProcess::TavixProjectCloudClientCmdProcess(TavixProjectCloudClient* client,
                                                                     QObject* parent)
    : QObject(parent), m_client(client)
{
    connect(m_client, &TavixProjectCloudClient::receiveCmd, this,
            &TavixProjectCloudClientCmdProcess::onReceiveCmd);
}

void TavixProjectCloudClientCmdProcess::onReceiveCmd(const QString& cmdType, const QJsonValue& cmdParams,
                                                     const QString& sender)
{
    if (cmdType == QLatin1String("request_device_operInfo"))
        replyDeviceOperInfo(cmdParams, sender);
}

void TavixProjectCloudClientCmdProcess::replyDeviceOperInfo(const QJsonValue& cmdParams,
                                                            const QString& sender)
{
    const QJsonArray names = cmdParams.toArray();
    QJsonObject reply;
    for (const QJsonValue& name : names) {
        const QString key = name.toString();
        const bool cpu = key == QLatin1String("cpu_rate");
        if (!cpu && key != QLatin1String("memory_rate"))
            continue;
        readLoad();
        if (const std::optional<int> rate = cpu ? m_cpuRate : m_memoryRate)
            reply.insert(key, *rate);
    }
    m_client->sendCmd(QStringLiteral("reply_device_operInfo"), reply, sender);
}

void TavixProjectCloudClientCmdProcess::readLoad()
{
    if (m_reading.isValid() && !m_reading.hasExpired(LoadReadingMs))
        return;
    m_cpuRate = m_load.cpuRate();
    m_memoryRate = m_load.memoryRate();
    m_reading.start();
}
