#include "project/RCProjectFileReader.h"

#include "project/RCPacketFolder.h"
#include "project/RCProjectJsonParser.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <system_error>

RCProjectFileReader::Result RCProjectFileReader::read(const QString& filePath)
{
    Result result;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.opened = true;
    const QFileInfo info(file);
    result.size = info.size();
    result.modified = info.lastModified();
    result.document = RCProjectJsonParser::parse(file.readAll(), &result.error, &result.sceneRows);
    return result;
}

QString RCProjectFileReader::localPath(const QString& filePathOrUrl)
{
    return filePathOrUrl.startsWith(QLatin1String("file:")) ? QUrl(filePathOrUrl).toLocalFile() : filePathOrUrl;
}

RCProjectFileReader::RCProjectFileReader(const QString& filePathOrUrl)
    : m_resolvedPath(QFileInfo(localPath(filePathOrUrl)).canonicalFilePath())
{
    // Only the file that a load of its packet reads is read ahead (whatever else a command line
    // names is never read); a path that leads to no file is not either: the load says why.
    const QFileInfo file(m_resolvedPath);
    if (!m_resolvedPath.isEmpty() && file.isFile() &&
        QFileInfo(RCPacketFolder::projectFileOf(file.absolutePath())).canonicalFilePath() == m_resolvedPath) {
        // Qt takes the first thread that makes one of its objects for its main thread, and the
        // read makes a QFile: this thread (main's, before the application object exists) is made
        // known to Qt first.
        QThread::currentThread();
        // Without a thread (the system refused one) nothing is read ahead.
        try {
            m_ahead = std::async(std::launch::async, &RCProjectFileReader::read, m_resolvedPath);
        } catch (const std::system_error&) {
        }
    }
}

RCProjectFileReader::~RCProjectFileReader()
{
    if (m_ahead.valid())
        m_ahead.wait();
}

void RCProjectFileReader::wait() const
{
    if (m_ahead.valid())
        m_ahead.wait();
}

RCProjectFileReader::Result RCProjectFileReader::take(const QString& filePath)
{
    if (!m_ahead.valid())
        return read(filePath);
    Result ahead = m_ahead.get();
    const QFileInfo now(filePath);
    if (now.canonicalFilePath() != m_resolvedPath || !ahead.opened || now.size() != ahead.size ||
        now.lastModified() != ahead.modified)
        return read(filePath);
    return ahead;
}
