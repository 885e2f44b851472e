#include "TestSupport.h"

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "project/IRCProject.h"
#include "support/ObjectsBelow.h"

#include <QColor>
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

bool TestSupport::start(const QString& program, const QStringList& arguments)
{
    if (m_process.state() != QProcess::NotRunning)
        return false;
    m_exitCode = -1;
    m_output.clear();
    m_process.start(program, arguments);
    return m_process.waitForStarted(10000);
}

QString TestSupport::propertyType(const QString& sceneId, const QString& itemId, const QString& name)
{
    const QVariant value = itemId.isEmpty()
                               ? RCScenePresenter::instance()->getPropertyValue(sceneId, name)
                               : RCSceneItemPresenter::instance()->getPropertyValue(sceneId, itemId, name);
    return QString::fromLatin1(value.typeName());
}

QString TestSupport::makeFolder(const QString& name)
{
    QTemporaryDir dir(QDir(m_tempDir.path()).filePath(name + QStringLiteral("-XXXXXX")));
    dir.setAutoRemove(false);
    return dir.isValid() ? dir.path() : QString();
}

bool TestSupport::writeImage(const QString& path, const QString& color, int width, int height) const
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(color));
    return image.save(path, "PNG");
}

QString TestSupport::pixelColor(const QString& path, int x, int y) const
{
    const QImage image(path);
    return image.valid(x, y) ? QColor(image.pixel(x, y)).name() : QString();
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

int TestSupport::objectCount(QObject* object)
{
    return objectsBelow(object);
}

void TestSupport::setInitState(QObject* project, int state)
{
    if (auto* p = qobject_cast<IRCProject*>(project))
        p->setInitState(state);
}
