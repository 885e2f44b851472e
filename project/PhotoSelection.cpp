#include "project/PhotoSelection.h"

#include "project/PhotoCache.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

PhotoSelection::PhotoSelection(QObject* parent) : QObject(parent) {}

bool PhotoSelection::isAcceptedImageFile(const QString& path)
{
    return QFileInfo(path).suffix() == QLatin1String("png");
}

void PhotoSelection::onIosImageSelected(const QImage& img)
{
    Q_EMIT imageSelected(PhotoCache::instance()->cacheImage(img));
}

void PhotoSelection::show()
{
    const QString path =
        QFileDialog::getOpenFileName(nullptr, tr("选择图标"), QString(), QStringLiteral("Images(*.png)"));
    if (path.isEmpty())
        return;
    if (!isAcceptedImageFile(path)) {
        QMessageBox::warning(nullptr, tr("警告"), tr("只支持png图片"), QMessageBox::Ok);
        return;
    }
    Q_EMIT imageSelected(path);
}
