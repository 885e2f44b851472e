#include "project/PhotoSelection.h"

#include "project/PathSelection.h"
#include "project/PhotoCache.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

PhotoSelection::PhotoSelection(QObject* parent) : QObject(parent) {}

bool PhotoSelection::isAcceptedImageFile(const QString& path)
{
    return QFileInfo(path).suffix() == QLatin1String("png");
}

void PhotoSelection::configureDialog(QFileDialog& dialog, const QString& imageFolder)
{
    dialog.setWindowTitle(tr("选择图标"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Images(*.png)"));
    PathSelection::prepareReadOnly(
        dialog, {imageFolder, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)});
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
    QFileDialog dialog;
    configureDialog(dialog, m_imageFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return;
    if (!isAcceptedImageFile(path)) {
        QMessageBox::warning(nullptr, tr("警告"), tr("只支持png图片"), QMessageBox::Ok);
        return;
    }
    Q_EMIT imageSelected(path);
}
