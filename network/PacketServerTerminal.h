#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

class QTcpSocket;
class RequestManager;

// One connected panel on the designer side: offers it a packet ("downloadKey") and, once the
// panel answered "download", sends "issueBegin", every file of the packet folder and
// "issueComlate". GUI thread; a child of the TCP server that accepted it.
//
// A "download" is honoured only after this terminal sent a key, and only once per key; a packet
// folder without a file to send is reported with issueError. Sending pauses while more than
// kHoldBytes wait to be written to the socket.
class PacketServerTerminal : public QObject
{
    Q_OBJECT
public:
    struct PacketFile
    {
        QString absoluteFilePath;
        QString relativeFilePath;
        qint64 size = 0;
    };

    static constexpr qint64 kHoldBytes = 256 * 1024;
    static constexpr qint64 kResumeBytes = 64 * 1024;

    PacketServerTerminal(qintptr socketDescriptor, QObject* parent);
    // Hands what is still buffered to the system before the connection goes.
    ~PacketServerTerminal() override;

    // The panel's address as HostAddressText writes it.
    const QString& panelAddress() const { return m_panelAddress; }
    bool isIssuing() const { return m_issuing; }
    void issue(const QString& sFolderPath) { Q_EMIT sig_issue(sFolderPath); }
    void stopIssue() { Q_EMIT sig_stopIssue(); }

    // The regular files below folder, depth first, each folder's entries in name order with
    // subfolders at their place; hidden files included, symbolic links and unreadable entries
    // left out. relativeFilePath is relative to folder, with "/" between levels.
    static QList<PacketFile> collectFiles(const QString& folder);

Q_SIGNALS:
    void sig_issue(QString sFolderPath);
    void sig_stopIssue();

    void connectBreak();
    void issueBegin();
    void issueProcessing(double rate);
    void issueComplate();
    void issueError(QString sErrorFilePath);
    void issueStop();

private Q_SLOTS:
    void onCmdReceive(QString sCmd, QJsonObject params);
    void onReadyread();
    void onBuffSendRequest(QByteArray buff, QVariant conditions);
    void onBytesWritten();
    void onFileContentSend(qlonglong sendPos, bool complate, QString sFilePath, qulonglong sendUid);
    void onFileSendError(QString sFilePath, qulonglong sendUid);
    void onFileSendStop(QString sFilePath, qulonglong sendUid);
    void on_sig_issue(QString sFolderPath);
    void on_sig_stopIssue();

private:
    static void collectFiles(QList<PacketFile>& files, const QString& folder, const QString& base);
    void startIssue();
    void sendNextFile();
    // Ends the running issue without sending anything more.
    void endIssue();
    void failIssue(const QString& sFilePath);
    double rate(qint64 done) const;

    QTcpSocket* m_socket;
    RequestManager* m_manager;
    QString m_panelAddress;
    QString m_folder;
    QList<PacketFile> m_files;
    // The file being sent, taken from the front of m_files.
    PacketFile m_current;
    qint64 m_totalSize = 0;
    qint64 m_sentSize = 0;
    QString m_downloadKey;
    bool m_issuing = false;
};
