#include "TestSupport.h"

#include "editing/Platform.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "support/FileTree.h"

#include <QImage>

TestSupport::TestSupport(QObject* parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        m_exitCode = status == QProcess::NormalExit ? code : -1;
        m_output = QString::fromLocal8Bit(m_process.readAll());
        Q_EMIT finished(m_exitCode);
    });
}

void TestSupport::undo()
{
    Platform::instance()->undo();
}

void TestSupport::redo()
{
    Platform::instance()->redo();
}

bool TestSupport::canUndo()
{
    return Platform::instance()->canUndo();
}

bool TestSupport::start(const QString& program, const QStringList& arguments)
{
    if (m_process.state() != QProcess::NotRunning)
        return false;
    m_exitCode = -1;
    m_output.clear();
    m_process.start(program, arguments);
    return m_process.waitForStarted(10000);
}

bool TestSupport::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

int TestSupport::exitCode() const
{
    return m_exitCode;
}

QString TestSupport::output() const
{
    return m_output;
}

QString TestSupport::tempPath() const
{
    return m_tempDir.path();
}

bool TestSupport::writeFile(const QString& path, int size)
{
    return ::writeFile(path, QByteArray(size, 'x'));
}

QString TestSupport::propertyType(const QString& sceneId, const QString& itemId, const QString& name)
{
    const QVariant value = itemId.isEmpty()
                               ? RCScenePresenter::instance()->getPropertyValue(sceneId, name)
                               : RCSceneItemPresenter::instance()->getPropertyValue(sceneId, itemId, name);
    return QString::fromLatin1(value.typeName());
}

int TestSupport::objectCount(QObject* object)
{
    return object ? int(object->findChildren<QObject*>().size()) : 0;
}

QString TestSupport::makeFolder(const QString& name)
{
    QTemporaryDir dir(QDir(m_tempDir.path()).filePath(name + QStringLiteral("-XXXXXX")));
    dir.setAutoRemove(false);
    return dir.isValid() ? dir.path() : QString();
}

bool TestSupport::writeText(const QString& path, const QString& text)
{
    return ::writeFile(path, text.toUtf8());
}

QString TestSupport::readText(const QString& path) const
{
    return QString::fromUtf8(::readFile(path));
}

bool TestSupport::exists(const QString& path) const
{
    return QFileInfo::exists(path);
}

bool TestSupport::isDrawnImage(const QString& path) const
{
    const QImage image(path);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0 && (qRed(pixel) | qGreen(pixel) | qBlue(pixel)) != 0)
                return true;
        }
    }
    return false;
}
