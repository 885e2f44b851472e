#include "editing/Platform.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"
#include "project/RCImageManager.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <QUrl>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

QJsonObject itemWithImages(const QString& iconValue, const QString& imageValue)
{
    auto record = [](const QString& name, const QString& value, int displayType) {
        return QJsonObject{{u"name"_s, name},
                           {u"value"_s, value},
                           {u"visible"_s, true},
                           {u"display"_s, QJsonObject{{u"type"_s, displayType}, {u"data"_s, QJsonObject()}}}};
    };
    return QJsonObject{
        {u"propertyArray"_s,
         QJsonArray{record(RCKeys::IconPath(), iconValue, IRCPropertyDisplay::EIRCPropertyDisplayType_Icon),
                    record(RCKeys::Slider_HandlerIconPath(), imageValue,
                           IRCPropertyDisplay::EIRCPropertyDisplayType_Image)}}};
}

} // namespace

class tst_RCImageManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home.emplace(); }

    void pathTransformation_data()
    {
        QTest::addColumn<QString>("imageFolder"); // empty: none set
        QTest::addColumn<bool>("resources");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("localPath"); // of a reference
        const QString folder = u"/p/image"_s;
        const QString none;
        QTest::newRow("resource url") << folder << false << u"qrc:/x.png"_s << u"qrc:/x.png"_s << none;
        QTest::newRow("file url") << folder << false << u"file:C:/x.png"_s << u"file:C:/x.png"_s << none;
        QTest::newRow("provider") << folder << false << u"image://stelvaneImageProvider/1"_s
                                  << u"image://stelvaneImageProvider/1"_s << none;
        QTest::newRow("empty") << folder << false << none << none << none;
        // Without an image folder a reference names nothing (not a file under "/").
        QTest::newRow("no folder") << none << false << u"rcimg:/a.png"_s << none << none;
        QTest::newRow("reference") << folder << false << u"rcimg:/a.png"_s << u"file:///p/image/a.png"_s
                                   << u"/p/image/a.png"_s;
        QTest::newRow("reference in resources")
            << folder << true << u"rcimg:/a.png"_s << u"qrc:/empty/image/a.png"_s << u":/empty/image/a.png"_s;
    }
    void pathTransformation()
    {
        QFETCH(QString, imageFolder);
        QFETCH(bool, resources);
        QFETCH(QString, value);
        QFETCH(QString, source);
        QFETCH(QString, localPath);
        RCImageManager manager;
        manager.setResolution(imageFolder, resources, u"qrc:/empty/image"_s);
        QCOMPARE(manager.pathTransformation(value), source);
        if (value.startsWith(QLatin1String("rcimg:")))
            QCOMPARE(manager.localPathOf(value), localPath);
        QCOMPARE(manager.getImageReference(u"file:///pics/logo.png"_s), u"rcimg:/logo.png"_s);
    }

    // File values give their local file; a reference never leaves the image folder, neither as a
    // file nor as a source (also when the packet lives in the resources).
    void localFiles_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("path"); // empty: none
        QTest::newRow("url") << u"file:///pics/logo.png"_s << u"/pics/logo.png"_s;
        QTest::newRow("encoded url") << u"file:///pics/a%20b%23c.png"_s << u"/pics/a b#c.png"_s;
        QTest::newRow("glued path") << u"file:/pics/logo.png"_s << u"/pics/logo.png"_s;
        // Blanks, "%", "#" and "?" after a bare "file:" are part of the name, not URL syntax.
        QTest::newRow("glued blank") << u"file:/pics/a b.png"_s << u"/pics/a b.png"_s;
        QTest::newRow("glued percent") << u"file:/pics/100%.png"_s << u"/pics/100%.png"_s;
        QTest::newRow("glued hash, question") << u"file:/pics/a #1?.png"_s << u"/pics/a #1?.png"_s;
        QTest::newRow("glued hash triple slash") << u"file:///pics/a#b.png"_s << u"/pics/a#b.png"_s;
        QTest::newRow("glued windows drive") << u"file:///C:/pics/a#b.png"_s << u"C:/pics/a#b.png"_s;
        QTest::newRow("plain path") << u"/pics/logo.png"_s << u"/pics/logo.png"_s;
        QTest::newRow("parent") << u"rcimg:/../x.png"_s << QString();
        QTest::newRow("absolute") << u"rcimg://etc/passwd"_s << QString();
        QTest::newRow("nested") << u"rcimg:/sub/../../x.png"_s << QString();
        QTest::newRow("backslash") << u"rcimg:/..\\x.png"_s << QString();
        QTest::newRow("dotdot") << u"rcimg:/.."_s << QString();
        QTest::newRow("dot") << u"rcimg:/."_s << QString();
        QTest::newRow("empty") << u"rcimg:/"_s << QString();
    }
    void localFiles()
    {
        QFETCH(QString, value);
        QFETCH(QString, path);
        RCImageManager manager;
        manager.setProjectImagePath(u"/p/image"_s);
        QCOMPARE(manager.localPathOf(value), path);
        if (path.isEmpty()) {
            QCOMPARE(manager.pathTransformation(value), QString());
            manager.setResolution(manager.projectImagePath(), true, u"qrc:/empty/image"_s);
            QCOMPARE(manager.pathTransformation(value), QString());
        }
    }

    void awkwardNamesResolveAndLoad()
    {
        RCImageManager manager;
        const QString folder = m_home->filePath(u"my packet #1/image"_s);
        manager.setProjectImagePath(folder);
        for (const QString& name :
             {u"a b.png"_s, u"c#d.png"_s, u"e?f.png"_s, u"g%20h.png"_s, u"100%.png"_s, u"图.png"_s}) {
            const QString path = picture(u"my packet #1/image/"_s + name, qRgb(1, 2, 3));
            QVERIFY(!path.isEmpty());
            const QString url = manager.pathTransformation(u"rcimg:/"_s + name);
            QCOMPARE(QUrl(url).toLocalFile(), path);
            QVERIFY2(!QImage(QUrl(url).toLocalFile()).isNull(), qPrintable(url));
            QCOMPARE(manager.localPathOf(u"rcimg:/"_s + name), path);
        }
    }

    void copyIntoPacket()
    {
        RCImageManager manager;
        const QString red = picture(u"a/logo.png"_s, qRgb(255, 0, 0));
        const QString blue = picture(u"b/logo.png"_s, qRgb(0, 0, 255));
        const QString packet = m_home->filePath(u"p/image"_s);
        QDir().mkpath(packet);
        manager.setProjectImagePath(packet);
        // Copies are needed from files and other folders, not from resources or the folder itself,
        // however it is written.
        QVERIFY(!manager.needCopy(u"qrc:/x.png"_s, u"/elsewhere"_s));
        QVERIFY(manager.needCopy(u"file:///x.png"_s, packet));
        QVERIFY(!manager.needCopy(u"rcimg:/a.png"_s, m_home->filePath(u"p/./image/"_s)));
        QVERIFY(manager.needCopy(u"rcimg:/a.png"_s, m_home->filePath(u"q/image"_s)));

        // A second picture of the same name gets a name of its own; within one save each keeps
        // finding its copy.
        QSet<QString> written;
        const QString first = manager.saveImageToDstPath(u"file:"_s + red, packet, nullptr, nullptr, &written);
        const QString second = manager.saveImageToDstPath(u"file:"_s + blue, packet, nullptr, nullptr, &written);
        QCOMPARE(first, packet + u"/logo.png"_s);
        QCOMPARE(QFileInfo(second).fileName(), u"logo_2.png"_s);
        QCOMPARE(QImage(second).pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(manager.saveImageToDstPath(u"file:"_s + blue, packet, nullptr, nullptr, &written), second);
        QCOMPARE(manager.saveImageToDstPath(u"file:"_s + red, packet, nullptr, nullptr, &written), first);
        QCOMPARE(QDir(packet).entryList(QDir::Files).size(), 2);
        // A file that this save did not write is never taken for its copy, whatever it holds.
        const QByteArray before = readFile(first);
        bool created = false;
        QCOMPARE(QFileInfo(manager.saveImageToDstPath(u"file:"_s + red, packet, &created)).fileName(),
                 u"logo_3.png"_s);
        QVERIFY(created);
        QCOMPARE(readFile(first), before);

        // A packet that lives in the resources: its references read from ":/", and the copy is an
        // ordinary writable file.
        RCImageManager resources;
        resources.setResolution(QString(), true, u"qrc:"_s);
        QCOMPARE(resources.pathTransformation(u"rcimg:/installTip.png"_s), u"qrc:/installTip.png"_s);
        const QString copy = resources.saveImageToDstPath(u"rcimg:/installTip.png"_s, packet);
        QVERIFY(QFileInfo(copy).isWritable() && !QImage(copy).isNull());

        // Invalid values copy nothing.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"image path is invalid"_s));
        QCOMPARE(manager.saveImageToDstPath(QString(), packet), QString());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"image copy failed"_s));
        QCOMPARE(manager.saveImageToDstPath(u"file:///nowhere/x.png"_s, packet), QString());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"image path is invalid"_s));
        QCOMPARE(manager.saveImageToDstPath(u"rcimg:/../x.png"_s, m_home->filePath(u"q"_s)), QString());
    }

    void unusedFilesGoOnlyWhenAsked()
    {
        RCImageManager manager;
        const QString packet = m_home->filePath(u"p/image"_s);
        const QString kept = picture(u"p/image/kept.png"_s, qRgb(1, 1, 1));
        const QString unused = picture(u"p/image/unused.png"_s, qRgb(2, 2, 2));
        const QString hidden = picture(u"p/image/.hidden.png"_s, qRgb(3, 3, 3));
        QDir().mkpath(packet + u"/sub"_s);
        manager.setProjectImagePath(packet);

        // Only files that the previous project file named may go.
        const QString foreign = picture(u"p/image/foreign.png"_s, qRgb(4, 4, 4));
        manager.removeUnusedImages(packet, {kept}, {kept, unused, hidden});
        QVERIFY(QFileInfo::exists(kept));
        QVERIFY(!QFileInfo::exists(unused));
        QVERIFY(!QFileInfo::exists(hidden));
        QVERIFY(QFileInfo::exists(foreign));
        QVERIFY(QFileInfo(packet + u"/sub"_s).isDir());

        // No folder at all: nothing is listed, certainly not the working directory.
        RCImageManager noFolder;
        const QString cwdFile = QDir::current().filePath(u"tst_RCImageManager.keep"_s);
        QFile marker(cwdFile);
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        noFolder.removeUnusedImages(QString(), {}, {cwdFile});
        QVERIFY(QFileInfo::exists(cwdFile));
        QFile::remove(cwdFile);
    }

    void saveGathersTheDocumentsImages()
    {
        RCScenePresenter* scenes = RCScenePresenter::instance();
        RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
        for (const QString& id : scenes->getSceneIds())
            scenes->removeScene(id, false);

        const QString red = picture(u"a/logo.png"_s, qRgb(255, 0, 0));
        const QString blue = picture(u"b/logo.png"_s, qRgb(0, 0, 255));
        const QString background = picture(u"pics/bg #1.png"_s, qRgb(0, 255, 0));
        const QString packet = m_home->filePath(u"p/image"_s);
        const QString stale = picture(u"p/image/stale.png"_s, qRgb(9, 9, 9));
        RCImageManager manager;
        manager.setProjectImagePath(packet);

        const QString sceneId =
            scenes->addScene(u"S"_s, u"file:"_s + red, QUrl::fromLocalFile(background).toString(), false);
        const QString itemId =
            items->addItem(sceneId, itemWithImages(u"file:"_s + blue, u"qrc:/reset.png"_s), false);
        QVERIFY(!itemId.isEmpty());

        const QSet<QString> used = manager.modifyImagePathAndSaveImages(packet);
        QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::IconPath()).toString(), u"rcimg:/logo.png"_s);
        QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::BackgroundImg()).toString(),
                 u"rcimg:/bg #1.png"_s);
        QCOMPARE(items->getPropertyValue(sceneId, itemId, RCKeys::IconPath()).toString(),
                 u"rcimg:/logo_2.png"_s);
        QCOMPARE(items->getPropertyValue(sceneId, itemId, RCKeys::Slider_HandlerIconPath()).toString(),
                 u"qrc:/reset.png"_s);
        QCOMPARE(QImage(packet + u"/logo.png"_s).pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(QImage(packet + u"/logo_2.png"_s).pixel(0, 0), qRgb(0, 0, 255));
        QVERIFY(QFile::exists(stale)); // nothing is deleted before the project file is written
        QVERIFY(!Platform::instance()->canUndo());

        manager.removeUnusedImages(packet, used, {stale});
        QVERIFY(!QFile::exists(stale));
        QCOMPARE(QDir(packet).entryList(QDir::Files).size(), 3);

        // Saving again copies nothing and deletes nothing that is referenced.
        const QSet<QString> again = manager.modifyImagePathAndSaveImages(packet);
        QCOMPARE(again, used);
        manager.removeUnusedImages(packet, again, again);
        QCOMPARE(QDir(packet).entryList(QDir::Files).size(), 3);

        // Save as: the references of the old packet are copied into the new one.
        const QString other = m_home->filePath(u"q/image"_s);
        const QSet<QString> copied = manager.modifyImagePathAndSaveImages(other);
        manager.removeUnusedImages(other, copied, copied);
        QCOMPARE(QDir(other).entryList(QDir::Files).size(), 3);
        QCOMPARE(items->getPropertyValue(sceneId, itemId, RCKeys::IconPath()).toString(),
                 u"rcimg:/logo_2.png"_s);

        // A picture no longer used by anything goes at the next save; one that the packet's file
        // named is its own, and serves again.
        items->setPropertyValue(sceneId, itemId, RCKeys::IconPath(), QString(), false);
        manager.removeUnusedImages(packet, manager.modifyImagePathAndSaveImages(packet, nullptr, used), used);
        QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::IconPath()).toString(), u"rcimg:/logo.png"_s);
        QVERIFY(!QFile::exists(packet + u"/logo_2.png"_s));
        QVERIFY(QFile::exists(packet + u"/logo.png"_s));
        scenes->removeScene(sceneId, false);
    }

    // A picture that cannot be written fails the save: the pictures after it are not copied (on
    // a full disk each would fill it again), yet a missing one is still named for the user.
    void aFailedWriteStopsTheCopies()
    {
        RCScenePresenter* scenes = RCScenePresenter::instance();
        for (const QString& id : scenes->getSceneIds())
            scenes->removeScene(id, false);
        const QString first = u"file:"_s + picture(u"a/first.png"_s, qRgb(1, 0, 0));
        const QString second = u"file:"_s + picture(u"a/second.png"_s, qRgb(2, 0, 0));
        const QString gone = u"file:"_s + m_home->filePath(u"a/gone.png"_s);
        // A file where the image folder should be: nothing can be written into it.
        const QString blocked = picture(u"p/image"_s, qRgb(3, 0, 0));
        RCImageManager manager;
        const QString sceneId = scenes->addScene(u"S"_s, first, second, false);
        const QString itemId =
            RCSceneItemPresenter::instance()->addItem(sceneId, itemWithImages(gone, QString()), false);
        QVERIFY(!itemId.isEmpty());

        RCImageManager::GatherReport report;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"image copy failed"_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"image copy failed"_s));
        manager.modifyImagePathAndSaveImages(blocked, &report);
        QCOMPARE(report.failed, (QStringList{first, gone}));
        QCOMPARE(report.missing, QStringList{gone});
        QCOMPARE(report.missingNames, QStringList{u"gone.png"_s});
        QVERIFY(!report.writeError.isEmpty());
        QVERIFY(report.created.isEmpty());
        QCOMPARE(scenes->getPropertyValue(sceneId, RCKeys::BackgroundImg()).toString(), second);
        scenes->removeScene(sceneId, false);
    }

private:
    QString picture(const QString& relative, QRgb colour)
    {
        return writePicture(m_home->filePath(relative), colour);
    }

    std::optional<TemporaryHome> m_home;
};

QTEST_GUILESS_MAIN(tst_RCImageManager)
#include "tst_RCImageManager.moc"
