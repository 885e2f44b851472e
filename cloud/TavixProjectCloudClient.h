#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QUrl>

class TavixProjectCloudConnectWork;

// The panel's cloud project client: joins a cloud project on the relay with a project id and a
// verification code, sends commands to other devices of the project and relays theirs as
// receiveCmd. Answers requests for the device's load itself (TavixProjectCloudClientCmdProcess).
//
// One object for the process, created on first use by instance() and published to QML as
// "tavixProjectCloudClient"; GUI thread only. Network work runs in its worker, which lives in a
// thread of its own; the worker's results are emitted again here, on the GUI thread. The worker
// reads on from the relay only as its commands have been through receiveCmd here. The object
// lives until the application object is destroyed, which deletes it and with it the worker (its
// socket and timer released in the worker thread, then the thread quit and awaited).
class TavixProjectCloudClient : public QObject
{
    Q_OBJECT

public:
    static TavixProjectCloudClient* instance();
    ~TavixProjectCloudClient() override;

    // Relay used the next time the link is opened.
    void setRelayUrl(const QUrl& url);
    QUrl relayUrl() const;
    // Heartbeat period in ms from the next connection on (10000 unless changed).
    void setHeartbeatInterval(int msec);
    // Whether a joinError text says the relay refused the project id or the code, rather than an
    // unknown answer or a network failure.
    static bool isLoginRefusal(const QString& error);

Q_SIGNALS:
    void tryJoin(QString projectUid, QString password);
    void joinSuccess(QString projectUid);
    void joinError(QString error);
    void exitSuccess();
    void receiveCmd(QString cmdType, QJsonValue cmdParams, QString sender);

public:
    Q_INVOKABLE void joinProject(const QString& projectUid, const QString& verificationCode);
    Q_INVOKABLE void exitProject();
    // Dropped unless the device is joined.
    Q_INVOKABLE void sendCmd(const QString& cmdType, const QJsonObject& params, const QString& receiver);
    Q_INVOKABLE bool isJoinProject();
    Q_INVOKABLE QString getProjectUid() const;
    // The code last given to joinProject, whether or not that join succeeded.
    Q_INVOKABLE QString getProjectPassword() const;

private:
    TavixProjectCloudClient();
    static void destroyInstance();

    QString projectUid;
    QString password;
    TavixProjectCloudConnectWork* m_worker = nullptr; // owned
};
