// Feeds arbitrary commands to the command dispatch of a connected project. The input is read as
// lines, each a command name, a space and the JSON text of its parameters (text that is not a JSON
// object gives an empty object); at most kMaxCommands lines count. Every input starts on a freshly
// connected project for which the project downloads 0 to 3 count as asked for, so that
// "setProject" reaches its scene. Between inputs the link drops (the program table and the tracks
// empty), the Vexa lists and the document are cleared, so memory stays bounded. Must never crash,
// hang, leak or trip a sanitizer.
#include "editing/RCCommandManager.h"
#include "fuzz/FuzzApplication.h"
#include "mirror/RCCmdProcesserManager.h"
#include "model/RCSceneManager.h"
#include "tests/support/FakeProject.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

namespace {
constexpr int kMaxCommands = 64;
constexpr int kAskedDownloads = 4;

struct Dispatch
{
    FakeProject project;
    RCCmdProcesserManager manager;
};

Dispatch& dispatch()
{
    ensureFuzzApplication("fuzz_cmd_dispatch");
    static Dispatch instance;
    return instance;
}
} // namespace

// The mirror every input reaches, for the corpus test's checks between inputs.
IRCStelvaneSyncer* fuzzDispatchMirror();
IRCStelvaneSyncer* fuzzDispatchMirror()
{
    return dispatch().project.mirror();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Dispatch& d = dispatch();

    for (int id = 0; id < kAskedDownloads; ++id)
        d.project.mirror()->addProjectRequest(id);
    d.manager.process(QStringLiteral("connected"), QJsonObject(), &d.project);

    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> lines = input.split('\n');
    for (qsizetype i = 0; i < lines.size() && i < kMaxCommands; ++i) {
        const QByteArray& line = lines.at(i);
        const qsizetype space = line.indexOf(' ');
        const QString cmd = QString::fromUtf8(space < 0 ? line : line.left(space));
        const QJsonObject params =
            space < 0 ? QJsonObject() : QJsonDocument::fromJson(line.mid(space + 1)).object();
        d.manager.process(cmd, params, &d.project);
    }

    d.project.dropLink();
    d.project.mirror()->clearVexaProgramManager();
    RCSceneManager::instance()->fromJson(QJsonObject());
    RCCommandManager::instance()->clear();
    return 0;
}
