// Byte-level behaviour of the framing engine: head layout, message text,
// chunking and pacing, reassembly with resynchronisation, in-order delivery and
// the bounds on what a peer can make the manager hold.
#include "network/IRCRequestOwner.h"
#include "network/MessageRequest.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"
#include "network/RequestUidCounter.h"

#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray frame(quint64 uid, quint32 type, bool last, const QByteArray& payload)
{
    return RequestHead::frame(uid, type, last, payload);
}

QByteArray messageText(const QString& type, const QJsonObject& params, qint64 uid = 7)
{
    return MessageRequest::buildText(type, params, quint64(uid));
}

// One message as frames of at most chunk bytes.
QList<QByteArray> messageFrames(quint64 uid, const QByteArray& text, int chunk)
{
    QList<QByteArray> out;
    for (qsizetype pos = 0; pos < text.size(); pos += chunk) {
        const QByteArray part = text.mid(pos, chunk);
        out << frame(uid, ERequestType_Message, pos + chunk >= text.size(), part);
    }
    return out;
}

// A message whose text is exactly size bytes, padded to it; null when no padding fits.
MessageRequest* messageOfSize(qsizetype size, IRCRequestOwner* owner)
{
    for (qsizetype n = size - 300; n < size; ++n) {
        auto* candidate = new MessageRequest("c", QJsonObject{{"p", QString(n, 'y')}}, QVariant(), owner);
        if (candidate->data().size() == size)
            return candidate;
        delete candidate;
    }
    return nullptr;
}

// Records what a request hands its owner.
class RecordingOwner : public IRCRequestOwner
{
public:
    struct Chunk
    {
        quint64 uid;
        int type;
        bool last;
        QByteArray data;
    };
    QList<Chunk> chunks;
    QList<quint64> sent;

    void requestReceived(quint64, int) override {}
    void requestError(quint64, int) override {}
    void sendBuff(quint64 uid, int type, bool last, const QByteArray& chunk, const QVariant&) override
    {
        chunks.append({uid, type, last, chunk});
    }
    void sendRadioBuff(const QHostAddress&, int, quint64 uid, int type, bool last,
                       const QByteArray& chunk) override
    {
        chunks.append({uid, type, last, chunk});
    }
    void requestSent(quint64 uid, int) override { sent.append(uid); }
    void fileSendStopped(quint64, int) override {}
    void fileinfoReceive(const QVariantMap&) override {}
    void fileContentReceive(const QByteArray&, bool, const QVariantMap&) override {}
    void fileReceiveError(const QVariantMap&) override {}
    void fileContentSend(quint64, qlonglong, bool, const QString&) override {}
    void fileSendError(quint64, const QString&) override {}
};

QString cmdAt(const QSignalSpy& spy, int i)
{
    return spy.at(i).at(0).toString();
}
QJsonObject paramsAt(const QSignalSpy& spy, int i)
{
    return spy.at(i).at(1).toJsonObject();
}
} // namespace

class TestRequestManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void headIsLittleEndianFieldByField();
    void messageTextIsIndentedSortedJson();
    void uidCounterWrapsToOne();
    void shortMessageLeavesBeforeSendReturns();
    void longMessageIsPacedInChunks();
    void textOfExactly1024BytesIsOneChunk();
    void concurrentSendsAdvanceOneChunkPerTick();
    void sendStartedInsideTickWaitsForNextTick();
    void datagramMessageCarriesDestination();

    void framesSplitAndJoinedArbitrarily_data();
    void framesSplitAndJoinedArbitrarily();
    void garbageBeforeFramesIsSkipped();
    void impossibleLengthIsTreatedLikeBadMagic();
    void unknownTypeIsDiscarded();
    void zeroLengthLastChunkCompletesMessage();
    void outOfOrderCompletionIsDeliveredInArrivalOrder();
    void failedMessageInTheMiddleIsDropped();
    void senderUidIsReplacedByFrameUid();
    void receiveComplateOnlyWhenBufferEmpty();
    void listenerMayFeedAndSendFromDelivery();

    void stalledMessagesAreBoundedByCount();
    void oversizedMessageIsDroppedAndOthersFlow();
    void pendingBytesAreBounded();
    void roundTripBetweenTwoManagers();
};

void TestRequestManager::headIsLittleEndianFieldByField()
{
    const QByteArray f = frame(0x0102030405060708ull, 0x11223344u, true, QByteArray("ab"));
    const QByteArray expected = QByteArray::fromHex("02020202"
                                                    "02000000"
                                                    "0807060504030201"
                                                    "01000000"
                                                    "44332211"
                                                    "6162");
    QCOMPARE(f, expected);
    const RequestHead head = RequestHead::read(f.constData());
    QCOMPARE(head.length, 2);
    QCOMPARE(head.uid, 0x0102030405060708ull);
    QVERIFY(head.last);
    QCOMPARE(head.type, 0x11223344u);
}

void TestRequestManager::messageTextIsIndentedSortedJson()
{
    const QByteArray text = messageText("play", QJsonObject{{"id", "a"}, {"n", 2}}, 12);
    const QByteArray expected = "{\n"
                                "    \"params\": {\n"
                                "        \"id\": \"a\",\n"
                                "        \"n\": 2\n"
                                "    },\n"
                                "    \"type\": \"play\",\n"
                                "    \"uid\": 12\n"
                                "}\n";
    QCOMPARE(text, expected);
}

void TestRequestManager::uidCounterWrapsToOne()
{
    RequestUidCounter counter(RequestUidCounter::kMaxUid - 1);
    QCOMPARE(counter.take(), RequestUidCounter::kMaxUid);
    QCOMPARE(counter.take(), 1ull);
    QCOMPARE(counter.take(), 2ull);
    RequestUidCounter fresh;
    QCOMPARE(fresh.take(), 1ull);
}

void TestRequestManager::shortMessageLeavesBeforeSendReturns()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::buffSendRequest);
    manager.sendCmd("getProgramTable", QJsonObject{}, QVariant(42));
    QCOMPARE(spy.size(), 1);
    const QByteArray f = spy.at(0).at(0).toByteArray();
    QCOMPARE(spy.at(0).at(1), QVariant(42));
    const RequestHead head = RequestHead::read(f.constData());
    QVERIFY(RequestHead::hasMagic(f.constData()));
    QVERIFY(head.last);
    QCOMPARE(head.type, quint32(ERequestType_Message));
    QCOMPARE(head.length, f.size() - RequestHead::Size);
    const QJsonObject obj = QJsonDocument::fromJson(f.mid(RequestHead::Size)).object();
    QCOMPARE(obj.value("type").toString(), QString("getProgramTable"));
    QCOMPARE(quint64(obj.value("uid").toInteger()), head.uid);
    QCOMPARE(manager.outgoingCount(), 0);
}

void TestRequestManager::longMessageIsPacedInChunks()
{
    RecordingOwner owner;
    MessageRequest* request = messageOfSize(2500, &owner);
    QVERIFY(request);
    request->start();
    QCOMPARE(owner.chunks.size(), 1); // the first chunk leaves at once
    QCOMPARE(owner.chunks.at(0).data.size(), 1024);
    QVERIFY(!owner.chunks.at(0).last);
    // Nothing more leaves on its own: the owner paces the rest, one chunk per advance.
    QCoreApplication::processEvents();
    QCOMPARE(owner.chunks.size(), 1);
    QVERIFY(request->advance());
    QCOMPARE(owner.chunks.size(), 2);
    QVERIFY(owner.sent.isEmpty());
    QVERIFY(!request->advance());
    QCOMPARE(owner.sent.size(), 1);
    QVERIFY(!request->advance()); // finished: no more chunks, no second report
    QCOMPARE(owner.sent.size(), 1);
    QCOMPARE(owner.chunks.size(), 3);
    QCOMPARE(owner.chunks.at(1).data.size(), 1024);
    QVERIFY(!owner.chunks.at(1).last);
    QCOMPARE(owner.chunks.at(2).data.size(), 452);
    QVERIFY(owner.chunks.at(2).last);
    QCOMPARE(owner.chunks.at(0).data + owner.chunks.at(1).data + owner.chunks.at(2).data, request->data());
    for (const auto& c : owner.chunks)
        QCOMPARE(c.uid, request->getUid());
    delete request;
}

void TestRequestManager::textOfExactly1024BytesIsOneChunk()
{
    RecordingOwner owner;
    MessageRequest* request = messageOfSize(1024, &owner);
    QVERIFY(request);
    request->start();
    QCOMPARE(owner.chunks.size(), 1);
    QVERIFY(owner.chunks.at(0).last);
    QCOMPARE(owner.sent.size(), 1);
    delete request;
}

namespace {
// The text of a command padded to exactly `chunks` chunks with a short last one.
QJsonObject paramsForChunks(int chunks)
{
    const int base = int(MessageRequest::buildText("paced", QJsonObject{{"p", QString()}}, 1).size());
    return QJsonObject{{"p", QString(NetworkLimits::kChunkSize * (chunks - 1) + 100 - base, 'z')}};
}

struct SentFrame
{
    quint64 uid;
    bool last;
    QByteArray payload;
};

QList<SentFrame> takeFrames(QSignalSpy& spy)
{
    QList<SentFrame> out;
    for (const QList<QVariant>& args : spy) {
        const QByteArray f = args.at(0).toByteArray();
        const RequestHead head = RequestHead::read(f.constData());
        out << SentFrame{head.uid, head.last, f.mid(RequestHead::Size)};
    }
    spy.clear();
    return out;
}

// Waits for the next pacing tick: everything one tick emits is emitted before
// control returns to the event loop, so the spy then holds exactly that tick.
QList<SentFrame> nextTick(QSignalSpy& spy)
{
    if (spy.isEmpty() && !spy.wait(5000))
        return {};
    return takeFrames(spy);
}
} // namespace

void TestRequestManager::concurrentSendsAdvanceOneChunkPerTick()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::buffSendRequest);
    QSignalSpy sentFiles(&manager, &IRCRequestManager::fileContentSend);
    QTemporaryDir dir;
    const QString path = dir.filePath("two.bin");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(NetworkLimits::kChunkSize + 5, 'f'));
    }

    const int counts[] = {3, 1, 2, 4};
    QList<quint64> uids;
    QList<QByteArray> texts;
    for (int n : counts) {
        const int before = int(spy.size());
        manager.sendCmd("paced", paramsForChunks(n), QVariant(n));
        // Exactly the first chunk has left before sendCmd returns.
        QCOMPARE(spy.size(), before + 1);
        const QList<QVariant> args = spy.last();
        QCOMPARE(args.at(1), QVariant(n));
        const RequestHead head = RequestHead::read(args.at(0).toByteArray().constData());
        QCOMPARE(bool(head.last), n == 1);
        uids << head.uid;
    }
    manager.sendFile(path, {});
    QCOMPARE(spy.size(), 6); // file head and information leave at once too
    QList<SentFrame> first = takeFrames(spy);
    const quint64 fileUid = first.last().uid;
    QCOMPARE(manager.outgoingCount(), 4); // the one-chunk command is done already

    QMap<quint64, QByteArray> joined;
    for (int i = 0; i < 4; ++i)
        joined[uids[i]] = first[i].payload;

    // Tick by tick: every sending request exactly once, in start order.
    const QList<QList<quint64>> expected = {
        {uids[0], uids[2], uids[3], fileUid}, // file: first content chunk
        {uids[0], uids[3], fileUid},          // 2-chunk command done; file: last chunk
        {uids[3]},
    };
    for (const QList<quint64>& tick : expected) {
        const QList<SentFrame> frames = nextTick(spy);
        QList<quint64> got;
        for (const SentFrame& f : frames) {
            got << f.uid;
            if (f.uid != fileUid)
                joined[f.uid] += f.payload;
        }
        QCOMPARE(got, tick);
    }
    QVERIFY(!spy.wait(50)); // nothing left to pace
    QCOMPARE(manager.outgoingCount(), 0);

    // Same bytes as a one-shot text, last flag only on the last chunk.
    for (int i = 0; i < 4; ++i) {
        const QJsonObject obj = QJsonDocument::fromJson(joined[uids[i]]).object();
        QCOMPARE(obj.value("params").toObject(), paramsForChunks(counts[i]));
        QCOMPARE(quint64(obj.value("uid").toInteger()), uids[i]);
    }
    QCOMPARE(sentFiles.size(), 2);
    QVERIFY(sentFiles.last().at(1).toBool());
}

void TestRequestManager::sendStartedInsideTickWaitsForNextTick()
{
    RequestManager manager;
    QList<SentFrame> frames;
    quint64 outer = 0;
    bool innerSent = false;
    // A listener that sends from inside a tick, as a reply would.
    connect(&manager, &IRCRequestManager::buffSendRequest, this, [&](const QByteArray& f, const QVariant&) {
        const RequestHead head = RequestHead::read(f.constData());
        frames << SentFrame{head.uid, head.last, f.mid(RequestHead::Size)};
        if (head.uid == outer && frames.size() == 2 && !innerSent) {
            innerSent = true;
            manager.sendCmd("inner", paramsForChunks(2), {});
        }
    });
    QSignalSpy spy(&manager, &IRCRequestManager::buffSendRequest);
    manager.sendCmd("outer", paramsForChunks(3), {});
    outer = frames.first().uid;
    spy.clear();

    // Tick 1: the outer command's second chunk; the inner command's first chunk
    // left from its own sendCmd, inside the tick.
    QVERIFY(spy.wait(5000));
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames[1].uid, outer);
    const quint64 inner = frames[2].uid;
    QVERIFY(inner != outer);
    QVERIFY(!frames[2].last);
    spy.clear();
    // Tick 2: both advance once, in start order; the inner one was not advanced
    // a second time within tick 1.
    QVERIFY(spy.wait(5000));
    QCOMPARE(frames.size(), 5);
    QCOMPARE(frames[3].uid, outer);
    QVERIFY(frames[3].last);
    QCOMPARE(frames[4].uid, inner);
    QVERIFY(frames[4].last);
    QVERIFY(!spy.wait(50));
    QCOMPARE(manager.outgoingCount(), 0);
}

void TestRequestManager::datagramMessageCarriesDestination()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::buffRadioRequest);
    manager.sendRadioCmd("requestServerConfig", QJsonObject{{"ip", "127.0.0.1"}, {"port", 5}},
                         QHostAddress::LocalHost, 1234);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(1).value<QHostAddress>(), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(spy.at(0).at(2).toInt(), 1234);

    RequestManager receiver;
    QSignalSpy received(&receiver, &IRCRequestManager::cmdReceive);
    receiver.appendData(spy.at(0).at(0).toByteArray());
    QCOMPARE(received.size(), 1);
    QCOMPARE(paramsAt(received, 0).value("port").toInt(), 5);
}

void TestRequestManager::framesSplitAndJoinedArbitrarily_data()
{
    QTest::addColumn<int>("piece");
    QTest::newRow("one byte per call") << 1;
    QTest::newRow("7 bytes") << 7;
    QTest::newRow("head-sized") << 24;
    QTest::newRow("1000 bytes") << 1000;
    QTest::newRow("everything at once") << 1;
}

void TestRequestManager::framesSplitAndJoinedArbitrarily()
{
    QFETCH(int, piece);
    QByteArray stream;
    QList<QString> names;
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("cmd%1").arg(i);
        names << name;
        const QByteArray text = messageText(name, QJsonObject{{"v", QString(i * 700, 'z')}});
        for (const QByteArray& f : messageFrames(100 + i, text, 1024))
            stream += f;
    }
    if (QTest::currentDataTag() == QByteArray("everything at once"))
        piece = int(stream.size());

    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    for (qsizetype pos = 0; pos < stream.size(); pos += piece)
        manager.appendData(stream.mid(pos, piece));
    QCOMPARE(spy.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(cmdAt(spy, i), names.at(i));
        QCOMPARE(paramsAt(spy, i).value("v").toString().size(), i * 700);
        QCOMPARE(paramsAt(spy, i).value("uid").toString(), QString::number(100 + i));
    }
    QCOMPARE(manager.bufferedBytes(), 0);
    QCOMPARE(manager.incomingMessageCount(), 0);
}

void TestRequestManager::garbageBeforeFramesIsSkipped()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    // Garbage holding partial magics. (Garbage ending in 0x02 bytes right before a
    // head is ambiguous by nature of the format and is not tried here.)
    QByteArray garbage("hello\x02\x02\x02world\x02\x02\x01\x02", 17);
    garbage += QByteArray(3000, 'g');
    garbage += QByteArray("\x02\x02\x02g", 4);
    const QByteArray f = frame(9, ERequestType_Message, true, messageText("a", {}));
    manager.appendData(garbage + f);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(cmdAt(spy, 0), QString("a"));
    QCOMPARE(manager.bufferedBytes(), 0);

    // Garbage arriving in small pieces between frames.
    const QByteArray g2 = QByteArray(50, '\x02') + QByteArray(7, 'q');
    const QByteArray stream =
        g2 + frame(10, 0, true, messageText("b", {})) + "zz" + frame(11, 0, true, messageText("c", {}));
    for (char c : stream)
        manager.appendData(QByteArray(1, c));
    QCOMPARE(spy.size(), 3);
    QCOMPARE(cmdAt(spy, 1), QString("b"));
    QCOMPARE(cmdAt(spy, 2), QString("c"));
}

void TestRequestManager::impossibleLengthIsTreatedLikeBadMagic()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    QByteArray negative = frame(1, 0, true, QByteArray(8, 'x'));
    negative[4] = '\xff';
    negative[5] = '\xff';
    negative[6] = '\xff';
    negative[7] = '\xff';
    QByteArray huge = frame(2, 0, true, QByteArray());
    huge[7] = '\x7f'; // about 2 GB announced
    manager.appendData(negative + huge + frame(3, 0, true, messageText("ok", {})));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(cmdAt(spy, 0), QString("ok"));
    QCOMPARE(manager.bufferedBytes(), 0);
}

void TestRequestManager::unknownTypeIsDiscarded()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    manager.appendData(frame(1, 0, true, messageText("a", {})) + frame(2, 5, true, QByteArray(300, 'u')) +
                       frame(3, 0, true, messageText("b", {})));
    QCOMPARE(spy.size(), 2);
    QCOMPARE(cmdAt(spy, 0), QString("a"));
    QCOMPARE(cmdAt(spy, 1), QString("b"));
    QCOMPARE(manager.incomingMessageCount(), 0);
}

void TestRequestManager::zeroLengthLastChunkCompletesMessage()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    const QByteArray text = messageText("z", QJsonObject{{"k", "v"}});
    manager.appendData(frame(4, 0, false, text));
    QCOMPARE(spy.size(), 0);
    manager.appendData(frame(4, 0, true, QByteArray()));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(paramsAt(spy, 0).value("k").toString(), QString("v"));
}

void TestRequestManager::outOfOrderCompletionIsDeliveredInArrivalOrder()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    const QByteArray a = messageText("A", QJsonObject{{"x", QString(1500, 'a')}});
    const QByteArray b = messageText("B", {});
    const QByteArray c = messageText("C", QJsonObject{{"x", QString(1500, 'c')}});
    manager.appendData(frame(1, 0, false, a.left(1024))); // A starts
    manager.appendData(frame(3, 0, false, c.left(1024))); // C starts
    manager.appendData(frame(2, 0, true, b));             // B complete, held
    manager.appendData(frame(3, 0, true, c.mid(1024)));   // C complete, held
    QCOMPARE(spy.size(), 0);
    QCOMPARE(manager.incomingMessageCount(), 3);
    manager.appendData(frame(1, 0, true, a.mid(1024))); // A completes: A, C, B
    QCOMPARE(spy.size(), 3);
    QCOMPARE(cmdAt(spy, 0), QString("A"));
    QCOMPARE(cmdAt(spy, 1), QString("C"));
    QCOMPARE(cmdAt(spy, 2), QString("B"));
    QCOMPARE(manager.incomingMessageCount(), 0);
    QCOMPARE(manager.pendingMessageBytes(), 0);
}

void TestRequestManager::failedMessageInTheMiddleIsDropped()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    manager.appendData(frame(1, 0, false, "{\"type\":"));        // A pending
    manager.appendData(frame(2, 0, true, messageText("B", {}))); // B held behind A
    manager.appendData(frame(4, 0, true, "[1, 2]"));             // array: fails
    manager.appendData(frame(5, 0, true, "{}"));                 // empty object: fails
    manager.appendData(frame(6, 0, true, messageText("F", {})));
    QCOMPARE(spy.size(), 0);
    manager.appendData(frame(1, 0, true, "broken")); // A fails
    QCOMPARE(spy.size(), 2);
    QCOMPARE(cmdAt(spy, 0), QString("B"));
    QCOMPARE(cmdAt(spy, 1), QString("F"));
    QCOMPARE(manager.incomingMessageCount(), 0);

    // A failed message whose uid comes back later starts afresh.
    manager.appendData(frame(1, 0, true, messageText("again", {})));
    QCOMPARE(spy.size(), 3);
    QCOMPARE(cmdAt(spy, 2), QString("again"));
}

void TestRequestManager::senderUidIsReplacedByFrameUid()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    // The text claims uid 5 and params carry their own "uid"; the frame says 77.
    const QByteArray text = messageText("u", QJsonObject{{"uid", "sender"}, {"a", 1}}, 5);
    manager.appendData(frame(77, 0, true, text));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(paramsAt(spy, 0).value("uid").toString(), QString("77"));
    QCOMPARE(paramsAt(spy, 0).value("a").toInt(), 1);
    // Missing "type" and non-object "params" are read leniently.
    manager.appendData(frame(78, 0, true, "{\"params\": 3}"));
    QCOMPARE(spy.size(), 2);
    QCOMPARE(cmdAt(spy, 1), QString());
    QCOMPARE(paramsAt(spy, 1), QJsonObject({{"uid", "78"}}));
}

void TestRequestManager::receiveComplateOnlyWhenBufferEmpty()
{
    RequestManager manager;
    QSignalSpy complete(&manager, &IRCRequestManager::receiveComplate);
    manager.appendData(QByteArray());
    QCOMPARE(complete.size(), 1); // an empty buffer, loop never started
    const QByteArray f = frame(1, 0, true, messageText("x", {}));
    manager.appendData(f.left(30));
    QCOMPARE(complete.size(), 1);
    manager.appendData(f.mid(30) + f.left(10));
    QCOMPARE(complete.size(), 1);
    manager.appendData(f.mid(10));
    QCOMPARE(complete.size(), 2);
}

void TestRequestManager::listenerMayFeedAndSendFromDelivery()
{
    RequestManager manager;
    QList<QString> order;
    int sentFrames = 0;
    connect(&manager, &IRCRequestManager::buffSendRequest, this, [&] { ++sentFrames; });
    connect(&manager, &IRCRequestManager::cmdReceive, this, [&](const QString& cmd, const QJsonObject&) {
        order << cmd;
        manager.sendCmd("reply-" + cmd, {}, {});
        if (cmd == "first")
            manager.appendData(frame(2, 0, true, messageText("second", {})));
    });
    manager.appendData(frame(1, 0, true, messageText("first", {})) +
                       frame(3, 0, true, messageText("third", {})));
    QCOMPARE(order, (QList<QString>{"first", "third", "second"}));
    QCOMPARE(sentFrames, 3);
    QCOMPARE(manager.bufferedBytes(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestRequestManager::stalledMessagesAreBoundedByCount()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    // A never-completed message first, then more than the cap of complete ones.
    manager.appendData(frame(1, 0, false, "{"));
    const int n = NetworkLimits::kMaxPendingMessages + 10;
    QByteArray stream;
    for (int i = 0; i < n; ++i)
        stream += frame(1000 + i, 0, true, messageText("m", QJsonObject{{"i", i}}));
    manager.appendData(stream);
    // The stalled message was dropped when the cap was reached; everything after flowed.
    QCOMPARE(spy.size(), n);
    QCOMPARE(paramsAt(spy, 0).value("i").toInt(), 0);
    QCOMPARE(paramsAt(spy, n - 1).value("i").toInt(), n - 1);
    QCOMPARE(manager.incomingMessageCount(), 0);

    // Many stalled messages: the manager never holds more than the cap.
    QByteArray stalled;
    for (int i = 0; i < n; ++i)
        stalled += frame(50000 + i, 0, false, "{");
    manager.appendData(stalled);
    QVERIFY(manager.incomingMessageCount() <= NetworkLimits::kMaxPendingMessages);
}

void TestRequestManager::oversizedMessageIsDroppedAndOthersFlow()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    const QByteArray chunk(1024 * 1024, 'x');
    manager.appendData(frame(1, 0, false, "{\"type\": \"huge\", \"params\": {\"p\": \""));
    manager.appendData(frame(2, 0, true, messageText("behind", {})));
    for (qsizetype total = 0; total <= NetworkLimits::kMaxMessageSize; total += chunk.size())
        manager.appendData(frame(1, 0, false, chunk));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(cmdAt(spy, 0), QString("behind"));
    QVERIFY(manager.pendingMessageBytes() < NetworkLimits::kMaxMessageSize);
}

void TestRequestManager::pendingBytesAreBounded()
{
    RequestManager manager;
    const QByteArray chunk(512 * 1024, 'x');
    // Many distinct messages each holding 8 MiB, none completing.
    for (int m = 0; m < 12; ++m)
        for (int k = 0; k < 16; ++k)
            manager.appendData(frame(10 + m, 0, false, chunk));
    QVERIFY(manager.pendingMessageBytes() <= NetworkLimits::kMaxPendingMessageBytes);
    QVERIFY(manager.incomingMessageCount() > 0);
}

void TestRequestManager::roundTripBetweenTwoManagers()
{
    RequestManager sender;
    RequestManager receiver;
    connect(&sender, &IRCRequestManager::buffSendRequest, &receiver,
            [&](const QByteArray& buff, const QVariant&) { receiver.appendData(buff); });
    QSignalSpy spy(&receiver, &IRCRequestManager::cmdReceive);
    const QJsonObject big{{"blob", QString(5000, 'b')}, {"n", 3}};
    sender.sendCmd("big", big, {});
    sender.sendCmd("small", QJsonObject{{"s", "t"}}, {});
    // The small one completes first on the wire but is held behind the big one.
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(cmdAt(spy, 0), QString("big"));
    QCOMPARE(paramsAt(spy, 0).value("blob").toString(), big.value("blob").toString());
    QCOMPARE(cmdAt(spy, 1), QString("small"));
    QCOMPARE(sender.outgoingCount(), 0);
}

QTEST_GUILESS_MAIN(TestRequestManager)
#include "tst_requestmanager.moc"
