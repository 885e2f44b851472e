#include "project/RCFileWrite.h"

#include "project/RCLogCategories.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

void setReason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
}

} // namespace

QString RCFileWrite::failureText(const QString& path, const QFileDevice& device)
{
    const QString why = device.error() == QFileDevice::ResourceError
                            ? tr("磁盘空间不足")
                            : (device.errorString().isEmpty() ? tr("写入不完整") : device.errorString());
    return tr("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), why);
}

bool RCFileWrite::write(const QString& path, const QByteArray& data, QString* reason)
{
    setReason(reason, QString());
    QSaveFile file(path);
    // Unbuffered: Qt 6.4's QSaveFile commits a file whose buffered tail could not be flushed, so
    // every byte goes to the disk here, where write() sees it refused.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setReason(reason, failureText(path, file));
        qCWarning(lcRcProject) << "RCFileWrite: cannot open" << path << file.errorString();
        return false;
    }
    // A write may take fewer bytes than asked (the device filled up mid-way) without an error; the
    // next attempt then reports why.
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = file.write(data.constData() + written, data.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != data.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        setReason(reason, failureText(path, file));
        qCWarning(lcRcProject) << "RCFileWrite: short write" << path << written << "of" << data.size()
                               << file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setReason(reason, failureText(path, file));
        qCWarning(lcRcProject) << "RCFileWrite: commit failed" << path << file.errorString();
        return false;
    }
    return true;
}

bool RCFileWrite::copy(const QString& source, const QString& destination, QString* reason)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        setReason(reason, tr("无法读取 %1：%2").arg(QDir::toNativeSeparators(source), in.errorString()));
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError || (!in.isSequential() && bytes.size() != in.size())) {
        setReason(reason, tr("无法读取 %1：%2").arg(QDir::toNativeSeparators(source), in.errorString()));
        return false;
    }
    return write(destination, bytes, reason);
}
