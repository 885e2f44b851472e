#include "project/RCPacketFolder.h"
#include "project/RCProjectFileReader.h"

#include <QCoreApplication>

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

// main() starts reading its project file before the application object exists. The thread that
// reads opens a QFile, and Qt takes the first thread that makes one of its objects for its main
// thread: that must stay the thread that made the reader, whenever the read begins.
//
// A main of its own, as the program's: nothing of Qt's may run on this thread before the reader is
// made. The check waits (by a bounded count of looks, never by time) until the read-ahead holds
// its file open, so the read has begun on its thread before this one makes the application.

namespace {

int failed(const char* what)
{
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

// Whether a descriptor of this process has the file at path open.
bool isOpen(const std::string& path)
{
    DIR* fds = opendir("/proc/self/fd");
    if (!fds)
        return false;
    bool open = false;
    while (const dirent* entry = readdir(fds)) {
        char target[PATH_MAX];
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, size_t(n)) == path)
            open = true;
    }
    closedir(fds);
    return open;
}

QByteArray g_messages;

// Removes the file and its folder, however the check ends.
struct Cleanup
{
    std::string file;
    std::string folder;
    ~Cleanup()
    {
        unlink(file.c_str());
        rmdir(folder.c_str());
    }
};

} // namespace

int main(int argc, char* argv[])
{
    char folder[] = "/tmp/tavix-readahead-XXXXXX";
    if (!mkdtemp(folder))
        return failed("no temporary folder");
    char resolved[PATH_MAX];
    if (!realpath(folder, resolved))
        return failed("no temporary folder");
    const std::string path = std::string(resolved) + "/" + RCPacketFolder::ProjectFileName;
    const Cleanup cleanup{path, resolved};
    {
        // Large enough (about 6 MB, split over threads) to be seen open while it is read.
        std::ofstream file(path, std::ios::binary);
        file << "{\"version\": \"3.0.0\", \"sceneArray\": {\"sceneArray\": [";
        for (int s = 0; s < 192; ++s) {
            file << (s ? "," : "") << "{\"itemArray\": [";
            for (int i = 0; i < 400; ++i)
                file << (i ? "," : "") << "{\"propertyArray\": [{\"name\": \"Name\", \"value\": \"item " << i
                     << "\"}, {\"name\": \"X\", \"value\": " << i << "}]}";
            file << "]}";
        }
        file << "]}}\n";
        if (!file)
            return failed("the project file was not written");
    }

    RCProjectFileReader reader(QString::fromStdString(path));
    bool seen = false;
    for (int look = 0; look < 1000000 && !seen; ++look)
        seen = isOpen(path);
    if (!seen)
        return failed("the read-ahead was never seen reading its file: the order cannot be checked");

    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        g_messages += message.toUtf8() + '\n';
    });
    int code = 0;
    {
        QCoreApplication app(argc, argv);
        const RCProjectFileReader::Result read = reader.take(QString::fromStdString(path));
        if (!read.opened || !read.document.isObject() || read.sceneRows.size() != 192)
            code = failed("the read-ahead did not read the file");
    }
    qInstallMessageHandler(nullptr);
    if (g_messages.contains("main() thread")) {
        std::fprintf(stderr, "%s", g_messages.constData());
        code = failed("the read-ahead thread was taken for the main thread");
    }
    unlink(path.c_str());
    rmdir(folder);
    return code;
}
