// Byte-level behaviour of the framing engine: head layout, message text, chunking and pacing,
// reassembly with resynchronisation, in-order delivery, the bounds on what a peer can make the
// manager hold, and file requests from one manager to another.
#include "network/FileHead.h"
#include "network/FileTransferRequest.h"
#include "network/MessageRequest.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"
#include "network/RequestUidCounter.h"
#include "support/FileTree.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray frame(quint64 uid, quint32 type, bool last, const QByteArray& payload)
{
    return RequestHead::frame(uid, type, last, payload);
}

QByteArray text(const QString& type, const QJsonObject& params = {})
{
    return MessageRequest::buildText(type, params, 7);
}

// The parameters that make a command's text span `chunks` chunks, the last one short.
QJsonObject paramsForChunks(int chunks)
{
    const int base = int(MessageRequest::buildText("paced", QJsonObject{{"p", QString()}}, 1).size());
    return QJsonObject{{"p", QString(NetworkLimits::kChunkSize * (chunks - 1) + 100 - base, 'z')}};
}

// Every delivered command as "type@uid".
QStringList delivered(const QSignalSpy& spy)
{
    QStringList out;
    for (const QList<QVariant>& args : spy)
        out << args.at(0).toString() + "@" + args.at(1).toJsonObject().value("uid").toString();
    return out;
}

// Counts the queued calls (invokeMethod, queued signals) delivered to the objects it watches.
class QueuedCallCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

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

class TestRequestManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void headIsLittleEndianFieldByField();
    void messageTextIsIndentedSortedJson();
    void uidCounterWrapsToOne();
    void messageLeavesInChunks_data();
    void messageLeavesInChunks();
    void concurrentSendsAdvanceOneChunkPerTick();
    void sendFromInsideTickAndDelivery();
    void finishedCommandsQueueNoCallsToTheManager_data();
    void finishedCommandsQueueNoCallsToTheManager();

    void streamIsDeliveredInArrivalOrder_data();
    void streamIsDeliveredInArrivalOrder();
    void receiveComplateOnlyWhenBufferEmpty();
    void heldMessagesAreBounded();

    void filesArriveByteIdentical_data();
    void filesArriveByteIdentical();
    void emptyFileFrames();
    void receivedFileFrames_data();
    void receivedFileFrames();
    void stopAllFilesStopsEverySendingFile();
    void shrinkingFileIsAnErrorNotSent();
    void heldManagerSendsNothing();
};

void TestRequestManager::headIsLittleEndianFieldByField()
{
    const QByteArray f = frame(0x0102030405060708ull, 0x11223344u, true, QByteArray("ab"));
    QCOMPARE(f, QByteArray::fromHex("02020202"
                                    "02000000"
                                    "0807060504030201"
                                    "01000000"
                                    "44332211"
                                    "6162"));
    const RequestHead head = RequestHead::read(f.constData());
    QCOMPARE(head.length, 2);
    QCOMPARE(head.uid, 0x0102030405060708ull);
    QVERIFY(head.last);
    QCOMPARE(head.type, 0x11223344u);
}

void TestRequestManager::messageTextIsIndentedSortedJson()
{
    QCOMPARE(MessageRequest::buildText("play", QJsonObject{{"id", "a"}, {"n", 2}}, 12),
             QByteArray("{\n"
                        "    \"params\": {\n"
                        "        \"id\": \"a\",\n"
                        "        \"n\": 2\n"
                        "    },\n"
                        "    \"type\": \"play\",\n"
                        "    \"uid\": 12\n"
                        "}\n"));
}

void TestRequestManager::uidCounterWrapsToOne()
{
    RequestUidCounter counter(RequestUidCounter::kMaxUid - 1);
    QCOMPARE(counter.take(), RequestUidCounter::kMaxUid);
    QCOMPARE(counter.take(), 1ull);
    QCOMPARE(RequestUidCounter().take(), 1ull);
}

void TestRequestManager::messageLeavesInChunks_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("chunks");
    QTest::newRow("short") << 300 << QList<int>{300};
    QTest::newRow("exactly one chunk") << 1024 << QList<int>{1024};
    QTest::newRow("2500 bytes") << 2500 << QList<int>{1024, 1024, 452};
}

// The first chunk leaves from start(), each further one from one advance() (a pacing tick).
void TestRequestManager::messageLeavesInChunks()
{
    QFETCH(int, size);
    QFETCH(QList<int>, chunks);
    RequestManager owner;
    QSignalSpy spy(&owner, &IRCRequestManager::buffSendRequest);
    std::unique_ptr<MessageRequest> request;
    for (int n = size - 300; n < size && !request; ++n) {
        request =
            std::make_unique<MessageRequest>("c", QJsonObject{{"p", QString(n, 'y')}}, QVariant(), &owner);
        if (request->data().size() != size)
            request.reset();
    }
    QVERIFY(request);
    request->start();
    QCOMPARE(spy.size(), 1);
    while (request->advance()) {
    }
    QList<int> sizes;
    QByteArray joined;
    for (qsizetype i = 0; i < spy.size(); ++i) {
        const QByteArray f = spy.at(i).at(0).toByteArray();
        QCOMPARE(RequestHead::read(f.constData()).last, i == spy.size() - 1);
        sizes << int(f.size() - RequestHead::Size);
        joined += f.mid(RequestHead::Size);
    }
    QCOMPARE(sizes, chunks);
    QCOMPARE(joined, request->data());
}

void TestRequestManager::concurrentSendsAdvanceOneChunkPerTick()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::buffSendRequest);
    QTemporaryDir dir;
    const QString path = dir.filePath("two.bin");
    QVERIFY(writeFile(path, QByteArray(NetworkLimits::kChunkSize + 5, 'f')));
    auto uidOf = [](const QList<QVariant>& args) {
        return RequestHead::read(args.at(0).toByteArray().constData()).uid;
    };

    const int counts[] = {3, 1, 2, 4};
    QList<quint64> uids;
    for (int n : counts) {
        manager.sendCmd("paced", paramsForChunks(n), QVariant(n));
        QCOMPARE(spy.last().at(1), QVariant(n)); // the first chunk leaves before sendCmd returns
        uids << uidOf(spy.last());
    }
    QCOMPARE(spy.size(), 4);
    manager.sendFile(path, {});
    QCOMPARE(spy.size(), 6); // file head and information leave at once too
    const quint64 fileUid = uidOf(spy.last());
    QCOMPARE(manager.outgoingCount(), 4); // the one-chunk command is done already
    spy.clear();

    // Tick by tick: every sending request exactly once, in start order. Everything one
    // tick emits is emitted before control returns to the event loop.
    const QList<QList<quint64>> expected = {
        {uids[0], uids[2], uids[3], fileUid}, // file: first content chunk
        {uids[0], uids[3], fileUid},          // 2-chunk command done; file: last chunk
        {uids[3]},
    };
    for (const QList<quint64>& tick : expected) {
        QVERIFY(spy.wait(5000));
        QList<quint64> got;
        for (const QList<QVariant>& args : std::as_const(spy))
            got << uidOf(args);
        spy.clear();
        QCOMPARE(got, tick);
    }
    QVERIFY(!spy.wait(50)); // nothing left to pace
    QCOMPARE(manager.outgoingCount(), 0);
}

// Listeners send from inside a pacing tick and from inside a delivery, and feed more bytes
// from inside a delivery; everything still arrives whole and in order.
void TestRequestManager::sendFromInsideTickAndDelivery()
{
    RequestManager sender;
    RequestManager receiver;
    QSignalSpy received(&receiver, &IRCRequestManager::cmdReceive);
    int frames = 0;
    connect(&sender, &IRCRequestManager::buffSendRequest, this, [&](const QByteArray& f) {
        receiver.appendData(f);
        if (++frames == 2) // the outer command's second chunk, sent by a tick
            sender.sendCmd("inner", paramsForChunks(2), {});
    });
    sender.sendCmd("outer", paramsForChunks(3), {});
    QTRY_COMPARE(received.size(), 2);
    QCOMPARE(received.at(0).at(0).toString(), QString("outer"));
    QCOMPARE(received.at(1).at(1).toJsonObject().value("p"), paramsForChunks(2).value("p"));
    QCOMPARE(sender.outgoingCount(), 0);

    RequestManager manager;
    QStringList order;
    int replies = 0;
    connect(&manager, &IRCRequestManager::buffSendRequest, this, [&] { ++replies; });
    connect(&manager, &IRCRequestManager::cmdReceive, this, [&](const QString& cmd) {
        order << cmd;
        manager.sendCmd("reply-" + cmd, {}, {});
        if (cmd == "first")
            manager.appendData(frame(2, 0, true, text("second")));
    });
    manager.appendData(frame(1, 0, true, text("first")) + frame(3, 0, true, text("third")));
    QCOMPARE(order, (QStringList{"first", "third", "second"}));
    QCOMPARE(replies, 3);
    QCOMPARE(manager.bufferedBytes(), 0);
}

void TestRequestManager::finishedCommandsQueueNoCallsToTheManager_data()
{
    QTest::addColumn<bool>("sending");
    QTest::addColumn<int>("chunks");
    QTest::addColumn<bool>("framesApart");
    QTest::newRow("sent, one chunk") << true << 1 << false;
    QTest::newRow("sent, three chunks") << true << 3 << false;
    QTest::newRow("received, one chunk") << false << 1 << false;
    QTest::newRow("received, three chunks at once") << false << 3 << false;
    QTest::newRow("received, three chunks apart") << false << 3 << true;
}

// A command that has gone out or come in whole leaves nothing for the manager's thread to do
// later: each command costs that thread one wake-up, not two.
void TestRequestManager::finishedCommandsQueueNoCallsToTheManager()
{
    QFETCH(bool, sending);
    QFETCH(int, chunks);
    QFETCH(bool, framesApart);
    RequestManager manager;
    QueuedCallCounter queued;
    manager.installEventFilter(&queued);
    QSignalSpy sent(&manager, &IRCRequestManager::buffSendRequest);
    QSignalSpy received(&manager, &IRCRequestManager::cmdReceive);
    if (sending) {
        manager.sendCmd("c", paramsForChunks(chunks), {});
        QTRY_COMPARE(manager.outgoingCount(), 0);
        QCOMPARE(sent.size(), chunks);
    } else {
        const QByteArray whole = text("c", paramsForChunks(chunks));
        QByteArray frames;
        for (int i = 0; i < chunks; ++i) {
            const QByteArray chunk = whole.mid(i * NetworkLimits::kChunkSize, NetworkLimits::kChunkSize);
            frames += frame(7, ERequestType_Message, i == chunks - 1, chunk);
            if (framesApart) {
                manager.appendData(frames);
                frames.clear();
            }
        }
        manager.appendData(frames);
        QCOMPARE(received.size(), 1);
        QCOMPARE(manager.incomingMessageCount(), 0);
    }
    QCoreApplication::sendPostedEvents();
    QCOMPARE(queued.count, 0);
}

void TestRequestManager::streamIsDeliveredInArrivalOrder_data()
{
    QTest::addColumn<QList<QByteArray>>("feeds"); // one appendData call each
    QTest::addColumn<QStringList>("expected");    // "type@uid", in delivery order
    QTest::addColumn<int>("beforeLastFeed");      // how many were delivered before the last feed; -1: any

    QByteArray stream;
    QStringList five;
    for (int i = 0; i < 5; ++i) {
        const QByteArray t = text(QString("cmd%1").arg(i), QJsonObject{{"v", QString(i * 700, 'z')}});
        for (qsizetype pos = 0; pos < t.size(); pos += 1024)
            stream += frame(100 + i, 0, pos + 1024 >= t.size(), t.mid(pos, 1024));
        five << QString("cmd%1@%2").arg(i).arg(100 + i);
    }
    for (int piece : {1, 7, 24, 1000, int(stream.size())}) {
        QList<QByteArray> feeds;
        for (qsizetype pos = 0; pos < stream.size(); pos += piece)
            feeds << stream.mid(pos, piece);
        QTest::addRow("split into %d-byte pieces", piece) << feeds << five << -1;
    }

    // Garbage holding partial magics. (Garbage ending in 0x02 bytes right before a head
    // is ambiguous by nature of the format and is not tried here.)
    const QByteArray garbage = QByteArray("hello\x02\x02\x02world\x02\x02\x01\x02", 17) +
                               QByteArray(3000, 'g') + QByteArray("\x02\x02\x02g", 4);
    QTest::newRow("garbage before a frame")
        << QList<QByteArray>{garbage + frame(9, 0, true, text("a"))} << QStringList{"a@9"} << 0;
    QList<QByteArray> bytewise;
    const QByteArray garbled = QByteArray(50, '\x02') + "qqqqqqq" + frame(10, 0, true, text("b")) + "zz" +
                               frame(11, 0, true, text("c"));
    for (char c : garbled)
        bytewise << QByteArray(1, c);
    QTest::newRow("garbage between frames, byte by byte") << bytewise << QStringList{"b@10", "c@11"} << 1;
    QByteArray negative = frame(1, 0, true, QByteArray(8, 'x'));
    negative.replace(4, 4, "\xff\xff\xff\xff");
    QByteArray huge = frame(2, 0, true, QByteArray());
    huge[7] = '\x7f'; // about 2 GB announced
    QTest::newRow("impossible lengths")
        << QList<QByteArray>{negative + huge + frame(3, 0, true, text("ok"))} << QStringList{"ok@3"} << 0;
    QTest::newRow("unknown type between messages")
        << QList<QByteArray>{frame(1, 0, true, text("a")) + frame(2, 5, true, QByteArray(300, 'u')) +
                             frame(3, 0, true, text("b"))}
        << QStringList{"a@1", "b@3"} << 0;
    QTest::newRow("zero-length last chunk")
        << QList<QByteArray>{frame(4, 0, false, text("z")), frame(4, 0, true, {})} << QStringList{"z@4"} << 0;

    const QByteArray a = text("A", QJsonObject{{"x", QString(1500, 'a')}});
    const QByteArray c = text("C", QJsonObject{{"x", QString(1500, 'c')}});
    QTest::newRow("later message completing first is held")
        << QList<QByteArray>{frame(1, 0, false, a.left(1024)), frame(3, 0, false, c.left(1024)),
                             frame(2, 0, true, text("B")), frame(3, 0, true, c.mid(1024)),
                             frame(1, 0, true, a.mid(1024))}
        << QStringList{"A@1", "C@3", "B@2"} << 0;
    QTest::newRow("failed messages are dropped, their uid reusable")
        << QList<QByteArray>{frame(1, 0, false, "{\"type\":"), frame(2, 0, true, text("B")),
                             frame(4, 0, true, "[1, 2]"),      frame(5, 0, true, "{}"),
                             frame(6, 0, true, text("F")),     frame(1, 0, true, "broken"),
                             frame(1, 0, true, text("again"))}
        << QStringList{"B@2", "F@6", "again@1"} << 2;
    // The frame's uid wins over the text's and over a "uid" among the parameters.
    QTest::newRow("frame uid") << QList<QByteArray>{frame(77, 0, true,
                                                          MessageRequest::buildText("u", {{"uid", "x"}}, 5))}
                               << QStringList{"u@77"} << 0;
    QTest::newRow("missing type") << QList<QByteArray>{frame(78, 0, true, "{\"params\": 3}")}
                                  << QStringList{"@78"} << 0;
}

void TestRequestManager::streamIsDeliveredInArrivalOrder()
{
    QFETCH(QList<QByteArray>, feeds);
    QFETCH(QStringList, expected);
    QFETCH(int, beforeLastFeed);
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    for (qsizetype i = 0; i + 1 < feeds.size(); ++i)
        manager.appendData(feeds.at(i));
    if (beforeLastFeed >= 0)
        QCOMPARE(spy.size(), beforeLastFeed);
    manager.appendData(feeds.last());
    QCOMPARE(delivered(spy), expected);
    QCOMPARE(manager.bufferedBytes(), 0);
    QCOMPARE(manager.incomingMessageCount(), 0);
    QCOMPARE(manager.pendingMessageBytes(), 0);
}

void TestRequestManager::receiveComplateOnlyWhenBufferEmpty()
{
    RequestManager manager;
    QSignalSpy complete(&manager, &IRCRequestManager::receiveComplate);
    manager.appendData(QByteArray());
    QCOMPARE(complete.size(), 1); // an empty buffer, loop never started
    const QByteArray f = frame(1, 0, true, text("x"));
    manager.appendData(f.left(30));
    manager.appendData(f.mid(30) + f.left(10));
    QCOMPARE(complete.size(), 1);
    manager.appendData(f.mid(10));
    QCOMPARE(complete.size(), 2);
}

// A peer cannot make the manager hold messages without end: a stalled message gives way once the
// count cap is reached, an oversized one is dropped while others flow, and the bytes of
// unfinished messages are bounded.
void TestRequestManager::heldMessagesAreBounded()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    manager.appendData(frame(1, 0, false, "{"));
    const int n = NetworkLimits::kMaxPendingMessages + 10;
    QByteArray stream;
    for (int i = 0; i < n; ++i)
        stream += frame(1000 + i, 0, true, text("m", QJsonObject{{"i", i}}));
    manager.appendData(stream);
    QCOMPARE(spy.size(), n);
    QCOMPARE(spy.last().at(1).toJsonObject().value("i").toInt(), n - 1);
    QCOMPARE(manager.incomingMessageCount(), 0);
    stream.clear();
    for (int i = 0; i < n; ++i)
        stream += frame(50000 + i, 0, false, "{");
    manager.appendData(stream);
    QVERIFY(manager.incomingMessageCount() <= NetworkLimits::kMaxPendingMessages);

    RequestManager oversized;
    QSignalSpy flowing(&oversized, &IRCRequestManager::cmdReceive);
    const QByteArray mebibyte(1024 * 1024, 'x');
    oversized.appendData(frame(1, 0, false, "{\"type\": \"huge\", \"params\": {\"p\": \""));
    oversized.appendData(frame(2, 0, true, text("behind")));
    for (qsizetype total = 0; total <= NetworkLimits::kMaxMessageSize; total += mebibyte.size())
        oversized.appendData(frame(1, 0, false, mebibyte));
    QCOMPARE(delivered(flowing), QStringList{"behind@2"});
    QVERIFY(oversized.pendingMessageBytes() < NetworkLimits::kMaxMessageSize);

    // Many distinct messages each holding 8 MiB, none completing.
    RequestManager many;
    for (int m = 0; m < 12; ++m)
        for (int k = 0; k < 16; ++k)
            many.appendData(frame(10 + m, 0, false, mebibyte.left(512 * 1024)));
    QVERIFY(many.pendingMessageBytes() <= NetworkLimits::kMaxPendingMessageBytes);
    QVERIFY(many.incomingMessageCount() > 0);
}

void TestRequestManager::filesArriveByteIdentical_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QJsonObject>("params");
    const QJsonObject project{{"project", "p1"}};
    for (int size : {0, 1024, 2048, 3000, 70001})
        QTest::addRow("%d bytes", size) << size << project;
    // A caller's member replaces the built-in one; one that is no text arrives as empty text.
    QTest::newRow("caller members") << 3 << QJsonObject{{"name", "other.png"}, {"count", 3}};
}

void TestRequestManager::filesArriveByteIdentical()
{
    QFETCH(int, size);
    QFETCH(QJsonObject, params);
    QTemporaryDir dir;
    QByteArray content(size, Qt::Uninitialized);
    for (char& c : content)
        c = char(QRandomGenerator::global()->bounded(256));
    const QString path = dir.filePath("stage.png");
    QVERIFY(writeFile(path, content));

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
void TestRequestManager::emptyFileFrames()
{
    QTemporaryDir dir;
    RequestManager sender;
    QList<QByteArray> frames;
    connect(&sender, &IRCRequestManager::buffSendRequest, this, [&](const QByteArray& b) { frames << b; });
    QVERIFY(writeFile(dir.filePath("empty.bin"), {}));
    sender.sendFile(dir.filePath("empty.bin"), {});
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

void TestRequestManager::receivedFileFrames_data()
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
void TestRequestManager::receivedFileFrames()
{
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QStringList, events);
    RequestManager receiver;
    QCOMPARE(fileEvents(receiver, frames), events);
    QCOMPARE(receiver.incomingFileCount(), 0);
}

void TestRequestManager::stopAllFilesStopsEverySendingFile()
{
    QTemporaryDir dir;
    RequestManager sender;
    QSignalSpy stops(&sender, &IRCRequestManager::fileSendStop);
    QSignalSpy sent(&sender, &IRCRequestManager::fileContentSend);
    QSignalSpy errors(&sender, &IRCRequestManager::fileSendError);
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << dir.filePath(QString("f%1").arg(i));
        QVERIFY(writeFile(paths.last(), QByteArray(200 * 1024, char('a' + i))));
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

void TestRequestManager::shrinkingFileIsAnErrorNotSent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shrinks.bin");
    QVERIFY(writeFile(path, QByteArray(10000, 's')));
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

// The designer holds its file chunks while the socket has much to write: a held manager hands
// over nothing and resumes where it was.
void TestRequestManager::heldManagerSendsNothing()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("held.bin");
    QVERIFY(writeFile(file, QByteArray(8 * 1024, 'h')));
    RequestManager manager;
    QSignalSpy frames(&manager, &IRCRequestManager::buffSendRequest);
    QSignalSpy sent(&manager, &IRCRequestManager::fileContentSend);
    manager.setSendingHeld(true);
    manager.sendFile(file, {});
    QCOMPARE(frames.size(), 2); // the header and the information leave at once
    QVERIFY(!sent.wait(100));
    manager.setSendingHeld(false);
    QTRY_COMPARE(sent.size(), 8);
    QVERIFY(sent.last().at(1).toBool());
}

QTEST_GUILESS_MAIN(TestRequestManager)
#include "tst_requestmanager.moc"
