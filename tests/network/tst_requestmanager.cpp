// Byte-level behaviour of the framing engine: head layout, message text,
// chunking and pacing, reassembly with resynchronisation, in-order delivery and
// the bounds on what a peer can make the manager hold.
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
    void datagramMessageCarriesDestination();

    void streamIsDeliveredInArrivalOrder_data();
    void streamIsDeliveredInArrivalOrder();
    void receiveComplateOnlyWhenBufferEmpty();

    void stalledMessagesAreBoundedByCount();
    void oversizedMessageIsDroppedAndOthersFlow();
    void pendingBytesAreBounded();
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
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(NetworkLimits::kChunkSize + 5, 'f'));
    }
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

void TestRequestManager::datagramMessageCarriesDestination()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::buffRadioRequest);
    manager.sendRadioCmd("requestServerConfig", QJsonObject{{"port", 5}}, QHostAddress::LocalHost, 1234);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(1).value<QHostAddress>(), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(spy.at(0).at(2).toInt(), 1234);
    RequestManager receiver;
    QSignalSpy received(&receiver, &IRCRequestManager::cmdReceive);
    receiver.appendData(spy.at(0).at(0).toByteArray());
    QCOMPARE(received.at(0).at(1).toJsonObject().value("port").toInt(), 5);
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

void TestRequestManager::stalledMessagesAreBoundedByCount()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    // A never-completed message first, then more than the cap of complete ones.
    manager.appendData(frame(1, 0, false, "{"));
    const int n = NetworkLimits::kMaxPendingMessages + 10;
    QByteArray stream;
    for (int i = 0; i < n; ++i)
        stream += frame(1000 + i, 0, true, text("m", QJsonObject{{"i", i}}));
    manager.appendData(stream);
    // The stalled message was dropped when the cap was reached; everything after flowed.
    QCOMPARE(spy.size(), n);
    QCOMPARE(spy.last().at(1).toJsonObject().value("i").toInt(), n - 1);
    QCOMPARE(manager.incomingMessageCount(), 0);

    stream.clear();
    for (int i = 0; i < n; ++i)
        stream += frame(50000 + i, 0, false, "{");
    manager.appendData(stream);
    QVERIFY(manager.incomingMessageCount() <= NetworkLimits::kMaxPendingMessages);
}

void TestRequestManager::oversizedMessageIsDroppedAndOthersFlow()
{
    RequestManager manager;
    QSignalSpy spy(&manager, &IRCRequestManager::cmdReceive);
    const QByteArray chunk(1024 * 1024, 'x');
    manager.appendData(frame(1, 0, false, "{\"type\": \"huge\", \"params\": {\"p\": \""));
    manager.appendData(frame(2, 0, true, text("behind")));
    for (qsizetype total = 0; total <= NetworkLimits::kMaxMessageSize; total += chunk.size())
        manager.appendData(frame(1, 0, false, chunk));
    QCOMPARE(delivered(spy), QStringList{"behind@2"});
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

QTEST_GUILESS_MAIN(TestRequestManager)
#include "tst_requestmanager.moc"
