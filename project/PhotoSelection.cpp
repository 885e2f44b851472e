#include "project/PhotoSelection.h"

#include "project/PathSelection.h"
#include "project/PhotoCache.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

PathSelection::Choice iconChoice(const QString& imageFolder)
{
    return PathSelection::Choice{
        PhotoSelection::tr("选择图标"),
        false,
        {QStringLiteral("Images(*.png)")},
        {imageFolder, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)}};
}

} // namespace

PhotoSelection::PhotoSelection(QObject* parent) : QObject(parent) {}

bool PhotoSelection::isAcceptedImageFile(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
}

QString PhotoSelection::refusalOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty())
        return tr("无法读取图片 %1").arg(name);
    // The views hold every picture with 32-bit pixels.
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    const int limitMb = QImageReader::allocationLimit();
    if (limitMb > 0 && bytes > qint64(limitMb) * 1024 * 1024)
        return tr("图片 %1 太大（%2×%3）").arg(name).arg(size.width()).arg(size.height());
    if (reader.read().isNull())
        return tr("无法读取图片 %1").arg(name);
    return QString();
}

void PhotoSelection::configureDialog(QFileDialog& dialog, const QString& imageFolder)
{
    PathSelection::configureDialog(dialog, iconChoice(imageFolder));
}

void PhotoSelection::setImageFolder(const QString& folder)
{
    if (folder == m_imageFolder)
        return;
    m_imageFolder = folder;
    Q_EMIT imageFolderChanged();
}

void PhotoSelection::onIosImageSelected(const QImage& img)
{
    Q_EMIT imageSelected(PhotoCache::instance()->cacheImage(img));
}

void PhotoSelection::show()
{
    const QString path = PathSelection::pick(iconChoice(m_imageFolder));
    if (path.isEmpty())
        return;
    if (!isAcceptedImageFile(path)) {
        QMessageBox::warning(nullptr, tr("警告"), tr("只支持png图片"), QMessageBox::Ok);
        return;
    }
    const QString refusal = refusalOf(path);
    if (!refusal.isEmpty()) {
        QMessageBox::warning(nullptr, tr("警告"), refusal, QMessageBox::Ok);
        return;
    }
    Q_EMIT imageSelected(path);
}
