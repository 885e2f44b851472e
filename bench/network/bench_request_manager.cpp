// Reassembly and framing throughput of RequestManager, next to a bare memcpy of
// the same bytes in the same run. Streams are fed in 4 KiB pieces, as a socket
// would yield them; deferred deletions are processed after each piece, as the
// event loop would between two reads.
#include "BenchSupport.h"
#include "network/FileHead.h"
#include "network/MessageRequest.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>

namespace {
constexpr qsizetype kPiece = 4096;

// A file transfer of `bytes` content bytes as it appears on the wire:
// FileHead chunk, information chunk, then 1024-byte content frames.
const QByteArray& fileStream(qsizetype bytes)
{
    static std::map<qsizetype, QByteArray> cache;
    QByteArray& s = cache[bytes];
    if (!s.isEmpty())
        return s;
    const QByteArray info =
        QJsonDocument(QJsonObject{{"name", "x"}, {"size", QString::number(bytes)}}).toJson();
    FileHead fh;
    fh.infoLength = qint32(info.size());
    s += RequestHead::frame(1, ERequestType_File, false, fh.toBytes());
    s += RequestHead::frame(1, ERequestType_File, false, info);
    const QByteArray chunk(1024, 'c');
    for (qsizetype pos = 0; pos < bytes; pos += 1024)
        s += RequestHead::frame(1, ERequestType_File, pos + 1024 >= bytes, chunk);
    return s;
}

// Single-chunk messages of about 1000 bytes each, `bytes` in all.
const QByteArray& messageStream(qsizetype bytes)
{
    static std::map<qsizetype, QByteArray> cache;
    QByteArray& s = cache[bytes];
    if (!s.isEmpty())
        return s;
    quint64 uid = 1;
    while (s.size() < bytes) {
        const QByteArray text =
            MessageRequest::buildText("setNode", QJsonObject{{"v", QString(940, 'm')}}, uid);
        s += RequestHead::frame(uid++, ERequestType_Message, true, text);
    }
    return s;
}

void feed(RequestManager& manager, const QByteArray& stream)
{
    for (qsizetype pos = 0; pos < stream.size(); pos += kPiece) {
        manager.appendData(stream.mid(pos, kPiece));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void BM_Memcpy(benchmark::State& state)
{
    const QByteArray& stream = fileStream(state.range(0) << 20);
    QByteArray dest(stream.size(), Qt::Uninitialized);
    for (auto _ : state) {
        for (qsizetype pos = 0; pos < stream.size(); pos += kPiece)
            std::memcpy(dest.data() + pos, stream.constData() + pos,
                        size_t(qMin(kPiece, stream.size() - pos)));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
}

void BM_ReassembleFileFrames(benchmark::State& state)
{
    const QByteArray& stream = fileStream(state.range(0) << 20);
    qint64 received = 0;
    for (auto _ : state) {
        RequestManager manager;
        QObject::connect(&manager, &IRCRequestManager::fileContentReceive,
                         [&received](const QByteArray& d) { received += d.size(); });
        feed(manager, stream);
    }
    if (received != state.iterations() * (state.range(0) << 20))
        state.SkipWithError("content lost");
    state.SetBytesProcessed(state.iterations() * stream.size());
}

void BM_ReassembleMessageFrames(benchmark::State& state)
{
    const QByteArray& stream = messageStream(state.range(0) << 20);
    qint64 delivered = 0;
    for (auto _ : state) {
        RequestManager manager;
        QObject::connect(&manager, &IRCRequestManager::cmdReceive, [&delivered] { ++delivered; });
        feed(manager, stream);
    }
    state.counters["msgs/s"] = benchmark::Counter(double(delivered), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(state.iterations() * stream.size());
}

void BM_GarbageThenFrame(benchmark::State& state)
{
    QByteArray stream(1 << 20, 'g');
    for (qsizetype i = 0; i < stream.size(); i += 97)
        stream[i] = '\x02'; // lone magic bytes to keep the scanner busy
    stream += RequestHead::frame(1, ERequestType_Message, true, MessageRequest::buildText("x", {}, 1));
    int delivered = 0;
    for (auto _ : state) {
        RequestManager manager;
        QObject::connect(&manager, &IRCRequestManager::cmdReceive, [&delivered] { ++delivered; });
        feed(manager, stream);
    }
    if (delivered != state.iterations())
        state.SkipWithError("frame lost");
    state.SetBytesProcessed(state.iterations() * stream.size());
}

void BM_FrameOutgoingChunk(benchmark::State& state)
{
    const QByteArray chunk(1024, 'o');
    quint64 uid = 0;
    for (auto _ : state) {
        QByteArray f = RequestHead::frame(++uid, ERequestType_File, false, chunk);
        benchmark::DoNotOptimize(f);
    }
    state.SetBytesProcessed(state.iterations() * (chunk.size() + RequestHead::Size));
}

void BM_SendShortCommand(benchmark::State& state)
{
    RequestManager manager;
    qint64 bytes = 0;
    QObject::connect(&manager, &IRCRequestManager::buffSendRequest,
                     [&bytes](const QByteArray& b) { bytes += b.size(); });
    const QJsonObject params{{"id", "{7d8a0f8e-3a53-4b7e-9d42-0c5f1a2b3c4d}"}, {"playState", 1}};
    int n = 0;
    for (auto _ : state) {
        manager.sendCmd("setProgramPlayState", params, QVariant());
        if (++n % 256 == 0)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.SetBytesProcessed(bytes);
}
} // namespace

BENCHMARK(BM_Memcpy)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReassembleFileFrames)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReassembleMessageFrames)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GarbageThenFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameOutgoingChunk);
BENCHMARK(BM_SendShortCommand);

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
