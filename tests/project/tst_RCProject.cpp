#include "editing/Platform.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"
#include "project/RCImageManager.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCPacketFolder.h"
#include "project/ProjectFixture.h"
#include "project/RCProject.h"
#include "project/RCProjectFileReader.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCTemplateProjects.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "root/RCProjectRoot.h"
#include "root/RCQmlRegistration.h"
#include "support/IsolatedNetwork.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The C library's trim, counted here instead (the program's libraries are linked into this test).
std::atomic<int> g_trims{0};
} // namespace

extern "C" int malloc_trim(size_t)
{
    ++g_trims;
    return 0;
}

namespace {

QStringList sceneNames()
{
    QStringList names;
    RCScenePresenter* scenes = RCScenePresenter::instance();
    for (const QString& id : scenes->getSceneIds())
        names.append(scenes->getPropertyValue(id, RCKeys::Name()).toString());
    return names;
}

// name -> record of a "propertyArray".
QMap<QString, QJsonObject> recordsByName(const QJsonObject& holder)
{
    QMap<QString, QJsonObject> records;
    for (const QJsonValue& v : holder.value(u"propertyArray"_s).toArray())
        records.insert(v.toObject().value(u"name"_s).toString(), v.toObject());
    return records;
}

// The file names of every image reference the packet's project file holds.
QStringList referencedImages(const QString& packet)
{
    QStringList names;
    const QByteArray text = readFile(packet + u"/project.tavx"_s);
    const QByteArray prefix(RCImageManager::ReferencePrefix);
    for (qsizetype at = text.indexOf(prefix); at >= 0; at = text.indexOf(prefix, at + 1))
        names.append(
            QString::fromUtf8(text.mid(at + prefix.size(), text.indexOf('"', at) - at - prefix.size())));
    return names;
}

} // namespace

class tst_RCProject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        RCQmlRegistration::registerTypes();
        QVERIFY(m_fixture.makeHome());
    }
    void init() { QVERIFY(m_fixture.makeProject()); }
    void cleanup() { m_fixture.dropProject(); }

    void constructionMakesFoldersAndServices()
    {
        QVERIFY(QFileInfo(m_home->appDir() + u"/downloadProject"_s).isDir());
        QCOMPARE(m_project->getNewProjectPacketPath(), m_home->appDir() + u"/newProjectCache"_s);
        QVERIFY(QFileInfo(m_project->getNewProjectPacketPath()).isDir());
        QCOMPARE(m_project->getSettingFilePath(), m_home->appDir() + u"/config.json"_s);
        QVERIFY(m_engine->rootContext()->contextProperty(u"windowEventFilter"_s).value<QObject*>());
        // The default scene is there, and no edit; without a packet there is nothing to save into.
        QCOMPARE(sceneNames(), QStringList{u"场景"_s});
        QVERIFY(!m_project->hasChangedOnClosing());
        QVERIFY(!m_project->isTemplateProject() && m_project->isNewProject());
        QVERIFY(!m_project->saveOtherProjectPakcet(u"x"_s));
        QCOMPARE(m_project->getProjectRootPath(), QString());
        QCOMPARE(m_project->getProjectFilePath(), QString());
        QVERIFY(!m_project->saveProjectPacket());

        QSignalSpy spy(m_project.get(), &IRCProject::appModelChanged);
        m_project->setAppModel(IRCProject::EAppModel_Control);
        m_project->setAppModel(IRCProject::EAppModel_Control);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(m_project->getAppModel(), IRCProject::EAppModel_Control);
    }

    void templateIndex()
    {
        auto entry = [](const QString& name, const QVariant& size) {
            return QVariantMap{{RCKeys::Name(), name}, {RCKeys::DefaultSize(), size}};
        };
        m_project->setTemplateProjectList({entry(u"手机(1200x540)"_s, QSize(100, 100)),
                                           entry(u"手机(1200x540)"_s, QSize(1200, 540)),
                                           entry(u"bad"_s, u"nonsense"_s)});
        QCOMPARE(m_project->getTemplateProjectCout(), 3);
        QCOMPARE(m_project->getTemplateProject(-1), QVariantMap());
        QCOMPARE(m_project->getTemplateProject(3), QVariantMap());
        QCOMPARE(m_project->getTemplateProject(0).value(RCKeys::DefaultSize()).toSize(), QSize(100, 100));

        // A stored packet whose folder bears a template's name counts as a template copy.
        const QString packet = makePacket(u"手机(1200x540)"_s, projectFileText(u"s"_s));
        QVERIFY(m_project->loadProjectPacket(packet));
        QVERIFY(m_project->isTemplateProject());
        QVERIFY(m_project->isNewProject());
        QCOMPARE(m_project->getTemplateProjectSceneSize(), QSize(1200, 540)); // the later entry
        const QString bad = makePacket(u"bad"_s, projectFileText(u"s"_s));
        QVERIFY(m_project->loadProjectPacket(bad));
        QCOMPARE(m_project->getTemplateProjectSceneSize(), QSize(-1, -1)); // no size of its own
        QVERIFY(m_project->loadProjectPacket(makePacket(u"plain"_s, projectFileText(u"s"_s))));
        QVERIFY(!m_project->isTemplateProject());
        QCOMPARE(m_project->getTemplateProjectSceneSize(), QSize(-1, -1));
    }

    void olderPacketLoadsAndSavesAsNewForm()
    {
        const QString packet = makePacket(u"old one"_s, projectFileText(u"旧场景"_s));
        QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
        QVERIFY(m_project->loadStorageProjectPacket(packet));
        QCOMPARE(changed.at(0).at(0).toString(), u"old one"_s);
        QCOMPARE(sceneNames(), QStringList{u"旧场景"_s});
        QCOMPARE(m_project->getSetting()->getValue(RCKeys::SceneListVisible()), QVariant(false));
        QVERIFY(QFileInfo(packet + u"/image"_s).isDir());
        QCOMPARE(m_project->getImageManager()->projectImagePath(), packet + u"/image"_s);
        QCOMPARE(RCRecentProjectRecord::instance()->getDirPathList().value(0), packet);
        QVERIFY(!m_project->isNewProject());

        // "project.tavx" is preferred when both are there; a save leaves only it.
        QVERIFY(writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"tavx"_s)));
        QVERIFY(m_project->loadProjectPacket(packet));
        QCOMPARE(sceneNames(), QStringList{u"tavx"_s});
        // A name that looks like typed text is the user's text and stays so.
        RCScenePresenter::instance()->addScene(u"#Size#10"_s, u"qrc:/control/play.png"_s, QString(), true);
        QVERIFY(m_project->saveProjectPacket());
        QVERIFY(!QFile::exists(packet + u"/project.json"_s));
        const QByteArray first = readFile(packet + u"/project.tavx"_s);
        const QJsonObject saved = QJsonDocument::fromJson(first).object();
        QCOMPARE(saved.value(u"version"_s).toString(), u"3.0.0"_s);
        QCOMPARE(saved.value(u"setting"_s).toObject().value(RCKeys::SceneListVisible()), QJsonValue(false));
        // Saved again after a reload, the file is the same.
        QVERIFY(m_project->loadStorageProjectPacket(packet));
        QVERIFY(m_project->saveProjectPacket(packet));
        QCOMPARE(readFile(packet + u"/project.tavx"_s), first);
        QCOMPARE(sceneNames(), (QStringList{u"tavx"_s, u"#Size#10"_s}));
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing folder") << u"nowhere"_s << QByteArray();
        QTest::newRow("no project file") << u"empty"_s << QByteArray();
        QTest::newRow("not json") << u"broken"_s << QByteArray("{\"sceneArray\": ");
        QTest::newRow("array") << u"array"_s << QByteArray("[]");
        QTest::newRow("no sceneArray")
            << u"bare"_s << QByteArray("{\"version\": \"3.0.0\", \"setting\": {}}");
        QTest::newRow("sceneArray not object") << u"wrong"_s << QByteArray("{\"sceneArray\": [1]}");
    }
    void failedLoadChangesNothing()
    {
        QFETCH(QString, folder);
        QFETCH(QByteArray, content);
        const QString good = makePacket(u"good"_s, projectFileText(u"kept"_s));
        QVERIFY(m_project->loadProjectPacket(good));
        RCScenePresenter::instance()->addScene(u"edit"_s, QString(), QString(), true);
        QVERIFY(Platform::instance()->canUndo());

        QString target = m_home->filePath(u"packets/"_s + folder);
        if (folder == QLatin1String("empty"))
            target = makePacket(folder, QByteArray(), QString());
        else if (!content.isEmpty())
            target = makePacket(folder, content);

        QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
        QVERIFY(!m_project->loadProjectPacket(target));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_project->getProjectPacketPath(), good);
        QCOMPARE(m_project->getImageManager()->projectImagePath(), good + u"/image"_s);
        QCOMPARE(sceneNames(), (QStringList{u"kept"_s, u"edit"_s}));
        QVERIFY(Platform::instance()->canUndo());
        QVERIFY(m_project->hasChangedOnClosing());
        QVERIFY(!QFileInfo::exists(target + u"/image"_s));
    }

    void setProjectWithoutScenesKeepsThem()
    {
        // A media server's project answer: its scene is in the document already; only the project's
        // own settings are taken, never the link or cloud settings, and the document counts as changed.
        QVERIFY(!m_project->hasChangedOnClosing());
        QVERIFY(m_project->setProject(
            QJsonObject{{u"name"_s, u"show"_s},
                        {u"setting"_s, QJsonObject{{RCKeys::SceneListVisible(), false},
                                                   {RCKeys::DefaultIp(), u"10.9.9.9"_s}}}}));
        QCOMPARE(m_project->getSetting()->getValue(RCKeys::SceneListVisible()), QVariant(false));
        QCOMPARE(m_project->getSetting()->getValue(RCKeys::DefaultIp()), QVariant(QString()));
        QCOMPARE(sceneNames(), QStringList{u"场景"_s});
        QVERIFY(m_project->hasChangedOnClosing());

        QVERIFY(!m_project->setProject(QJsonObject{{u"sceneArray"_s, QJsonArray{}}}));
        QVERIFY(m_project->setProject(QJsonDocument::fromJson(projectFileText(u"set"_s)).object()));
        QCOMPARE(sceneNames(), QStringList{u"set"_s});

        // A packet in the template cache is new whatever it holds: the next template empties the cache.
        const QString cached = m_project->getNewProjectPacketPath() + u"/show"_s;
        QVERIFY(writeTestFile(cached + u"/project.tavx"_s, "{}"));
        m_project->setProjectPacketPath(cached);
        QVERIFY(m_project->isNewProject());
    }

    void failedSaveKeepsFileAndImages()
    {
        const QString packet = m_home->filePath(u"packets/blocked"_s);
        // A picture that the packet's file names and the document no longer shows.
        const QString staleScene = RCScenePresenter::instance()->addScene(
            u"stale"_s, QUrl::fromLocalFile(writePicture(m_home->filePath(u"stale.png"_s), qRgb(5, 0, 7))).toString(),
            QString(), true);
        QVERIFY(m_project->saveProjectPacket(packet));
        m_project->setProjectPacketPath(packet);
        const QString stale = packet + u"/image/stale.png"_s;
        QVERIFY(QFile::exists(stale));
        RCScenePresenter::instance()->removeScene(staleScene, true);
        const QString projectFile = packet + u"/project.tavx"_s;
        const QByteArray before = readFile(projectFile);

        // Another file in the packet that cannot be replaced: a folder of the same name.
        const QString blockedFile = packet + u"/blocked.tavx"_s;
        QVERIFY(QDir().mkpath(blockedFile));
        const QString icon =
            QUrl::fromLocalFile(writePicture(m_home->filePath(u"icon.png"_s), qRgb(1, 0, 7))).toString();
        const QString scene = RCScenePresenter::instance()->addScene(u"unsaved"_s, icon, QString(), true);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProject"_s));
        QVERIFY(!m_project->saveProject(blockedFile, packet + u"/image"_s));
        // The document is as it was: its image value still names the picture it named.
        QCOMPARE(RCScenePresenter::instance()->getPropertyValue(scene, RCKeys::IconPath()).toString(), icon);
        QVERIFY(QFile::exists(stale)); // nothing deleted for a file that was never written
        QCOMPARE(readFile(projectFile), before);
        QVERIFY(m_project->hasChangedOnClosing());

        // The project file is replaced, never rewritten in place: a reader of the old file (what a
        // crash during the write would leave) still sees the complete old content.
        QFile old(projectFile);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QVERIFY(m_project->saveProjectPacket());
        QCOMPARE(old.readAll(), before);
        QVERIFY(readFile(projectFile) != before);
        QVERIFY(!QFile::exists(stale));
        QVERIFY(!m_project->hasChangedOnClosing());
    }

    void everySaveKeepsItsImages_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("twice into another folder") << u"twice"_s;
        QTest::newRow("into a folder of other files") << u"foreign"_s;
        QTest::newRow("to the real path of a linked packet") << u"link"_s;
    }
    void everySaveKeepsItsImages()
    {
        QFETCH(QString, how);
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString target = m_home->filePath(u"packets/target"_s);
        QStringList kept;
        QStringList gone;
        if (how == QLatin1String("link")) {
            // The packet is opened through a link and saved to its real folder.
            writePicture(target + u"/image/used.png"_s, qRgb(1, 0, 7));
            writePicture(target + u"/image/unused.png"_s, qRgb(2, 0, 7));
            QVERIFY(writeTestFile(target + u"/project.tavx"_s, projectFileText(u"l"_s, u"rcimg:/unused.png"_s)));
            const QString link = m_home->filePath(u"packets/link"_s);
            QVERIFY(QFile::link(target, link));
            QVERIFY(m_project->loadProjectPacket(link));
            scenes->setPropertyValue(scenes->getSceneIds().first(), RCKeys::IconPath(), QString(), true);
            scenes->addScene(u"used"_s, u"rcimg:/used.png"_s, QString(), true);
            gone << u"image/unused.png"_s;
        } else {
            if (how == QLatin1String("foreign")) {
                kept << u"notes.txt"_s << u"project.json"_s << u"image/theirs.png"_s;
                for (const QString& file : std::as_const(kept))
                    writePicture(target + QLatin1Char('/') + file, qRgb(3, 0, 7));
            }
            for (int i = 0; i < 9; ++i) {
                const QString picture =
                    writePicture(m_home->filePath(u"pictures/p%1.png"_s.arg(i)), qRgb(10 * i, 0, 7));
                scenes->addScene(u"s%1"_s.arg(i), QUrl::fromLocalFile(picture).toString(), QString(), true);
            }
        }
        const int saves = how == QLatin1String("twice") ? 2 : 1;
        for (int i = 0; i < saves; ++i) {
            QVERIFY(m_project->saveProjectPacket(target));
            const QStringList references = referencedImages(target);
            QVERIFY(!references.isEmpty());
            for (const QString& name : references)
                QVERIFY2(QFileInfo(target + u"/image/"_s + name).isFile(), qPrintable(name));
        }
        for (const QString& file : std::as_const(kept))
            QVERIFY2(QFileInfo::exists(target + QLatin1Char('/') + file), qPrintable(file));
        for (const QString& file : std::as_const(gone))
            QVERIFY2(!QFileInfo::exists(target + QLatin1Char('/') + file), qPrintable(file));
    }

    void changesAreTrackedBeyondTheHistoryCap()
    {
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString id = scenes->getSceneIds().first();
        // An edit without any packet folder is a change.
        scenes->setPropertyValue(id, RCKeys::TypeName(), u"a"_s, true);
        QVERIFY(m_project->hasChangedOnClosing());

        const QString packet = m_home->filePath(u"packets/capped"_s);
        QVERIFY(m_project->saveProjectPacket(packet));
        m_project->setProjectPacketPath(packet);
        QVERIFY(!m_project->hasChangedOnClosing());

        // More edits than the history holds, then undo all that it still holds.
        for (int i = 0; i < 60; ++i)
            scenes->addScene(u"s%1"_s.arg(i), QString(), QString(), true);
        while (Platform::instance()->canUndo())
            Platform::instance()->undo();
        QVERIFY(m_project->hasChangedOnClosing());
    }

    // A file read ahead serves only a load of that very file as it still is; any other load reads
    // its own file, and a broken file read ahead fails the load as a broken file read then does.
    void readAheadServesOnlyItsOwnFile_data()
    {
        QTest::addColumn<QString>("aheadOf"); // packet name; "url:" + name for its file URL
        QTest::addColumn<QString>("loaded");  // packet name
        QTest::addColumn<QByteArray>("rewrite"); // the read file's text after the read-ahead began
        QTest::addColumn<QString>("scene");   // the loaded first scene; empty: the load fails
        QTest::newRow("same file") << u"a"_s << u"a"_s << QByteArray() << u"a"_s;
        QTest::newRow("same file by url") << u"url:a"_s << u"a"_s << QByteArray() << u"a"_s;
        QTest::newRow("another packet") << u"a"_s << u"bb"_s << QByteArray() << u"bb"_s;
        // as large as the file read ahead and changed at the same time: only its path tells
        QTest::newRow("another packet, same size and time") << u"a"_s << u"b"_s << QByteArray() << u"b"_s;
        QTest::newRow("changed since") << u"a"_s << u"a"_s << projectFileText(u"a, rewritten"_s)
                                       << u"a, rewritten"_s;
        QTest::newRow("broken") << u"broken"_s << u"broken"_s << QByteArray() << QString();
        QTest::newRow("missing, then another") << u"none"_s << u"bb"_s << QByteArray() << u"bb"_s;
    }
    void readAheadServesOnlyItsOwnFile()
    {
        QFETCH(QString, aheadOf);
        QFETCH(QString, loaded);
        QFETCH(QByteArray, rewrite);
        QFETCH(QString, scene);
        makePacket(u"a"_s, projectFileText(u"a"_s), u"project.tavx"_s);
        makePacket(u"bb"_s, projectFileText(u"bb"_s), u"project.tavx"_s);
        makePacket(u"broken"_s, QByteArray("{\"sceneArray\": "), u"project.tavx"_s);
        makePacket(u"b"_s, projectFileText(u"b"_s), u"project.tavx"_s);
        const QDateTime changed(QDate(2024, 5, 6), QTime(7, 8, 9));
        for (const QString& name : {u"a"_s, u"b"_s}) {
            QFile file(m_home->filePath(u"packets/%1/project.tavx"_s.arg(name)));
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(changed, QFileDevice::FileModificationTime));
        }
        QCOMPARE(QFileInfo(m_home->filePath(u"packets/a/project.tavx"_s)).size(),
                 QFileInfo(m_home->filePath(u"packets/b/project.tavx"_s)).size());
        const bool byUrl = aheadOf.startsWith(u"url:"_s);
        const QString aheadFile = m_home->filePath(u"packets/%1/project.tavx"_s.arg(aheadOf.mid(byUrl ? 4 : 0)));
        auto reader = std::make_unique<RCProjectFileReader>(
            byUrl ? QUrl::fromLocalFile(aheadFile).toString() : aheadFile);
        if (!rewrite.isEmpty()) {
            reader->wait();
            QVERIFY(writeTestFile(aheadFile, rewrite));
        }
        m_project->setReadAhead(std::move(reader));

        if (scene.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not a project file"_s));
        const QString packet = m_home->filePath(u"packets/"_s + loaded);
        QCOMPARE(m_project->loadStorageProjectFile(packet + u"/project.tavx"_s), !scene.isEmpty());
        QCOMPARE(sceneNames(), scene.isEmpty() ? QStringList{u"场景"_s} : QStringList{scene});
        // The read-ahead is spent: the next load of the same packet reads the file again.
        QVERIFY(writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"again"_s)));
        QVERIFY(m_project->loadStorageProjectFile(packet + u"/project.tavx"_s));
        QCOMPARE(sceneNames(), QStringList{u"again"_s});
    }

    // The memory that a large file's parse freed goes back to the system once the window has drawn,
    // not while the window is being made: the trim takes the heaps' locks.
    void freedMemoryGoesBackOnceDrawn()
    {
        QJsonArray scenes; // three scenes of 200 KB each: a file read in parts
        for (int i = 0; i < 3; ++i) {
            const QJsonArray rows{QJsonObject{{u"name"_s, RCKeys::Name()}, {u"value"_s, QString(200000, u'a')}}};
            scenes.append(QJsonObject{{u"propertyArray"_s, rows}, {u"itemArray"_s, QJsonArray()}});
        }
        const QJsonObject root{{u"version"_s, u"2.1.7"_s}, {u"sceneArray"_s, QJsonObject{{u"sceneArray"_s, scenes}}}};
        const QString packet = makePacket(u"large"_s, QJsonDocument(root).toJson(), u"project.tavx"_s);
        g_trims = 0;
        QVERIFY(m_project->loadProjectPacket(packet));
        QCOMPARE(sceneNames().size(), 3);
        QTest::qWait(1000); // time enough for the freeing thread to have trimmed, were it to
        QCOMPARE(g_trims.load(), 0);
        m_project->windowDrawn();
        QTRY_COMPARE_WITH_TIMEOUT(g_trims.load(), 1, 10000);
        m_project->windowDrawn(); // every frame after it: nothing more to give back
        QTest::qWait(200);
        QCOMPARE(g_trims.load(), 1);
    }

    void storageFileAndProjectList()
    {
        const QString packet = makePacket(u"by url #1"_s, projectFileText(u"url"_s));
        QVERIFY(
            m_project->loadStorageProjectFile(QUrl::fromLocalFile(packet + u"/project.json"_s).toString()));
        QCOMPARE(m_project->getProjectPacketPath(), packet);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"file not exists"_s));
        QVERIFY(!m_project->loadStorageProjectFile(m_home->filePath(u"packets/none/project.tavx"_s)));
        QCOMPARE(m_project->getProjectPacketPath(), packet);

        // The project list skips recent entries whose folder is missing, empty, or holds no project
        // file (what a save cut off leaves).
        const QString alive = makePacket(u"alive #2"_s, projectFileText(u"a"_s));
        const QString emptied = makePacket(u"emptied"_s, QByteArray(), QString());
        const QString halfMade = m_home->filePath(u"packets/half made"_s);
        QVERIFY(!writePicture(halfMade + u"/image/a.png"_s, qRgb(1, 1, 1)).isEmpty());
        RCRecentProjectRecord* recent = RCRecentProjectRecord::instance();
        recent->addDirPath(halfMade);
        recent->addDirPath(emptied);
        recent->addDirPath(m_home->filePath(u"packets/gone"_s));
        recent->addDirPath(alive);
        QCOMPARE(m_project->getProjectCount(), 2);
        const QVariantMap entry = m_project->getProject(0);
        QCOMPARE(entry.value(RCKeys::Name()).toString(), u"alive #2"_s);
        QCOMPARE(entry.value(RCKeys::ProjectPacketPath()).toString(), alive);
        // No thumbnail yet: no picture for the tile to try.
        QCOMPARE(entry.value(RCKeys::ThumbnailPath()).toString(), QString());
        QVERIFY(writeTestFile(alive + u"/thumbnail.png"_s, "png"));
        QCOMPARE(m_project->getProjectCount(), 2);
        QCOMPARE(QUrl(m_project->getProject(0).value(RCKeys::ThumbnailPath()).toString()).toLocalFile(),
                 alive + u"/thumbnail.png"_s);
        QCOMPARE(m_project->getProject(2), QVariantMap());
    }

    void renameMovesEverythingAlong()
    {
        const QString old = makePacket(u"old"_s, projectFileText(u"r"_s));
        QVERIFY(m_project->loadStorageProjectPacket(old));
        QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
        QVERIFY(m_project->renameProjectPakcet(old, u"old"_s, u"new name"_s));
        const QString renamed = m_home->filePath(u"packets/new name"_s);
        QVERIFY(QFileInfo(renamed + u"/project.json"_s).isFile());
        QVERIFY(!QFileInfo::exists(old));
        QCOMPARE(RCRecentProjectRecord::instance()->getDirPathList().value(0), renamed);
        QVERIFY(!RCRecentProjectRecord::instance()->contains(old));
        QCOMPARE(m_project->getProjectPacketPath(), renamed);
        QCOMPARE(m_project->getImageManager()->projectImagePath(), renamed + u"/image"_s);
        QCOMPARE(changed.count(), 1);

        // The target exists: refused, nothing moves.
        const QString other = makePacket(u"other"_s, projectFileText(u"o"_s));
        QVERIFY(!m_project->renameProjectPakcet(other, u"other"_s, u"new name"_s));
        QVERIFY(QFileInfo(other).isDir());
    }

    void renameRefusesBadNames_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::newRow("parent") << u".."_s;
        QTest::newRow("dot") << u"."_s;
        QTest::newRow("escape") << u"../escaped"_s;
        QTest::newRow("nested") << u"a/b"_s;
        QTest::newRow("backslash") << u"a\\b"_s;
        QTest::newRow("empty") << QString();
        // Names that the recent list cannot hold: the packet would drop out of the project list.
        QTest::newRow("list separator") << u"a>b"_s;
        QTest::newRow("line break") << u"a\nb"_s;
    }
    void renameRefusesBadNames()
    {
        QFETCH(QString, newName);
        const QString packet = makePacket(u"keep"_s, projectFileText(u"k"_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"renameProjectPakcet"_s));
        QVERIFY(!m_project->renameProjectPakcet(packet, u"keep"_s, newName));
        QVERIFY(QFileInfo(packet + u"/project.json"_s).isFile());
        QVERIFY(!QFileInfo::exists(m_home->filePath(u"escaped"_s)));
        if (newName.contains(QLatin1Char('>')) || newName.contains(QLatin1Char('\n'))) {
            const QString path = m_home->filePath(u"packets/"_s + newName);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket"_s));
            QVERIFY(!m_project->saveProjectPacket(path));
            QVERIFY(!QFileInfo::exists(path));
        }
    }

    void removeStaysInsideThePacket_data()
    {
        QTest::addColumn<bool>("foreignFile");
        QTest::addColumn<bool>("linkedImages"); // the image folder itself is a link
        QTest::newRow("packet folder") << false << false;
        QTest::newRow("folder with other files") << true << false;
        QTest::newRow("image folder is a link") << false << true;
    }
    void removeStaysInsideThePacket()
    {
        QFETCH(bool, foreignFile);
        QFETCH(bool, linkedImages);
        // Outside the packet: a folder with a file that a link inside the packet points at.
        const QString outside = m_home->filePath(u"packets/outside"_s);
        QDir().mkpath(outside);
        QFile(outside + u"/precious.txt"_s).open(QIODevice::WriteOnly);

        const QString packet = makePacket(u"doomed"_s, projectFileText(u"d"_s));
        QFile(packet + u"/thumbnail.png"_s).open(QIODevice::WriteOnly);
        if (linkedImages) {
            QVERIFY(QFile::link(outside, packet + u"/image"_s));
        } else {
            QDir().mkpath(packet + u"/image/sub"_s);
            QFile(packet + u"/image/sub/a.png"_s).open(QIODevice::WriteOnly);
            QVERIFY(QFile::link(outside, packet + u"/image/link"_s));
        }
        if (foreignFile)
            QFile(packet + u"/mine.txt"_s).open(QIODevice::WriteOnly);
        QVERIFY(m_project->loadStorageProjectPacket(packet));

        // Not a packet: refused whatever it holds.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not a project packet"_s));
        QVERIFY(!m_project->removeProjectPakcet(outside));
        QVERIFY(!RCPacketFolder::removePacket(QString()));
        QVERIFY(QFile::exists(outside + u"/precious.txt"_s));

        // Named with a trailing separator, as a folder picker may hand it over.
        QVERIFY(m_project->removeProjectPakcet(packet + QLatin1Char('/')));
        // Only the packet's own files go; a folder that holds other files stays with them.
        const QStringList left =
            QDir(packet).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, foreignFile ? QStringList{u"mine.txt"_s} : QStringList());
        QCOMPARE(QFileInfo::exists(packet), foreignFile);
        QVERIFY(QFile::exists(outside + u"/precious.txt"_s));
        QVERIFY(!RCRecentProjectRecord::instance()->contains(packet));
        QCOMPARE(m_project->getProjectPacketPath(), QString());
        QVERIFY(m_project->isNewProject());
    }

    void builtInTemplates_data()
    {
        QTest::addColumn<QVariantMap>("entry");
        for (const QVariant& entry : RCTemplateProjects::buildTemplateProjectList())
            QTest::newRow(qPrintable(entry.toMap().value(RCKeys::Name()).toString())) << entry.toMap();
    }
    // A template load copies the project file and the thumbnail out of the resources into the
    // emptied template cache, as a new project: the resources must name real files whose scenes
    // load into the scene model unchanged, whose pictures all come from the resources (the copy
    // gets no "image" content), and whose button is the catalogue's network-link control.
    void builtInTemplates()
    {
        QFETCH(QVariantMap, entry);
        auto resource = [&entry](const QString& key) {
            return QLatin1Char(':') + QUrl(entry.value(key).toString()).path(QUrl::FullyDecoded);
        };
        QImageReader thumbnail(resource(RCKeys::ThumbnailPath()));
        QCOMPARE(thumbnail.format(), QByteArray("png"));
        QVERIFY2(!thumbnail.read().isNull(), qPrintable(thumbnail.fileName()));
        QJsonParseError error;
        const QJsonObject file =
            QJsonDocument::fromJson(readFile(resource(RCKeys::ProjectFilePath())), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QCOMPARE(file.keys(), QStringList({"sceneArray", "setting", "version"}));
        QCOMPARE(file.value("setting").toObject(), QJsonObject({{"SceneListVisible", true}}));
        const QJsonObject sceneArray = file.value("sceneArray").toObject();
        RCSceneManager model;
        QVERIFY(model.fromJson(sceneArray));
        QCOMPARE(model.toJson(), sceneArray); // no row dropped, retyped or renewed on load
        const QSize size = entry.value(RCKeys::DefaultSize()).toSize();
        QCOMPARE(model.sceneAt(0)->getPropertyValue(RCKeys::Width()).toInt(), size.width());
        QCOMPARE(model.sceneAt(0)->getPropertyValue(RCKeys::Height()).toInt(), size.height());
        const QJsonObject scene = sceneArray.value(u"sceneArray"_s).toArray().at(0).toObject();
        const QMap<QString, QJsonObject> item =
            recordsByName(scene.value(u"itemArray"_s).toArray().at(0).toObject());
        for (const QJsonObject& record : recordsByName(scene).values() + item.values()) {
            const QString value = record.value("value").toString();
            if (record.value("display").toObject().value("type").toInt() ==
                IRCPropertyDisplay::EIRCPropertyDisplayType_Icon)
                QVERIFY2(value.isEmpty() || value.startsWith("qrc:/"), qPrintable(value));
        }
        // Beyond its id and place: every row, with its description, flags, display and value.
        IRCControl* netLink =
            m_project->getControlManager()->getControlByType(IRCControl::EIRCControlType_NetLink);
        QVERIFY(netLink);
        const QMap<QString, QJsonObject> expected =
            recordsByName(RCSceneItem(netLink->getInstantiationParam()->toJson(), nullptr).toJson());
        QCOMPARE(item.keys(), expected.keys());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            if (it.key() != RCKeys::Id() && it.key() != RCKeys::X() && it.key() != RCKeys::Y())
                QVERIFY2(item.value(it.key()) == it.value(), qPrintable(it.key()));
        }

        m_project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
        const QString cache = m_project->getNewProjectPacketPath();
        QDir().mkpath(cache + u"/earlier copy"_s);
        QVERIFY(!m_project->loadTemplateProjectPacket(u"no such template"_s));
        QVERIFY(QFileInfo(cache + u"/earlier copy"_s).isDir()); // untouched
        const QString name = entry.value(RCKeys::Name()).toString();
        QVERIFY(m_project->loadTemplateProjectPacket(name));
        QCOMPARE(QDir(cache).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{name});
        const QString copy = cache + QLatin1Char('/') + name;
        QCOMPARE(QDir(copy).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{u"image"_s, u"project.tavx"_s, u"thumbnail.png"_s}));
        QVERIFY(QFileInfo(copy + u"/project.tavx"_s).isWritable());
        QCOMPARE(m_project->getProjectPacketPath(), copy);
        QVERIFY(m_project->isTemplateProject() && m_project->isNewProject());
        QCOMPARE(m_project->getTemplateProjectSceneSize(), size);
        QVERIFY(!RCRecentProjectRecord::instance()->contains(copy));
        QCOMPARE(RCScenePresenter::instance()->getSelectSceneId(),
                 RCScenePresenter::instance()->getSceneIds().first());
    }

    void loadGivesItemsTheirCatalogueRows()
    {
        auto row = [](const QString& name, const QJsonValue& value) {
            return QJsonObject{{u"name"_s, name}, {u"value"_s, value}, {u"visible"_s, true}};
        };
        const QJsonObject known{{u"propertyArray"_s, QJsonArray{row(RCKeys::ControlType(), 23),
                                                                row(RCKeys::Title(), u"Mine"_s)}}};
        const QJsonObject unknown{
            {u"propertyArray"_s, QJsonArray{row(RCKeys::ControlType(), 999), row(u"Custom"_s, 5)}}};
        const QJsonObject scene{{u"propertyArray"_s, QJsonArray{row(RCKeys::Name(), u"up"_s)}},
                                {u"itemArray"_s, QJsonArray{known, unknown}}};
        const QJsonObject root{{u"sceneArray"_s, QJsonObject{{u"sceneArray"_s, QJsonArray{scene}}}}};
        const QString packet = makePacket(u"upgrade"_s, QJsonDocument(root).toJson(), u"project.tavx"_s);
        QVERIFY(m_project->loadProjectPacket(packet));

        RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
        const QString sceneId = RCScenePresenter::instance()->getSceneIds().first();
        const QStringList itemIds = items->getItemIds(sceneId);
        QCOMPARE(itemIds.size(), 2);

        IRCControl* control =
            m_project->getControlManager()->getControlByType(IRCControl::EIRCControlType(23));
        QVERIFY(control);
        const QJsonArray catalogueRows =
            control->getInstantiationParam()->toJson().value(u"propertyArray"_s).toArray();
        QVERIFY(!catalogueRows.isEmpty());
        for (const QJsonValue& catalogueRow : catalogueRows) {
            const QString name = catalogueRow.toObject().value(u"name"_s).toString();
            QVERIFY2(items->containProperty(sceneId, itemIds.at(0), name), qPrintable(name));
        }
        QCOMPARE(items->getPropertyValue(sceneId, itemIds.at(0), RCKeys::Title()).toString(), u"Mine"_s);
        QCOMPARE(items->getPropertyValue(sceneId, itemIds.at(0), RCKeys::NetLinkIconPath()),
                 control->getInstantiationParam()->getPropertyValue(RCKeys::NetLinkIconPath()));

        // An unknown kind keeps exactly what was stored.
        const RCSceneItem stored(unknown, nullptr);
        QCOMPARE(items->getPropertyCount(sceneId, itemIds.at(1)), stored.getProperties()->count());
        QVERIFY(!Platform::instance()->canUndo());
    }

    void qmlSeesEveryRegisteredModule()
    {
        QQmlComponent component(m_engine.get());
        component.setData(R"(
            import QtQml
            import Rc.IRCObject 1.0
            import Rc.Platform 1.0
            import Rc.IRCControl 1.0
            import Rc.IRCControlManager 1.0
            import Rc.RCScenePresenter 1.0
            import Rc.RCSceneItemPresenter 1.0
            import Rc.RCCmdPresenter 1.0
            import Rc.IRCProject 1.0
            import Rc.IRCControlInstantiationParam 1.0
            import Rc.IRCTerminal 1.0
            import Rc.PhotoSelection 1.0
            import Rc.RCMessageBoxManager 1.0
            import Rc.IRCSetting 1.0
            import Rc.IRCImageManager 1.0
            import Rc.IRCInterface 1.0
            import Rc.RcEnums 1.0
            QtObject {
                property int control: IRCProject.EAppModel_Control
                property int right: RcEnums.EIRCTextAlignment_Right
                property string version: getVersion
                property RCMessageBoxManager boxes: getRCMessageBoxManager
                property IRCImageManager images: getImageManager
                property IRCInterface helpers: getRCInterface
                property PhotoSelection picker: PhotoSelection {}
                property string duration: getRCInterface.msecToString(3723000)
            }
        )",
                          QUrl(u"qrc:/probe.qml"_s));
        std::unique_ptr<QObject> probe(component.create());
        QVERIFY2(probe, qPrintable(component.errorString()));
        QCOMPARE(probe->property("control").toInt(), 1);
        QCOMPARE(probe->property("right").toInt(), 2);
        QCOMPARE(probe->property("version").toString(), u"3.0.0"_s);
        QCOMPARE(probe->property("boxes").value<QObject*>(), m_project->getMessageBoxManager());
        QCOMPARE(probe->property("images").value<QObject*>(), m_project->getImageManager());
        QVERIFY(probe->property("picker").value<QObject*>());
        QCOMPARE(probe->property("duration").toString(), u"01:02:03"_s);
    }

    // The application folder cannot be made (a file is in its place): one notice, announced, so
    // that the window shows it once it is up; the project still comes up.
    void appFolderFailureRaisesABox()
    {
        TemporaryHome home;
        QFile blocker(home.appDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        RCProjectRoot project(nullptr, QStringList{u"Tavix"_s});
        RCMessageBoxManager* boxes = project.getMessageBoxManager();
        const QStringList shown = boxes->getShownMessageIds();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(boxes->getTitle(shown.first()), u"错误"_s);
        QCOMPARE(boxes->getText(shown.first()), u"创建路径 %1 失败"_s.arg(home.appDir()));
        // a notice: one 确定
        QVERIFY(boxes->okButtonIsVisible(shown.first()));
        QVERIFY(!boxes->cancelButtonIsVisible(shown.first()));
        QVERIFY(project.getSetting());
    }

private:
    // A packet folder below "packets" holding `file` under `fileName` (no file without a name).
    QString makePacket(const QString& name, const QByteArray& file,
                       const QString& fileName = u"project.json"_s)
    {
        const QString dir = m_home->filePath(u"packets/"_s + name);
        QDir().mkpath(dir);
        if (!fileName.isEmpty())
            writeTestFile(dir + QLatin1Char('/') + fileName, file);
        return dir;
    }

    ProjectFixture m_fixture;
    std::unique_ptr<TemporaryHome>& m_home = m_fixture.home;
    std::unique_ptr<QQmlEngine>& m_engine = m_fixture.engine;
    std::unique_ptr<RCProject>& m_project = m_fixture.project;
};

QTEST_MAIN(tst_RCProject)
#include "tst_RCProject.moc"
