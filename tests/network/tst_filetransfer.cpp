// File requests from one request manager to another, and the byte-level file
// receive path.
#include "network/FileHead.h"
#include "network/FileTransferRequest.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"

#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(content);
    return path;
}

QByteArray fileFrame(bool last, const QByteArray& payload)
{
    return RequestHead::frame(9, ERequestType_File, last, payload);
}

// What a receiving manager reports, as "info <name>", "content <size> <last>" and "error".
QStringList fileEvents(RequestManager& receiver, const QList<QByteArray>& frames)
{
    QStringList events;
    QObject::connect(&receiver, &IRCRequestManager::fileinfoReceive, &receiver,
                     [&](const QVariantMap& info) { events << "info " + info.value("name").toString(); });
    QObject::connect(
        &receiver, &IRCRequestManager::fileContentReceive, &receiver,
        [&](const QByteArray& d, bool last) { events << QString("content %1 %2").arg(d.size()).arg(last); });
    QObject::connect(&receiver, &IRCRequestManager::fileReceiveError, &receiver, [&] { events << "error"; });
    for (const QByteArray& f : frames)
        receiver.appendData(f);
    receiver.disconnect(&receiver);
    return events;
}
} // namespace

class TestFileTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filesArriveByteIdentical_data();
    void filesArriveByteIdentical();
    void emptyFileFrames();
    void receivedFrames_data();
    void receivedFrames();
    void stopAllFilesStopsEverySendingFile();
    void shrinkingFileIsAnErrorNotSent();
};

void TestFileTransfer::filesArriveByteIdentical_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QJsonObject>("params");
    const QJsonObject project{{"project", "p1"}};
    for (int size : {0, 1024, 2048, 3000, 70001})
        QTest::addRow("%d bytes", size) << size << project;
    // A caller's member replaces the built-in one; one that is no text arrives as empty text.
    QTest::newRow("caller members") << 3 << QJsonObject{{"name", "other.png"}, {"count", 3}};
}

void TestFileTransfer::filesArriveByteIdentical()
{
    QFETCH(int, size);
    QFETCH(QJsonObject, params);
    QTemporaryDir dir;
    QByteArray content(size, Qt::Uninitialized);
    for (char& c : content)
        c = char(QRandomGenerator::global()->bounded(256));
    const QString path = writeFile(dir, "stage.png", content);

    RequestManager sender;
    RequestManager receiver;
    connect(&sender, &IRCRequestManager::buffSendRequest, &receiver,
            [&](const QByteArray& b) { receiver.appendData(b); });
    QSignalSpy info(&receiver, &IRCRequestManager::fileinfoReceive);
    QSignalSpy chunks(&receiver, &IRCRequestManager::fileContentReceive);
    QSignalSpy sent(&sender, &IRCRequestManager::fileContentSend);
    QSignalSpy errors(&receiver, &IRCRequestManager::fileReceiveError);

    sender.sendFile(path, params);
    QTRY_VERIFY_WITH_TIMEOUT(!chunks.isEmpty() && chunks.last().at(1).toBool(), 10000);
    QByteArray received;
    for (const auto& args : chunks)
        received += args.at(0).toByteArray();
    QCOMPARE(received, content);
    QCOMPARE(info.size(), 1);
    const QVariantMap map = info.at(0).at(0).toMap();
    QCOMPARE(map.value("name").toString(), params.value("name").toString("stage.png"));
    QCOMPARE(map.value("size").toString(), QString::number(size));
    QCOMPARE(map.value("md5").toString(), FileTransferRequest::fileMd5(path));
    for (auto it = params.begin(); it != params.end(); ++it)
        QCOMPARE(map.value(it.key()), QVariant(it.value().toString()));
    QCOMPARE(chunks.last().at(2).toMap(), map);
    QCOMPARE(errors.size(), 0);

    // One progress notification per content chunk, the offset after it, last on the last.
    QCOMPARE(sent.size(), qMax(1, (size + 1023) / 1024));
    QCOMPARE(sent.last().at(0).toLongLong(), qlonglong(size));
    QVERIFY(sent.last().at(1).toBool());
    QCOMPARE(sent.last().at(2).toString(), path);
    QCOMPARE(sender.outgoingCount(), 0);
    QCOMPARE(receiver.incomingFileCount(), 0);
}

// An empty file: header, information, one empty content chunk with the last flag.
void TestFileTransfer::emptyFileFrames()
{
    QTemporaryDir dir;
    RequestManager sender;
    QList<QByteArray> frames;
    connect(&sender, &IRCRequestManager::buffSendRequest, this, [&](const QByteArray& b) { frames << b; });
    sender.sendFile(writeFile(dir, "empty.bin", {}), {});
    QTRY_COMPARE(frames.size(), 3);
    const RequestHead h0 = RequestHead::read(frames[0].constData());
    const RequestHead h2 = RequestHead::read(frames[2].constData());
    QCOMPARE(h0.length, FileHead::Size);
    QCOMPARE(h0.type, quint32(ERequestType_File));
    QVERIFY(!h0.last && !RequestHead::read(frames[1].constData()).last && h2.last);
    QCOMPARE(h2.length, 0);
    QCOMPARE(h0.uid, h2.uid);
    const FileHead fh = FileHead::read(frames[0].constData() + RequestHead::Size);
    QCOMPARE(fh.magic, FileHead::Magic);
    QCOMPARE(fh.infoLength, frames[1].size() - RequestHead::Size);
    QCOMPARE(frames[0].mid(RequestHead::Size + 12), QByteArray(4, '\0'));
    RequestManager receiver;
    QCOMPARE(fileEvents(receiver, frames), (QStringList{"info empty.bin", "content 0 0", "content 0 1"}));
}

void TestFileTransfer::receivedFrames_data()
{
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QStringList>("events");
    const QByteArray info = QJsonDocument(QJsonObject{{"name", "n"}, {"size", "5"}}).toJson();
    FileHead good;
    good.infoLength = qint32(info.size());
    const QByteArray head = good.toBytes();
    QTest::newRow("head and information split over frames")
        << QList<QByteArray>{fileFrame(false, head.left(5)), fileFrame(false, head.mid(5) + info.left(10)),
                             fileFrame(true, info.mid(10) + "hello")}
        << QStringList{"info n", "content 5 1"};
    FileHead wrongMagic;
    wrongMagic.magic = 0x124;
    QTest::newRow("wrong magic") << QList<QByteArray>{fileFrame(false, wrongMagic.toBytes())}
                                 << QStringList{"error"};
    FileHead negative;
    negative.infoLength = -5;
    QTest::newRow("negative information length")
        << QList<QByteArray>{fileFrame(false, negative.toBytes())} << QStringList{"error"};
    FileHead empty;
    empty.infoLength = 2;
    QTest::newRow("empty information")
        << QList<QByteArray>{fileFrame(false, empty.toBytes() + "{}")} << QStringList{"error"};
}

// A failed file is reported once and forgotten.
void TestFileTransfer::receivedFrames()
{
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QStringList, events);
    RequestManager receiver;
    QCOMPARE(fileEvents(receiver, frames), events);
    QCOMPARE(receiver.incomingFileCount(), 0);
}

void TestFileTransfer::stopAllFilesStopsEverySendingFile()
{
    QTemporaryDir dir;
    RequestManager sender;
    QSignalSpy stops(&sender, &IRCRequestManager::fileSendStop);
    QSignalSpy sent(&sender, &IRCRequestManager::fileContentSend);
    QSignalSpy errors(&sender, &IRCRequestManager::fileSendError);
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << writeFile(dir, QString("f%1").arg(i), QByteArray(200 * 1024, char('a' + i)));
        sender.sendFile(paths.last(), {});
    }
    // A file that cannot be opened is reported at once, sends nothing and is never stopped.
    QSignalSpy frames(&sender, &IRCRequestManager::buffSendRequest);
    sender.sendFile("/nonexistent/x", {});
    QCOMPARE(frames.size(), 0);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QString("/nonexistent/x"));
    QVERIFY(errors.at(0).at(1).toULongLong() > 0);

    QTRY_VERIFY(sent.size() >= 3);
    sender.stopAllFiles();
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

QTEST_GUILESS_MAIN(TestFileTransfer)
#include "tst_filetransfer.moc"
