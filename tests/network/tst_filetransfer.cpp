// File requests between two request managers joined by a real loopback TCP
// connection, and the byte-level file receive path.
#include "network/FileHead.h"
#include "network/FileTransferRequest.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"

#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// Two managers at the two ends of one loopback TCP connection.
struct LoopbackLink
{
    QTcpServer server;
    QTcpSocket client;
    QTcpSocket* accepted = nullptr;
    RequestManager sender;
    RequestManager receiver;

    bool open()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        QSignalSpy pending(&server, &QTcpServer::newConnection);
        client.connectToHost(QHostAddress::LocalHost, server.serverPort());
        if (!pending.wait(5000) && pending.isEmpty())
            return false;
        accepted = server.nextPendingConnection();
        if (!accepted)
            return false;
        QObject::connect(&sender, &IRCRequestManager::buffSendRequest, &client,
                         [this](const QByteArray& buff, const QVariant&) { client.write(buff); });
        QObject::connect(accepted, &QTcpSocket::readyRead, &receiver,
                         [this] { receiver.appendData(accepted->readAll()); });
        return client.waitForConnected(5000);
    }
};

QByteArray randomBytes(qsizetype n)
{
    QByteArray out(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char(QRandomGenerator::global()->bounded(256));
    return out;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(content);
    return path;
}
} // namespace

class TestFileTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filesArriveByteIdentical_data();
    void filesArriveByteIdentical();
    void emptyFileSignalSequence();
    void callerMembersReplaceAndAreText();
    void unopenableFileIsReportedAndNeverStopped();
    void stopAllFilesStopsEveryFile();
    void shrinkingFileIsAnErrorNotSent();
    void headerSplitOverFramesIsAssembled();
    void badFileHeadFailsOnce();
};

void TestFileTransfer::filesArriveByteIdentical_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("0") << 0;
    QTest::newRow("1024") << 1024;
    QTest::newRow("2048") << 2048;
    QTest::newRow("3000") << 3000;
    QTest::newRow("70001") << 70001;
}

void TestFileTransfer::filesArriveByteIdentical()
{
    QFETCH(int, size);
    QTemporaryDir dir;
    const QByteArray content = randomBytes(size);
    const QString path = writeFile(dir, "stage.png", content);

    LoopbackLink link;
    QVERIFY(link.open());
    QSignalSpy info(&link.receiver, &IRCRequestManager::fileinfoReceive);
    QSignalSpy chunks(&link.receiver, &IRCRequestManager::fileContentReceive);
    QSignalSpy sent(&link.sender, &IRCRequestManager::fileContentSend);
    QSignalSpy errors(&link.receiver, &IRCRequestManager::fileReceiveError);

    link.sender.sendFile(path, QJsonObject{{"project", "p1"}});
    QTRY_VERIFY_WITH_TIMEOUT(!chunks.isEmpty() && chunks.last().at(1).toBool(), 10000);

    QByteArray received;
    for (const auto& args : chunks)
        received += args.at(0).toByteArray();
    QCOMPARE(received, content);
    QCOMPARE(info.size(), 1);
    const QVariantMap map = info.at(0).at(0).toMap();
    QCOMPARE(map.value("name").toString(), QString("stage.png"));
    QCOMPARE(map.value("size").toString(), QString::number(size));
    QCOMPARE(map.value("md5").toString(), FileTransferRequest::fileMd5(path));
    QCOMPARE(map.value("project").toString(), QString("p1"));
    QCOMPARE(chunks.last().at(2).toMap(), map);
    QCOMPARE(errors.size(), 0);

    // One progress notification per content chunk, the offset after it, last on the last.
    const int contentChunks = qMax(1, (size + 1023) / 1024);
    QCOMPARE(sent.size(), contentChunks);
    QCOMPARE(sent.last().at(0).toLongLong(), qlonglong(size));
    QVERIFY(sent.last().at(1).toBool());
    QCOMPARE(sent.last().at(2).toString(), path);
    QTRY_COMPARE(link.sender.outgoingCount(), 0);
    QCOMPARE(link.receiver.incomingFileCount(), 0);
}

void TestFileTransfer::emptyFileSignalSequence()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "empty.bin", {});
    RequestManager sender;
    QList<QByteArray> frames;
    connect(&sender, &IRCRequestManager::buffSendRequest, this,
            [&](const QByteArray& b, const QVariant&) { frames << b; });
    sender.sendFile(path, {});
    QTRY_COMPARE(frames.size(), 3);
    // Header, information, one empty content chunk with the last flag.
    const RequestHead h0 = RequestHead::read(frames[0].constData());
    const RequestHead h2 = RequestHead::read(frames[2].constData());
    QCOMPARE(h0.length, FileHead::Size);
    QCOMPARE(h0.type, quint32(ERequestType_File));
    QVERIFY(!h0.last);
    QVERIFY(!RequestHead::read(frames[1].constData()).last);
    QCOMPARE(h2.length, 0);
    QVERIFY(h2.last);
    QCOMPARE(h0.uid, h2.uid);
    const FileHead fh = FileHead::read(frames[0].constData() + RequestHead::Size);
    QCOMPARE(fh.magic, FileHead::Magic);
    QCOMPARE(fh.infoLength, frames[1].size() - RequestHead::Size);
    QCOMPARE(frames[0].mid(RequestHead::Size + 12), QByteArray(4, '\0'));

    RequestManager receiver;
    QList<QString> events;
    connect(&receiver, &IRCRequestManager::fileinfoReceive, this, [&] { events << "info"; });
    connect(&receiver, &IRCRequestManager::fileContentReceive, this, [&](const QByteArray& d, bool last) {
        events << QString("content %1 %2").arg(d.size()).arg(last);
    });
    for (const QByteArray& f : frames)
        receiver.appendData(f);
    QCOMPARE(events, (QList<QString>{"info", "content 0 0", "content 0 1"}));
}

void TestFileTransfer::callerMembersReplaceAndAreText()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "real.txt", "abc");
    RequestManager sender;
    RequestManager receiver;
    connect(&sender, &IRCRequestManager::buffSendRequest, &receiver,
            [&](const QByteArray& b, const QVariant&) { receiver.appendData(b); });
    QSignalSpy info(&receiver, &IRCRequestManager::fileinfoReceive);
    sender.sendFile(path, QJsonObject{{"name", "other.txt"}, {"count", 3}});
    QCOMPARE(info.size(), 1); // header and information leave inside sendFile
    const QVariantMap map = info.at(0).at(0).toMap();
    QCOMPARE(map.value("name").toString(), QString("other.txt"));
    QVERIFY(map.contains("count"));
    QCOMPARE(map.value("count").toString(), QString());
    QCOMPARE(map.value("size").toString(), QString("3"));
}

void TestFileTransfer::unopenableFileIsReportedAndNeverStopped()
{
    RequestManager sender;
    QSignalSpy errors(&sender, &IRCRequestManager::fileSendError);
    QSignalSpy stops(&sender, &IRCRequestManager::fileSendStop);
    QSignalSpy frames(&sender, &IRCRequestManager::buffSendRequest);
    sender.sendFile("/nonexistent/dir/file.bin", {});
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QString("/nonexistent/dir/file.bin"));
    QVERIFY(errors.at(0).at(1).toULongLong() > 0);
    sender.stopAllFiles();
    QCOMPARE(stops.size(), 0);
    QCOMPARE(frames.size(), 0);
}

void TestFileTransfer::stopAllFilesStopsEveryFile()
{
    QTemporaryDir dir;
    RequestManager sender;
    QSignalSpy stops(&sender, &IRCRequestManager::fileSendStop);
    QSignalSpy sent(&sender, &IRCRequestManager::fileContentSend);
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << writeFile(dir, QString("f%1").arg(i), QByteArray(200 * 1024, char('a' + i)));
        sender.sendFile(paths.last(), {});
    }
    sender.sendFile("/nonexistent/x", {});
    QTRY_VERIFY(sent.size() >= 3);
    sender.stopAllFiles();
    QCOMPARE(stops.size(), 3);
    QStringList stopped;
    for (const auto& args : stops)
        stopped << args.at(0).toString();
    stopped.sort();
    QCOMPARE(stopped, paths);
    const int sentAtStop = int(sent.size());
    QTest::qWait(20);
    QCOMPARE(sent.size(), sentAtStop); // nothing more leaves after the stop
    QCOMPARE(sender.outgoingCount(), 0);
}

void TestFileTransfer::shrinkingFileIsAnErrorNotSent()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "shrinks.bin", QByteArray(10000, 's'));
    RequestManager sender;
    QSignalSpy errors(&sender, &IRCRequestManager::fileSendError);
    QSignalSpy sent(&sender, &IRCRequestManager::fileContentSend);
    sender.sendFile(path, {});
    QVERIFY(QFile::resize(path, 100));
    QTRY_COMPARE(errors.size(), 1);
    for (const auto& args : sent)
        QVERIFY(!args.at(1).toBool()); // never reported as complete
    QCOMPARE(sender.outgoingCount(), 0);
}

void TestFileTransfer::headerSplitOverFramesIsAssembled()
{
    const QByteArray infoText = QJsonDocument(QJsonObject{{"name", "n"}, {"size", "5"}}).toJson();
    FileHead fh;
    fh.infoLength = qint32(infoText.size());
    const QByteArray head = fh.toBytes();
    RequestManager receiver;
    QSignalSpy info(&receiver, &IRCRequestManager::fileinfoReceive);
    QSignalSpy content(&receiver, &IRCRequestManager::fileContentReceive);
    receiver.appendData(RequestHead::frame(9, 1, false, head.left(5)));
    receiver.appendData(RequestHead::frame(9, 1, false, head.mid(5) + infoText.left(10)));
    QCOMPARE(info.size(), 0);
    // The rest of the information and the content in one chunk.
    receiver.appendData(RequestHead::frame(9, 1, true, infoText.mid(10) + "hello"));
    QCOMPARE(info.size(), 1);
    QCOMPARE(info.at(0).at(0).toMap().value("name").toString(), QString("n"));
    QCOMPARE(content.size(), 1);
    QCOMPARE(content.at(0).at(0).toByteArray(), QByteArray("hello"));
    QVERIFY(content.at(0).at(1).toBool());
    QCOMPARE(receiver.incomingFileCount(), 0);
}

void TestFileTransfer::badFileHeadFailsOnce()
{
    RequestManager receiver;
    QSignalSpy errors(&receiver, &IRCRequestManager::fileReceiveError);
    FileHead wrongMagic;
    wrongMagic.magic = 0x124;
    receiver.appendData(RequestHead::frame(1, 1, false, wrongMagic.toBytes()));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toMap(), QVariantMap());

    FileHead negative;
    negative.infoLength = -5;
    receiver.appendData(RequestHead::frame(2, 1, false, negative.toBytes()));
    QCOMPARE(errors.size(), 2);

    FileHead emptyInfo;
    emptyInfo.infoLength = 2;
    receiver.appendData(RequestHead::frame(3, 1, false, emptyInfo.toBytes() + "{}"));
    QCOMPARE(errors.size(), 3);
    QCOMPARE(receiver.incomingFileCount(), 0);
}

QTEST_GUILESS_MAIN(TestFileTransfer)
#include "tst_filetransfer.moc"
