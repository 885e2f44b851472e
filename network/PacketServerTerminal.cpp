#include "network/PacketServerTerminal.h"

#include "network/HostAddressText.h"
#include "network/RequestManager.h"

#include <QDir>
#include <QFileInfo>
#include <QTcpSocket>
#include <QUuid>

PacketServerTerminal::PacketServerTerminal(qintptr socketDescriptor, QObject* parent)
    : QObject(parent), m_socket(new QTcpSocket(this)), m_manager(new RequestManager(this))
{
    m_socket->setSocketDescriptor(socketDescriptor);
    m_panelAddress = HostAddressText::of(m_socket->peerAddress());

    connect(this, &PacketServerTerminal::sig_issue, this, &PacketServerTerminal::on_sig_issue);
    connect(this, &PacketServerTerminal::sig_stopIssue, this, &PacketServerTerminal::on_sig_stopIssue);
    connect(m_manager, &IRCRequestManager::cmdReceive, this, &PacketServerTerminal::onCmdReceive);
    connect(m_manager, &IRCRequestManager::buffSendRequest, this, &PacketServerTerminal::onBuffSendRequest);
    connect(m_manager, &IRCRequestManager::fileContentSend, this, &PacketServerTerminal::onFileContentSend);
    connect(m_manager, &IRCRequestManager::fileSendError, this, &PacketServerTerminal::onFileSendError);
    connect(m_manager, &IRCRequestManager::fileSendStop, this, &PacketServerTerminal::onFileSendStop);
    connect(m_socket, &QTcpSocket::readyRead, this, &PacketServerTerminal::onReadyread);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &PacketServerTerminal::onBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &PacketServerTerminal::connectBreak);
}

PacketServerTerminal::~PacketServerTerminal()
{
    // The panel must not lose the end of a completed issue ("issueComlate") to a prompt stop.
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->flush();
}

QList<PacketServerTerminal::PacketFile> PacketServerTerminal::collectFiles(const QString& folder)
{
    QList<PacketFile> files;
    if (!folder.isEmpty())
        collectFiles(files, folder, folder);
    return files;
}

void PacketServerTerminal::collectFiles(QList<PacketFile>& files, const QString& folder, const QString& base)
{
    const QDir dir(folder);
    if (!dir.exists())
        return;
    // Without QDir::System: no device, pipe or socket, whose reading could block or never end.
    const QFileInfoList entries = dir.entryInfoList(QDir::Dirs | QDir::Files | QDir::Readable | QDir::Hidden |
                                                        QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                                    QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            collectFiles(files, entry.absoluteFilePath(), base);
        } else {
            files.append(PacketFile{entry.absoluteFilePath(),
                                    QDir(base).relativeFilePath(entry.absoluteFilePath()), entry.size()});
        }
    }
}

void PacketServerTerminal::on_sig_issue(QString sFolderPath)
{
    if (m_issuing)
        return;
    m_folder = sFolderPath;
    m_downloadKey = QUuid::createUuid().toString(QUuid::WithBraces);
    m_manager->sendCmd(QStringLiteral("downloadKey"), QJsonObject{{QStringLiteral("value"), m_downloadKey}},
                       QVariant());
}

void PacketServerTerminal::onCmdReceive(QString sCmd, QJsonObject params)
{
    Q_UNUSED(params);
    if (sCmd != QLatin1String("download") || m_issuing || m_downloadKey.isEmpty())
        return;
    m_downloadKey.clear();
    startIssue();
}

void PacketServerTerminal::startIssue()
{
    m_files = collectFiles(m_folder);
    if (m_files.isEmpty()) {
        Q_EMIT issueError(m_folder);
        return;
    }
    m_issuing = true;
    m_totalSize = 0;
    m_sentSize = 0;
    for (const PacketFile& file : std::as_const(m_files))
        m_totalSize += file.size;
    m_manager->sendCmd(QStringLiteral("issueBegin"),
                       QJsonObject{{QStringLiteral("totalSize"), QString::number(m_totalSize)}}, QVariant());
    Q_EMIT issueBegin();
    if (m_issuing)
        sendNextFile();
}

void PacketServerTerminal::sendNextFile()
{
    if (m_files.isEmpty()) {
        m_issuing = false;
        m_manager->sendCmd(QStringLiteral("issueComlate"), QJsonObject(), QVariant());
        Q_EMIT issueComplate();
        return;
    }
    m_current = m_files.takeFirst();
    // The panel checks every file against the total announced in "issueBegin": a file that changed
    // since the walk would make it refuse the whole packet.
    const QFileInfo info(m_current.absoluteFilePath);
    if (info.isSymLink() || !info.isFile() || info.size() != m_current.size) {
        failIssue(m_current.absoluteFilePath);
        return;
    }
    m_manager->sendFile(m_current.absoluteFilePath,
                        QJsonObject{{QStringLiteral("absoluteFilePath"), m_current.absoluteFilePath},
                                    {QStringLiteral("relativeFilePath"), m_current.relativeFilePath}});
}

void PacketServerTerminal::onFileContentSend(qlonglong sendPos, bool complate, QString sFilePath,
                                             qulonglong sendUid)
{
    Q_UNUSED(sendUid);
    if (!m_issuing)
        return;
    if (!complate) {
        Q_EMIT issueProcessing(rate(m_sentSize + sendPos));
        return;
    }
    if (sendPos != m_current.size) {
        failIssue(sFilePath);
        return;
    }
    m_sentSize += sendPos;
    Q_EMIT issueProcessing(rate(m_sentSize));
    // A listener may have stopped the issue.
    if (m_issuing)
        sendNextFile();
}

void PacketServerTerminal::onFileSendError(QString sFilePath, qulonglong sendUid)
{
    Q_UNUSED(sendUid);
    failIssue(sFilePath);
}

void PacketServerTerminal::onFileSendStop(QString sFilePath, qulonglong sendUid)
{
    Q_UNUSED(sFilePath);
    Q_UNUSED(sendUid);
    endIssue();
    Q_EMIT issueStop();
}

void PacketServerTerminal::on_sig_stopIssue()
{
    m_manager->stopAllFiles();
    endIssue();
}

void PacketServerTerminal::endIssue()
{
    m_files.clear();
    m_issuing = false;
}

void PacketServerTerminal::failIssue(const QString& sFilePath)
{
    endIssue();
    Q_EMIT issueError(sFilePath);
}

double PacketServerTerminal::rate(qint64 done) const
{
    if (m_totalSize <= 0)
        return 1.0;
    return qMin(1.0, double(done) / double(m_totalSize));
}

void PacketServerTerminal::onReadyread()
{
    m_manager->appendData(m_socket->readAll());
}

void PacketServerTerminal::onBuffSendRequest(QByteArray buff, QVariant conditions)
{
    Q_UNUSED(conditions);
    if (!m_socket->isValid())
        return;
    m_socket->write(buff);
    if (m_socket->bytesToWrite() > kHoldBytes)
        m_manager->setSendingHeld(true);
}

void PacketServerTerminal::onBytesWritten()
{
    if (m_manager->isSendingHeld() && m_socket->bytesToWrite() <= kResumeBytes)
        m_manager->setSendingHeld(false);
}
