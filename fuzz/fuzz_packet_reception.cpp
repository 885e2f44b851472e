// What a panel receives from a designer once its user accepted: "issueBegin", file transfers and
// "issueComlate", for a receive folder that holds an installed packet. They reach a
// PacketReception as the panel's connection worker hands them over: the first fault refuses the
// packet and ends the link; a whole packet is installed when its "project.tavx" looks like a JSON
// object, as the project root installs only a packet that opens, and dropped otherwise.
//
// Input: byte 0 picks the reading (odd: a stream of framed requests that a RequestManager decodes,
// as on the link; even: a list of operations, see Op, which reach deeper); byte 1 sets the free
// space of the receive folder; the rest is read as picked.
//
// Oracle, after every input: nothing lies outside the receive folder (no staging, received or
// stray entry beside it, nothing in the folders around it, nothing in the working folder), and the
// installed packet is, byte for byte, the last one installed: the earlier packet when none was.
#include "fuzz/FuzzApplication.h"
#include "network/PacketReception.h"
#include "network/RequestHead.h"
#include "network/RequestManager.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
using Files = QMap<QString, QByteArray>;

constexpr int kMaxOps = 64;

// The operations of the even reading; each starts with a byte whose low three bits pick it.
enum Op
{
    Op_BeginNumber, // u16 total as decimal text
    Op_BeginText,   // text as "totalSize"
    Op_FileInfo,    // path, u16 size (bit 3 of the op byte: the size as text instead)
    Op_Content,     // path, length byte and that many bytes; bit 3: last chunk
    Op_Complete,
    Op_FileError,
    Op_Accept // the user accepts another offer ("download")
};

// The folders of the run: <temp>/outer/{cwd, inner/root/downloadProject}; the process works in cwd.
struct Tree
{
    QTemporaryDir temp;
    QString outer, inner, root, cwd, receive;
    // An absolute path into the tree, for a designer that names one.
    QString absolute;

    Tree()
        : temp(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                   ? QStringLiteral("/dev/shm/tavix-fuzz-XXXXXX")
                   : QString())
    {
        outer = temp.path() + QStringLiteral("/outer");
        inner = outer + QStringLiteral("/inner");
        root = inner + QStringLiteral("/root");
        cwd = outer + QStringLiteral("/cwd");
        receive = root + QStringLiteral("/downloadProject");
        absolute = inner + QStringLiteral("/abs.txt");
        QDir().mkpath(cwd);
        QDir::setCurrent(cwd);
    }
};

Tree& tree()
{
    ensureFuzzApplication("fuzz_packet_reception");
    static Tree instance;
    return instance;
}

const Files& earlierPacket()
{
    static const Files files{{QStringLiteral("project.tavx"), QByteArrayLiteral("{\"sceneArray\": {}}")},
                             {QStringLiteral("image/e.png"), QByteArrayLiteral("earlier picture")}};
    return files;
}

Files contentsBelow(const QString& folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(QDir(folder).relativeFilePath(path),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return files;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

[[noreturn]] void fail(const char* what)
{
    qInstallMessageHandler(nullptr);
    qFatal("fuzz_packet_reception: %s", what);
}

// The panel's side of one link, as its connection worker drives the reception.
class Panel
{
public:
    Panel(const QString& receive, qint64 freeSpace)
        : m_receive(receive), m_reception([freeSpace](const QString&) { return freeSpace; })
    {
    }

    const Files& installed() const { return m_installed; }
    bool linked() const { return !m_refused; }

    void command(const QString& cmd, const QJsonObject& params)
    {
        if (m_refused)
            return;
        if (cmd == QLatin1String("issueBegin")) {
            bool isNumber = false;
            const qint64 total = params.value(QStringLiteral("totalSize")).toString().toLongLong(&isNumber);
            if (!m_accepted || m_reception.isActive() || !isNumber || !m_reception.begin(m_receive, total))
                return refuse();
            m_accepted = false;
        } else if (cmd == QLatin1String("issueComlate") && m_reception.isActive()) {
            if (!m_reception.commit())
                return refuse();
            settle();
        }
    }
    void fileInfo(const QVariantMap& info)
    {
        if (!m_refused && (!m_reception.isActive() || !m_reception.openFile(info)))
            refuse();
    }
    void content(const QByteArray& data, bool last, const QVariantMap& info)
    {
        if (!m_refused && !m_reception.write(info, data, last))
            refuse();
    }
    void fileError()
    {
        if (!m_refused && m_reception.isActive())
            refuse();
    }
    void accept()
    {
        if (!m_refused && !m_reception.isActive())
            m_accepted = true;
    }
    // The link ends.
    void end() { m_reception.abort(); }

private:
    void refuse()
    {
        m_reception.abort();
        m_refused = true;
    }
    // What the project root does with a whole packet.
    void settle()
    {
        const QString received = PacketReception::receivedPathOf(m_receive);
        const Files files = contentsBelow(received);
        if (files.value(QStringLiteral("project.tavx")).startsWith('{')) {
            if (!PacketReception::installReceived(m_receive))
                fail("a whole packet did not install");
            m_installed = files;
        } else {
            PacketReception::discardReceived(m_receive);
        }
    }

    QString m_receive;
    PacketReception m_reception;
    Files m_installed = earlierPacket();
    bool m_accepted = true;
    bool m_refused = false;
};

struct Reader
{
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    bool atEnd() const { return pos >= size; }
    uint8_t byte() { return pos < size ? data[pos++] : 0; }
    quint16 u16() { return quint16(byte() | (byte() << 8)); }
    QByteArray bytes(size_t n)
    {
        n = qMin(n, size - qMin(pos, size));
        const QByteArray out(reinterpret_cast<const char*>(data) + pos, qsizetype(n));
        pos += n;
        return out;
    }
    QString text() { return QString::fromUtf8(bytes(byte())); }
};

// A path a designer might name: from a list (byte below 0x80) or free text of the byte's length.
QString pathOf(Reader& in)
{
    static const QStringList paths{QStringLiteral("project.tavx"),
                                   QStringLiteral("thumbnail.png"),
                                   QStringLiteral("image/a.png"),
                                   QStringLiteral("image/sub/b.png"),
                                   QStringLiteral("image"),
                                   QStringLiteral("image\\a.png"),
                                   QStringLiteral("../x"),
                                   QStringLiteral("image/../../x"),
                                   QStringLiteral("..\\x"),
                                   QStringLiteral("C:x"),
                                   QStringLiteral("\\\\server\\share\\x"),
                                   QStringLiteral("image//x"),
                                   QStringLiteral("."),
                                   QStringLiteral(" . "),
                                   QStringLiteral("../downloadProject/project.tavx"),
                                   QStringLiteral("a\x01")};
    const uint8_t pick = in.byte();
    if (pick == 0x7f)
        return tree().absolute;
    if (pick < 0x80)
        return paths.at(pick % paths.size());
    return QString::fromUtf8(in.bytes(pick & 0x7f));
}

QVariantMap infoOf(const QString& path, const QString& size)
{
    return {{QStringLiteral("relativeFilePath"), path}, {QStringLiteral("size"), size}};
}

void runOps(Reader& in, Panel& panel)
{
    for (int n = 0; n < kMaxOps && !in.atEnd() && panel.linked(); ++n) {
        const uint8_t op = in.byte();
        const bool flag = op & 8;
        switch (op & 7) {
        case Op_BeginNumber:
            panel.command(QStringLiteral("issueBegin"),
                          {{QStringLiteral("totalSize"), QString::number(in.u16())}});
            break;
        case Op_BeginText:
            panel.command(QStringLiteral("issueBegin"), {{QStringLiteral("totalSize"), in.text()}});
            break;
        case Op_FileInfo: {
            const QString path = pathOf(in);
            panel.fileInfo(infoOf(path, flag ? in.text() : QString::number(in.u16())));
            break;
        }
        case Op_Content: {
            const QString path = pathOf(in);
            const QByteArray data = in.bytes(in.byte());
            panel.content(data, flag, infoOf(path, QString()));
            break;
        }
        case Op_Complete:
            panel.command(QStringLiteral("issueComlate"), {});
            break;
        case Op_FileError:
            panel.fileError();
            break;
        default:
            panel.accept();
            break;
        }
    }
}

// The odd reading: frames of a byte (bit 0: file transfer, bit 1: last chunk, bits 2-4: uid), a
// u16 length and that much payload, decoded by the link's own request layer.
void runStream(Reader& in, Panel& panel)
{
    RequestManager manager;
    QObject::connect(&manager, &IRCRequestManager::cmdReceive,
                     [&panel](const QString& cmd, const QJsonObject& params) { panel.command(cmd, params); });
    QObject::connect(&manager, &IRCRequestManager::fileinfoReceive,
                     [&panel](const QVariantMap& info) { panel.fileInfo(info); });
    QObject::connect(&manager, &IRCRequestManager::fileContentReceive,
                     [&panel](const QByteArray& data, bool last, const QVariantMap& info) {
                         panel.content(data, last, info);
                     });
    QObject::connect(&manager, &IRCRequestManager::fileReceiveError, [&panel] { panel.fileError(); });
    for (int n = 0; n < kMaxOps && !in.atEnd() && panel.linked(); ++n) {
        const uint8_t head = in.byte();
        const quint16 length = in.u16();
        manager.appendData(RequestHead::frame((head >> 2) & 7,
                                              head & 1 ? ERequestType_File : ERequestType_Message, head & 2,
                                              in.bytes(length)));
    }
}

void check(const Panel& panel)
{
    const Tree& t = tree();
    if (entriesOf(t.root) != QStringList(QStringLiteral("downloadProject")))
        fail("an entry beside the receive folder");
    if (entriesOf(t.inner) != QStringList(QStringLiteral("root")) ||
        entriesOf(t.outer) != QStringList({QStringLiteral("cwd"), QStringLiteral("inner")}) ||
        !entriesOf(t.cwd).isEmpty())
        fail("an entry outside the receive folder");
    if (contentsBelow(t.receive) != panel.installed())
        fail("the installed packet is not the last one installed");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Tree& t = tree();
    if (size < 2)
        return 0;

    QDir(t.root).removeRecursively();
    const Files& earlier = earlierPacket();
    for (auto it = earlier.cbegin(); it != earlier.cend(); ++it) {
        QDir().mkpath(QFileInfo(t.receive + QLatin1Char('/') + it.key()).path());
        QFile file(t.receive + QLatin1Char('/') + it.key());
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            fail("cannot write the earlier packet");
    }

    // Unknown, plenty, or a little room (up to 32 KiB) above the margin.
    const uint8_t room = data[1];
    const qint64 freeSpace = room == 0xff  ? -1
                             : room & 0x80 ? qint64(1) << 40
                                           : PacketReception::kFreeSpaceMargin + qint64(room) * 256;
    Panel panel(t.receive, freeSpace);
    Reader in{data + 2, size - 2};
    if (data[0] & 1)
        runStream(in, panel);
    else
        runOps(in, panel);
    panel.end();
    check(panel);
    return 0;
}
