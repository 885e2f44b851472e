#include "editing/Platform.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"
#include "project/RCImageManager.h"
#include "project/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <QUrl>

#include <memory>

class tst_RCImageManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pathTransformation_data();
    void pathTransformation();
    void referencesNeverLeaveTheFolder_data();
    void referencesNeverLeaveTheFolder();
    void awkwardNamesResolveAndLoad();
    void fileValuesGiveTheirLocalFile_data();
    void fileValuesGiveTheirLocalFile();
    void needCopyComparesFolders();
    void copyIntoPacket();
    void sameNameDifferentPicturesAreBothKept();
    void resourceImagesCopyAsWritableFiles();
    void invalidValuesCopyNothing();
    void unusedFilesGoOnlyWhenAsked();
    void saveGathersTheDocumentsImages();

private:
    QString writePicture(const QString& relative, QRgb colour);

    std::unique_ptr<TemporaryHome> m_home;
};

void tst_RCImageManager::init()
{
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
}

void tst_RCImageManager::cleanup()
{
    m_home.reset();
}

QString tst_RCImageManager::writePicture(const QString& relative, QRgb colour)
{
    const QString path = m_home->filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage img(4, 4, QImage::Format_ARGB32);
    img.fill(colour);
    if (!img.save(path, "png"))
        return QString();
    return path;
}

void tst_RCImageManager::pathTransformation_data()
{
    QTest::addColumn<QString>("imageFolder"); // empty: none set
    QTest::addColumn<bool>("resources");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("localPath"); // of a reference
    const QString folder = QStringLiteral("/p/image");
    QTest::newRow("resource url") << folder << false << "qrc:/x.png"
                                  << "qrc:/x.png" << QString();
    QTest::newRow("file url") << folder << false << "file:C:/x.png"
                              << "file:C:/x.png" << QString();
    QTest::newRow("provider") << folder << false << "image://stelvaneImageProvider/1"
                              << "image://stelvaneImageProvider/1" << QString();
    QTest::newRow("empty") << folder << false << QString() << QString() << QString();
    // Without an image folder a reference names nothing (not a file under "/").
    QTest::newRow("no folder") << QString() << false << "rcimg:/a.png" << QString() << QString();
    QTest::newRow("reference") << folder << false << "rcimg:/a.png"
                               << "file:///p/image/a.png"
                               << "/p/image/a.png";
    QTest::newRow("reference in resources") << folder << true << "rcimg:/a.png"
                                            << "qrc:/empty/image/a.png"
                                            << ":/empty/image/a.png";
}

void tst_RCImageManager::pathTransformation()
{
    QFETCH(QString, imageFolder);
    QFETCH(bool, resources);
    QFETCH(QString, value);
    QFETCH(QString, source);
    QFETCH(QString, localPath);
    RCImageManager manager;
    manager.setProjectImagePath(imageFolder);
    manager.setQrcImagePath(QStringLiteral("qrc:/empty/image"));
    manager.setIsQrc(resources);
    QCOMPARE(manager.pathTransformation(value), source);
    if (value.startsWith(QLatin1String("rcimg:")))
        QCOMPARE(manager.localPathOf(value), localPath);
    QCOMPARE(manager.getImageReference(QStringLiteral("file:///pics/logo.png")),
             QStringLiteral("rcimg:/logo.png"));
}

void tst_RCImageManager::referencesNeverLeaveTheFolder_data()
{
    QTest::addColumn<QString>("reference");
    QTest::newRow("parent") << QStringLiteral("rcimg:/../x.png");
    QTest::newRow("absolute") << QStringLiteral("rcimg://etc/passwd");
    QTest::newRow("nested") << QStringLiteral("rcimg:/sub/../../x.png");
    QTest::newRow("backslash") << QStringLiteral("rcimg:/..\\x.png");
    QTest::newRow("dotdot") << QStringLiteral("rcimg:/..");
    QTest::newRow("dot") << QStringLiteral("rcimg:/.");
    QTest::newRow("empty") << QStringLiteral("rcimg:/");
}

void tst_RCImageManager::referencesNeverLeaveTheFolder()
{
    QFETCH(QString, reference);
    RCImageManager manager;
    manager.setProjectImagePath(QStringLiteral("/p/image"));
    QCOMPARE(manager.pathTransformation(reference), QString());
    QCOMPARE(manager.localPathOf(reference), QString());
    manager.setQrcImagePath(QStringLiteral("qrc:/empty/image"));
    manager.setIsQrc(true);
    QCOMPARE(manager.pathTransformation(reference), QString());
}

void tst_RCImageManager::awkwardNamesResolveAndLoad()
{
    RCImageManager manager;
    const QString folder = m_home->filePath(QStringLiteral("my packet #1/image"));
    manager.setProjectImagePath(folder);
    for (const QString& name :
         {QStringLiteral("a b.png"), QStringLiteral("c#d.png"), QStringLiteral("e?f.png"),
          QStringLiteral("g%20h.png"), QStringLiteral("100%.png"), QStringLiteral("图.png")}) {
        const QString path = writePicture(QStringLiteral("my packet #1/image/") + name, qRgb(1, 2, 3));
        QVERIFY(!path.isEmpty());
        const QString url = manager.pathTransformation(QStringLiteral("rcimg:/") + name);
        QCOMPARE(QUrl(url).toLocalFile(), path);
        QVERIFY2(!QImage(QUrl(url).toLocalFile()).isNull(), qPrintable(url));
        QCOMPARE(manager.localPathOf(QStringLiteral("rcimg:/") + name), path);
    }
}

void tst_RCImageManager::fileValuesGiveTheirLocalFile_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("path");
    QTest::newRow("url") << QStringLiteral("file:///pics/logo.png") << QStringLiteral("/pics/logo.png");
    QTest::newRow("encoded url") << QStringLiteral("file:///pics/a%20b%23c.png")
                                 << QStringLiteral("/pics/a b#c.png");
    QTest::newRow("glued path") << QStringLiteral("file:/pics/logo.png") << QStringLiteral("/pics/logo.png");
    // Blanks, "%", "#" and "?" after a bare "file:" are part of the name, not URL syntax.
    QTest::newRow("glued blank") << QStringLiteral("file:/pics/a b.png") << QStringLiteral("/pics/a b.png");
    QTest::newRow("glued percent") << QStringLiteral("file:/pics/100%.png")
                                   << QStringLiteral("/pics/100%.png");
    QTest::newRow("glued hash, question")
        << QStringLiteral("file:/pics/a #1?.png") << QStringLiteral("/pics/a #1?.png");
    QTest::newRow("glued hash triple slash")
        << QStringLiteral("file:///pics/a#b.png") << QStringLiteral("/pics/a#b.png");
    QTest::newRow("glued windows drive")
        << QStringLiteral("file:///C:/pics/a#b.png") << QStringLiteral("C:/pics/a#b.png");
    QTest::newRow("plain path") << QStringLiteral("/pics/logo.png") << QStringLiteral("/pics/logo.png");
}

void tst_RCImageManager::fileValuesGiveTheirLocalFile()
{
    QFETCH(QString, value);
    QFETCH(QString, path);
    RCImageManager manager;
    QCOMPARE(manager.localPathOf(value), path);
}

void tst_RCImageManager::needCopyComparesFolders()
{
    RCImageManager manager;
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    QDir().mkpath(packet);
    manager.setProjectImagePath(packet);
    QVERIFY(!manager.needCopy(QStringLiteral("qrc:/x.png"), QStringLiteral("/elsewhere")));
    QVERIFY(manager.needCopy(QStringLiteral("file:///x.png"), packet));
    QVERIFY(!manager.needCopy(QStringLiteral("rcimg:/a.png"), packet));
    // The same folder written differently is the same folder.
    QVERIFY(
        !manager.needCopy(QStringLiteral("rcimg:/a.png"), m_home->filePath(QStringLiteral("p/./image/"))));
    QVERIFY(manager.needCopy(QStringLiteral("rcimg:/a.png"), m_home->filePath(QStringLiteral("q/image"))));
}

void tst_RCImageManager::copyIntoPacket()
{
    RCImageManager manager;
    const QString source = writePicture(QStringLiteral("pics/logo.png"), qRgb(200, 0, 0));
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    manager.setProjectImagePath(packet);

    const QString target = manager.saveImageToDstPath(QStringLiteral("file:") + source, packet);
    QCOMPARE(target, packet + QStringLiteral("/logo.png"));
    QCOMPARE(QImage(target).pixel(0, 0), qRgb(200, 0, 0));
    // Again: the file there holds this picture already and is reused.
    QCOMPARE(manager.saveImageToDstPath(QStringLiteral("file:") + source, packet), target);
    QCOMPARE(QDir(packet).entryList(QDir::Files), QStringList{QStringLiteral("logo.png")});
}

void tst_RCImageManager::sameNameDifferentPicturesAreBothKept()
{
    RCImageManager manager;
    const QString red = writePicture(QStringLiteral("a/logo.png"), qRgb(255, 0, 0));
    const QString blue = writePicture(QStringLiteral("b/logo.png"), qRgb(0, 0, 255));
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    manager.setProjectImagePath(packet);

    const QString first = manager.saveImageToDstPath(QStringLiteral("file:") + red, packet);
    const QString second = manager.saveImageToDstPath(QStringLiteral("file:") + blue, packet);
    QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("logo.png"));
    QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("logo_2.png"));
    QCOMPARE(QImage(first).pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(QImage(second).pixel(0, 0), qRgb(0, 0, 255));
    // Each picture keeps finding its own file.
    QCOMPARE(manager.saveImageToDstPath(QStringLiteral("file:") + blue, packet), second);
    QCOMPARE(manager.saveImageToDstPath(QStringLiteral("file:") + red, packet), first);
}

void tst_RCImageManager::resourceImagesCopyAsWritableFiles()
{
    // A packet that lives in the resources (resource mode): its references read from ":/", and
    // the packet's copy is an ordinary writable file.
    RCImageManager manager;
    manager.setQrcImagePath(QStringLiteral("qrc:"));
    manager.setIsQrc(true);
    QCOMPARE(manager.pathTransformation(QStringLiteral("rcimg:/installTip.png")),
             QStringLiteral("qrc:/installTip.png"));
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    const QString target = manager.saveImageToDstPath(QStringLiteral("rcimg:/installTip.png"), packet);
    QCOMPARE(target, packet + QStringLiteral("/installTip.png"));
    QVERIFY(QFileInfo(target).isWritable());
    QVERIFY(!QImage(target).isNull());
}

void tst_RCImageManager::invalidValuesCopyNothing()
{
    RCImageManager manager;
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    manager.setProjectImagePath(packet);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("image path is invalid")));
    QCOMPARE(manager.saveImageToDstPath(QString(), m_home->filePath(QStringLiteral("q/image"))), QString());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("image copy failed")));
    QCOMPARE(manager.saveImageToDstPath(QStringLiteral("file:///nowhere/x.png"), packet), QString());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("image path is invalid")));
    QCOMPARE(
        manager.saveImageToDstPath(QStringLiteral("rcimg:/../x.png"), m_home->filePath(QStringLiteral("q"))),
        QString());
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("q/x.png"))));
}

void tst_RCImageManager::unusedFilesGoOnlyWhenAsked()
{
    RCImageManager manager;
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    const QString kept = writePicture(QStringLiteral("p/image/kept.png"), qRgb(1, 1, 1));
    const QString unused = writePicture(QStringLiteral("p/image/unused.png"), qRgb(2, 2, 2));
    const QString hidden = writePicture(QStringLiteral("p/image/.hidden.png"), qRgb(3, 3, 3));
    QDir().mkpath(packet + QStringLiteral("/sub"));
    manager.setProjectImagePath(packet);

    manager.removeUnusedImages(packet, {kept});
    QVERIFY(QFileInfo::exists(kept));
    QVERIFY(!QFileInfo::exists(unused));
    QVERIFY(!QFileInfo::exists(hidden));
    QVERIFY(QFileInfo(packet + QStringLiteral("/sub")).isDir());

    // No folder at all: nothing is listed, certainly not the working directory.
    RCImageManager noFolder;
    const QString cwdFile = QDir::current().filePath(QStringLiteral("tst_RCImageManager.keep"));
    QFile marker(cwdFile);
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    noFolder.removeUnusedImages(QString(), {});
    QVERIFY(QFileInfo::exists(cwdFile));
    QFile::remove(cwdFile);
}

namespace {

QJsonObject itemWithImages(const QString& iconValue, const QString& imageValue)
{
    auto record = [](const QString& name, const QString& value, int displayType) {
        return QJsonObject{{QStringLiteral("name"), name},
                           {QStringLiteral("value"), value},
                           {QStringLiteral("visible"), true},
                           {QStringLiteral("display"), QJsonObject{{QStringLiteral("type"), displayType},
                                                                   {QStringLiteral("data"), QJsonObject()}}}};
    };
    return QJsonObject{
        {QStringLiteral("propertyArray"),
         QJsonArray{record(RCKeys::IconPath(), iconValue, IRCPropertyDisplay::EIRCPropertyDisplayType_Icon),
                    record(RCKeys::Slider_HandlerIconPath(), imageValue,
                           IRCPropertyDisplay::EIRCPropertyDisplayType_Image)}}};
}

} // namespace

void tst_RCImageManager::saveGathersTheDocumentsImages()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    for (const QString& id : scenes->getSceneIds())
        scenes->removeScene(id, false);

    const QString red = writePicture(QStringLiteral("a/logo.png"), qRgb(255, 0, 0));
    const QString blue = writePicture(QStringLiteral("b/logo.png"), qRgb(0, 0, 255));
    const QString background = writePicture(QStringLiteral("pics/bg #1.png"), qRgb(0, 255, 0));
    const QString packet = m_home->filePath(QStringLiteral("p/image"));
    const QString stale = writePicture(QStringLiteral("p/image/stale.png"), qRgb(9, 9, 9));
    RCImageManager manager;
    manager.setProjectImagePath(packet);

    const QString sceneId = scenes->addScene(QStringLiteral("S"), QStringLiteral("file:") + red,
                                             QUrl::fromLocalFile(background).toString(), false);
    const QString itemId = items->addItem(
        sceneId, itemWithImages(QStringLiteral("file:") + blue, QStringLiteral("qrc:/reset.png")), false);
    QVERIFY(!itemId.isEmpty());

    const QSet<QString> used = manager.modifyImagePathAndSaveImages(packet);
    QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::IconPath()).toString(),
             QStringLiteral("rcimg:/logo.png"));
    QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::BackgroundImg()).toString(),
             QStringLiteral("rcimg:/bg #1.png"));
    QCOMPARE(items->getPropertyValue(sceneId, itemId, RCKeys::IconPath()).toString(),
             QStringLiteral("rcimg:/logo_2.png"));
    QCOMPARE(items->getPropertyValue(sceneId, itemId, RCKeys::Slider_HandlerIconPath()).toString(),
             QStringLiteral("qrc:/reset.png"));
    QCOMPARE(QImage(packet + QStringLiteral("/logo.png")).pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(QImage(packet + QStringLiteral("/logo_2.png")).pixel(0, 0), qRgb(0, 0, 255));
    QVERIFY(QFile::exists(stale)); // nothing is deleted before the project file is written
    QVERIFY(!Platform::instance()->canUndo());

    manager.removeUnusedImages(packet, used);
    QVERIFY(!QFile::exists(stale));
    QCOMPARE(QDir(packet).entryList(QDir::Files).size(), 3);

    // Saving again copies nothing and deletes nothing that is referenced.
    const QSet<QString> again = manager.modifyImagePathAndSaveImages(packet);
    QCOMPARE(again, used);
    manager.removeUnusedImages(packet, again);
    QCOMPARE(QDir(packet).entryList(QDir::Files).size(), 3);

    // Save as: the references of the old packet are copied into the new one.
    const QString other = m_home->filePath(QStringLiteral("q/image"));
    manager.removeUnusedImages(other, manager.modifyImagePathAndSaveImages(other));
    QCOMPARE(QDir(other).entryList(QDir::Files).size(), 3);
    QCOMPARE(items->getPropertyValue(sceneId, itemId, RCKeys::IconPath()).toString(),
             QStringLiteral("rcimg:/logo_2.png"));

    // A picture no longer used by anything goes at the next save.
    items->setPropertyValue(sceneId, itemId, RCKeys::IconPath(), QString(), false);
    manager.removeUnusedImages(packet, manager.modifyImagePathAndSaveImages(packet));
    QVERIFY(!QFile::exists(packet + QStringLiteral("/logo_2.png")));
    QVERIFY(QFile::exists(packet + QStringLiteral("/logo.png")));
    scenes->removeScene(sceneId, false);
}

QTEST_GUILESS_MAIN(tst_RCImageManager)
#include "tst_RCImageManager.moc"
