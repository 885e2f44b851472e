#include "project/RCProjectFileRecord.h"

#include "project/RCImageManager.h"

#include <QFileInfo>

#include <chrono>
#include <filesystem>
#include <system_error>

RCProjectFileRecord::~RCProjectFileRecord()
{
    if (m_pictures.valid())
        m_pictures.wait();
}

RCProjectFileRecord::Identity RCProjectFileRecord::identityOf(const QString& filePath)
{
    // QFileInfo keeps milliseconds only: a rewrite of the same size within one would pass.
    const std::filesystem::path path(filePath.toStdU16String());
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return {};
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return {};
    return {qint64(size),
            qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count())};
}

void RCProjectFileRecord::recordFile(const QString& filePath, const QString& imageFolder)
{
    if (m_pictures.valid())
        m_pictures.wait();
    m_path = QFileInfo(filePath).absoluteFilePath();
    m_imageFolder = imageFolder;
    m_identity = identityOf(filePath);
}

void RCProjectFileRecord::record(const QString& filePath, const QString& imageFolder, const QSet<QString>& pictures)
{
    recordFile(filePath, imageFolder);
    std::promise<QSet<QString>> known;
    known.set_value(pictures);
    m_pictures = known.get_future().share();
}

void RCProjectFileRecord::record(const QString& filePath, const QString& imageFolder, const QJsonValue& json)
{
    recordFile(filePath, imageFolder);
    // The JSON is let go as soon as its pictures are known: it may be as large as the document.
    auto work = [held = QJsonValue(json), imageFolder]() mutable {
        const QJsonValue mine = std::move(held);
        held = QJsonValue();
        return RCImageManager::filesNamedBy(mine, imageFolder);
    };
    // Without a thread (the system refused one) they are worked out here.
    try {
        m_pictures = std::async(std::launch::async, work).share();
    } catch (const std::system_error&) {
        record(filePath, imageFolder, work());
    }
}

RCProjectFileRecord::State RCProjectFileRecord::state(const QString& filePath, const QString& imageFolder) const
{
    if (m_path.isEmpty() || QFileInfo(filePath).absoluteFilePath() != m_path)
        return State::Unknown;
    if (!imageFolder.isEmpty() && !RCImageManager::sameFolder(imageFolder, m_imageFolder))
        return State::Unknown;
    const Identity now = identityOf(filePath);
    if (now.size < 0)
        return State::Gone;
    return now == m_identity ? State::Unchanged : State::Changed;
}

QSet<QString> RCProjectFileRecord::pictures() const
{
    return m_pictures.valid() ? m_pictures.get() : QSet<QString>();
}
