#include "editing/Platform.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"
#include "project/RCImageManager.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCProject.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCTemplateProjects.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QStringList sceneNames()
{
    QStringList names;
    RCScenePresenter* scenes = RCScenePresenter::instance();
    for (const QString& id : scenes->getSceneIds())
        names.append(scenes->getPropertyValue(id, RCKeys::Name()).toString());
    return names;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A small picture of its own colour, so that no two pictures are taken for one.
QString writePicture(const QString& path, int shade)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(shade, 255 - shade, 7));
    return picture.save(path, "png") ? path : QString();
}

// The file names of every image reference the packet's project file holds.
QStringList referencedImages(const QString& packet)
{
    QStringList names;
    const QByteArray text = readAll(packet + QStringLiteral("/project.tavx"));
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
    void initTestCase();
    void init();
    void cleanup();

    void constructionMakesFoldersAndServices();
    void stateWithoutPacket();
    void templateIndex();
    void olderPacketLoadsAndSavesAsNewForm();
    void tavxIsPreferred();
    void failedLoadChangesNothing_data();
    void failedLoadChangesNothing();
    void setProjectNeedsSceneArray();
    void saveThenReloadGivesSameFile();
    void failedSaveKeepsFileAndImages();
    void everySaveKeepsItsImages_data();
    void everySaveKeepsItsImages();
    void changesAreTrackedBeyondTheHistoryCap();
    void storageFileByUrlAndMissingFile();
    void projectListSkipsDeadFolders();
    void renameMovesEverythingAlong();
    void renameRefusesBadNames_data();
    void renameRefusesBadNames();
    void removeStaysInsideThePacket_data();
    void removeStaysInsideThePacket();
    void builtInTemplatesLoadAsCopies();
    void loadGivesItemsTheirCatalogueRows();
    void qmlSeesEveryRegisteredModule();
    void appFolderFailureRaisesABox();

private:
    QString makePacket(const QString& name, const QByteArray& file,
                       const QString& fileName = QStringLiteral("project.json"));

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCProject> m_project;
};

void tst_RCProject::initTestCase()
{
    QString reason;
    if (!insidePrivateNetwork(&reason))
        QFAIL(qPrintable(reason));
    // One home for the whole run: the recent-projects record is process-wide.
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
}

void tst_RCProject::init()
{
    m_engine = std::make_unique<QQmlEngine>();
    m_project = std::make_unique<RCProject>(m_engine.get(), QStringList{QStringLiteral("Tavix")});
    // The scene model is process-wide: start every case from the start-up state.
    QVERIFY(m_project->setProject(QJsonObject{{QStringLiteral("sceneArray"), QJsonObject{}}}));
    m_project->initDefaultScene();
}

void tst_RCProject::cleanup()
{
    m_project.reset();
    m_engine.reset();
    QDir(m_home->filePath(QStringLiteral("packets"))).removeRecursively();
}

QString tst_RCProject::makePacket(const QString& name, const QByteArray& file, const QString& fileName)
{
    const QString dir = m_home->filePath(QStringLiteral("packets/") + name);
    QDir().mkpath(dir);
    if (!fileName.isEmpty())
        writeTestFile(dir + QLatin1Char('/') + fileName, file);
    return dir;
}

void tst_RCProject::constructionMakesFoldersAndServices()
{
    QVERIFY(QFileInfo(m_home->appDir() + QStringLiteral("/newProjectCache")).isDir());
    QVERIFY(QFileInfo(m_home->appDir() + QStringLiteral("/downloadProject")).isDir());
    QCOMPARE(m_project->getNewProjectPacketPath(), m_home->appDir() + QStringLiteral("/newProjectCache"));
    QCOMPARE(m_project->getSettingFilePath(), m_home->appDir() + QStringLiteral("/config.json"));
    QVERIFY(m_project->getSetting());
    QCOMPARE(m_project->getSetting()->parent(), m_project.get());
    QVERIFY(m_engine->rootContext()->contextProperty(QStringLiteral("windowEventFilter")).value<QObject*>());
    QCOMPARE(m_project->getInitState(), 0);
    QVERIFY(!m_project->isConnectFromHost());
    // The default scene is there, selected, and no edit.
    QCOMPARE(sceneNames(), QStringList{QStringLiteral("场景")});
    QVERIFY(!m_project->hasChangedOnClosing());
}

void tst_RCProject::stateWithoutPacket()
{
    QCOMPARE(m_project->getProjectPacketPath(), QString());
    QCOMPARE(m_project->getProjectThumbnail(), QStringLiteral("/thumbnail.png"));
    QCOMPARE(m_project->getProjectImageFolderPath(), QStringLiteral("/image"));
    QCOMPARE(m_project->getProjectName(), QString());
    QVERIFY(!m_project->isTemplateProject());
    QVERIFY(m_project->isNewProject());
    QCOMPARE(m_project->getTemplateProjectSceneSize(), QSize(960, 540));
    QVERIFY(!m_project->saveOtherProjectPakcet(QStringLiteral("x")));
    QCOMPARE(m_project->getProjectRootPath(), QString());
    QCOMPARE(m_project->getProjectFilePath(), QString());
    QVERIFY(!m_project->saveProjectPacket()); // no folder to save into

    QSignalSpy spy(m_project.get(), &IRCProject::appModelChanged);
    m_project->setAppModel(IRCProject::EAppModel_Edit);
    m_project->setAppModel(IRCProject::EAppModel_Control);
    m_project->setAppModel(IRCProject::EAppModel_Control);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m_project->getAppModel(), IRCProject::EAppModel_Control);
}

void tst_RCProject::templateIndex()
{
    auto entry = [](const QString& name, const QVariant& size) {
        return QVariantMap{{RCKeys::Name(), name}, {RCKeys::DefaultSize(), size}};
    };
    m_project->setTemplateProjectList({entry(QStringLiteral("手机(1200x540)"), QSize(100, 100)),
                                       entry(QStringLiteral("手机(1200x540)"), QSize(1200, 540)),
                                       entry(QStringLiteral("bad"), QStringLiteral("nonsense"))});
    QCOMPARE(m_project->getTemplateProjectCout(), 3);
    QCOMPARE(m_project->getTemplateProject(-1), QVariantMap());
    QCOMPARE(m_project->getTemplateProject(3), QVariantMap());
    QCOMPARE(m_project->getTemplateProject(0).value(RCKeys::DefaultSize()).toSize(), QSize(100, 100));

    // A stored packet whose folder bears a template's name counts as a template copy.
    const QString packet = makePacket(QStringLiteral("手机(1200x540)"), projectFileText(QStringLiteral("s")));
    QVERIFY(m_project->loadProjectPacket(packet));
    QVERIFY(m_project->isTemplateProject());
    QVERIFY(m_project->isNewProject());
    QCOMPARE(m_project->getTemplateProjectSceneSize(), QSize(1200, 540)); // the later entry
    const QString bad = makePacket(QStringLiteral("bad"), projectFileText(QStringLiteral("s")));
    QVERIFY(m_project->loadProjectPacket(bad));
    QCOMPARE(m_project->getTemplateProjectSceneSize(), QSize(960, 540));
}

void tst_RCProject::olderPacketLoadsAndSavesAsNewForm()
{
    const QString packet = makePacket(QStringLiteral("old one"), projectFileText(QStringLiteral("旧场景")));
    QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
    QVERIFY(m_project->loadStorageProjectPacket(packet));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("old one"));
    QCOMPARE(sceneNames(), QStringList{QStringLiteral("旧场景")});
    QCOMPARE(m_project->getSetting()->getValue(RCKeys::SceneListVisible()), QVariant(false));
    QVERIFY(QFileInfo(packet + QStringLiteral("/image")).isDir());
    QCOMPARE(m_project->getImageManager()->projectImagePath(), packet + QStringLiteral("/image"));
    QCOMPARE(RCRecentProjectRecord::instance()->getDirPathList().value(0), packet);
    QVERIFY(!m_project->isNewProject());

    QVERIFY(m_project->saveProjectPacket());
    QVERIFY(!QFile::exists(packet + QStringLiteral("/project.json")));
    const QJsonObject saved =
        QJsonDocument::fromJson(readAll(packet + QStringLiteral("/project.tavx"))).object();
    QCOMPARE(saved.keys(), (QStringList{QStringLiteral("sceneArray"), QStringLiteral("setting"),
                                        QStringLiteral("version")}));
    QCOMPARE(saved.value(QStringLiteral("version")).toString(), QStringLiteral("3.0.0"));
    QCOMPARE(saved.value(QStringLiteral("setting")).toObject().value(RCKeys::SceneListVisible()),
             QJsonValue(false));
}

void tst_RCProject::tavxIsPreferred()
{
    const QString packet = makePacket(QStringLiteral("both"), projectFileText(QStringLiteral("from json")));
    QVERIFY(writeTestFile(packet + QStringLiteral("/project.tavx"),
                          projectFileText(QStringLiteral("from tavx"), QStringLiteral("3.0.0"))));
    QVERIFY(m_project->loadProjectPacket(packet));
    QCOMPARE(sceneNames(), QStringList{QStringLiteral("from tavx")});
}

void tst_RCProject::failedLoadChangesNothing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing folder") << QStringLiteral("nowhere") << QByteArray();
    QTest::newRow("no project file") << QStringLiteral("empty") << QByteArray();
    QTest::newRow("not json") << QStringLiteral("broken") << QByteArray("{\"sceneArray\": ");
    QTest::newRow("array") << QStringLiteral("array") << QByteArray("[]");
    QTest::newRow("no sceneArray") << QStringLiteral("bare")
                                   << QByteArray("{\"version\": \"3.0.0\", \"setting\": {}}");
    QTest::newRow("sceneArray not object") << QStringLiteral("wrong") << QByteArray("{\"sceneArray\": [1]}");
}

void tst_RCProject::failedLoadChangesNothing()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, content);
    const QString good = makePacket(QStringLiteral("good"), projectFileText(QStringLiteral("kept")));
    QVERIFY(m_project->loadProjectPacket(good));
    RCScenePresenter::instance()->addScene(QStringLiteral("edit"), QString(), QString(), true);
    QVERIFY(Platform::instance()->canUndo());

    QString target = m_home->filePath(QStringLiteral("packets/") + folder);
    if (folder == QLatin1String("empty"))
        target = makePacket(folder, QByteArray(), QString());
    else if (!content.isEmpty())
        target = makePacket(folder, content);

    QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
    QVERIFY(!m_project->loadProjectPacket(target));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_project->getProjectPacketPath(), good);
    QCOMPARE(m_project->getImageManager()->projectImagePath(), good + QStringLiteral("/image"));
    QCOMPARE(sceneNames(), (QStringList{QStringLiteral("kept"), QStringLiteral("edit")}));
    QVERIFY(Platform::instance()->canUndo());
    QVERIFY(m_project->hasChangedOnClosing());
    QVERIFY(!QFileInfo::exists(target + QStringLiteral("/image")));
}

void tst_RCProject::setProjectNeedsSceneArray()
{
    QVERIFY(!m_project->setProject(
        QJsonObject{{QStringLiteral("setting"), QJsonObject{{RCKeys::SceneListVisible(), false}}}}));
    QCOMPARE(m_project->getSetting()->getValue(RCKeys::SceneListVisible()), QVariant(true));
    QCOMPARE(sceneNames(), QStringList{QStringLiteral("场景")});
    QVERIFY(m_project->setProject(QJsonDocument::fromJson(projectFileText(QStringLiteral("set"))).object()));
    QCOMPARE(sceneNames(), QStringList{QStringLiteral("set")});
}

void tst_RCProject::saveThenReloadGivesSameFile()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    scenes->addScene(QStringLiteral("第二"), QStringLiteral("qrc:/control/play.png"), QString(), true);
    const QString packet = m_home->filePath(QStringLiteral("packets/round trip"));
    QVERIFY(m_project->saveProjectPacket(packet));
    const QByteArray first = readAll(packet + QStringLiteral("/project.tavx"));
    QVERIFY(m_project->loadStorageProjectPacket(packet));
    QVERIFY(m_project->saveProjectPacket(packet));
    QCOMPARE(readAll(packet + QStringLiteral("/project.tavx")), first);
    QCOMPARE(sceneNames(), (QStringList{QStringLiteral("场景"), QStringLiteral("第二")}));
}

void tst_RCProject::failedSaveKeepsFileAndImages()
{
    const QString packet = m_home->filePath(QStringLiteral("packets/blocked"));
    QVERIFY(m_project->saveProjectPacket(packet));
    m_project->setProjectPacketPath(packet);
    const QString stale = packet + QStringLiteral("/image/stale.png");
    QFile(stale).open(QIODevice::WriteOnly);
    const QString projectFile = packet + QStringLiteral("/project.tavx");
    const QByteArray before = readAll(projectFile);

    // Another file in the packet that cannot be replaced: a folder of the same name.
    const QString blockedFile = packet + QStringLiteral("/blocked.tavx");
    QVERIFY(QDir().mkpath(blockedFile));
    const QString icon =
        QUrl::fromLocalFile(writePicture(m_home->filePath(QStringLiteral("icon.png")), 1)).toString();
    const QString scene =
        RCScenePresenter::instance()->addScene(QStringLiteral("unsaved"), icon, QString(), true);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("saveProject")));
    QVERIFY(!m_project->saveProject(blockedFile, packet + QStringLiteral("/image")));
    // The document is as it was: its image value still names the picture it named.
    QCOMPARE(RCScenePresenter::instance()->getPropertyValue(scene, RCKeys::IconPath()).toString(), icon);
    QVERIFY(QFile::exists(stale)); // nothing deleted for a file that was never written
    QCOMPARE(readAll(projectFile), before);
    QVERIFY(m_project->hasChangedOnClosing());

    // The project file is replaced, never rewritten in place: a reader of the old file (what a
    // crash during the write would leave) still sees the complete old content.
    QFile old(projectFile);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QVERIFY(m_project->saveProjectPacket());
    QCOMPARE(old.readAll(), before);
    QVERIFY(readAll(projectFile) != before);
    QVERIFY(!QFile::exists(stale));
    QVERIFY(!m_project->hasChangedOnClosing());
}

void tst_RCProject::everySaveKeepsItsImages_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("twice into another folder") << QStringLiteral("twice");
    QTest::newRow("into a folder of other files") << QStringLiteral("foreign");
    QTest::newRow("to the real path of a linked packet") << QStringLiteral("link");
}

void tst_RCProject::everySaveKeepsItsImages()
{
    QFETCH(QString, how);
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QString target = m_home->filePath(QStringLiteral("packets/target"));
    QStringList kept;
    QStringList gone;
    if (how == QLatin1String("link")) {
        // The packet is opened through a link and saved to its real folder.
        writePicture(target + QStringLiteral("/image/used.png"), 1);
        writePicture(target + QStringLiteral("/image/unused.png"), 2);
        QVERIFY(
            writeTestFile(target + QStringLiteral("/project.tavx"), projectFileText(QStringLiteral("l"))));
        const QString link = m_home->filePath(QStringLiteral("packets/link"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(m_project->loadProjectPacket(link));
        scenes->addScene(QStringLiteral("used"), QStringLiteral("rcimg:/used.png"), QString(), true);
        gone << QStringLiteral("image/unused.png");
    } else {
        if (how == QLatin1String("foreign")) {
            kept << QStringLiteral("notes.txt") << QStringLiteral("project.json")
                 << QStringLiteral("image/theirs.png");
            for (const QString& file : std::as_const(kept))
                writePicture(target + QLatin1Char('/') + file, 3);
        }
        for (int i = 0; i < 9; ++i) {
            const QString picture =
                writePicture(m_home->filePath(QStringLiteral("pictures/p%1.png").arg(i)), 10 * i);
            scenes->addScene(QStringLiteral("s%1").arg(i), QUrl::fromLocalFile(picture).toString(), QString(),
                             true);
        }
    }
    const int saves = how == QLatin1String("twice") ? 2 : 1;
    for (int i = 0; i < saves; ++i) {
        QVERIFY(m_project->saveProjectPacket(target));
        const QStringList references = referencedImages(target);
        QVERIFY(!references.isEmpty());
        for (const QString& name : references)
            QVERIFY2(QFileInfo(target + QStringLiteral("/image/") + name).isFile(), qPrintable(name));
    }
    for (const QString& file : std::as_const(kept))
        QVERIFY2(QFileInfo::exists(target + QLatin1Char('/') + file), qPrintable(file));
    for (const QString& file : std::as_const(gone))
        QVERIFY2(!QFileInfo::exists(target + QLatin1Char('/') + file), qPrintable(file));
}

void tst_RCProject::changesAreTrackedBeyondTheHistoryCap()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QString id = scenes->getSceneIds().first();
    // An edit without any packet folder is a change.
    scenes->setPropertyValue(id, RCKeys::TypeName(), QStringLiteral("a"), true);
    QVERIFY(m_project->hasChangedOnClosing());

    const QString packet = m_home->filePath(QStringLiteral("packets/capped"));
    QVERIFY(m_project->saveProjectPacket(packet));
    m_project->setProjectPacketPath(packet);
    QVERIFY(!m_project->hasChangedOnClosing());

    // More edits than the history holds, then undo all that it still holds.
    for (int i = 0; i < 60; ++i)
        scenes->addScene(QStringLiteral("s%1").arg(i), QString(), QString(), true);
    while (Platform::instance()->canUndo())
        Platform::instance()->undo();
    QVERIFY(m_project->hasChangedOnClosing());
}

void tst_RCProject::storageFileByUrlAndMissingFile()
{
    const QString packet = makePacket(QStringLiteral("by url #1"), projectFileText(QStringLiteral("url")));
    QVERIFY(m_project->loadStorageProjectFile(
        QUrl::fromLocalFile(packet + QStringLiteral("/project.json")).toString()));
    QCOMPARE(m_project->getProjectPacketPath(), packet);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("file not exists")));
    QVERIFY(
        !m_project->loadStorageProjectFile(m_home->filePath(QStringLiteral("packets/none/project.tavx"))));
    QCOMPARE(m_project->getProjectPacketPath(), packet);
}

void tst_RCProject::projectListSkipsDeadFolders()
{
    const QString alive = makePacket(QStringLiteral("alive #2"), projectFileText(QStringLiteral("a")));
    const QString emptied = makePacket(QStringLiteral("emptied"), QByteArray(), QString());
    RCRecentProjectRecord* recent = RCRecentProjectRecord::instance();
    recent->addDirPath(emptied);
    recent->addDirPath(m_home->filePath(QStringLiteral("packets/gone")));
    recent->addDirPath(alive);
    QCOMPARE(m_project->getProjectCount(), 1);
    const QVariantMap entry = m_project->getProject(0);
    QCOMPARE(entry.value(RCKeys::Name()).toString(), QStringLiteral("alive #2"));
    QCOMPARE(entry.value(RCKeys::ProjectPacketPath()).toString(), alive);
    QCOMPARE(QUrl(entry.value(RCKeys::ThumbnailPath()).toString()).toLocalFile(),
             alive + QStringLiteral("/thumbnail.png"));
    QCOMPARE(m_project->getProject(1), QVariantMap());
    QCOMPARE(m_project->getProject(-1), QVariantMap());
}

void tst_RCProject::renameMovesEverythingAlong()
{
    const QString old = makePacket(QStringLiteral("old"), projectFileText(QStringLiteral("r")));
    QVERIFY(m_project->loadStorageProjectPacket(old));
    QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
    QVERIFY(m_project->renameProjectPakcet(old, QStringLiteral("old"), QStringLiteral("new name")));
    const QString renamed = m_home->filePath(QStringLiteral("packets/new name"));
    QVERIFY(QFileInfo(renamed + QStringLiteral("/project.json")).isFile());
    QVERIFY(!QFileInfo::exists(old));
    QCOMPARE(RCRecentProjectRecord::instance()->getDirPathList().value(0), renamed);
    QVERIFY(!RCRecentProjectRecord::instance()->contains(old));
    QCOMPARE(m_project->getProjectPacketPath(), renamed);
    QCOMPARE(m_project->getImageManager()->projectImagePath(), renamed + QStringLiteral("/image"));
    QCOMPARE(changed.count(), 1);

    // The target exists: refused, nothing moves.
    const QString other = makePacket(QStringLiteral("other"), projectFileText(QStringLiteral("o")));
    QVERIFY(!m_project->renameProjectPakcet(other, QStringLiteral("other"), QStringLiteral("new name")));
    QVERIFY(QFileInfo(other).isDir());
}

void tst_RCProject::renameRefusesBadNames_data()
{
    QTest::addColumn<QString>("newName");
    QTest::newRow("parent") << QStringLiteral("..");
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("escape") << QStringLiteral("../escaped");
    QTest::newRow("nested") << QStringLiteral("a/b");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("empty") << QString();
    // Names that the recent list cannot hold: the packet would drop out of the project list.
    QTest::newRow("list separator") << QStringLiteral("a>b");
    QTest::newRow("line break") << QStringLiteral("a\nb");
}

void tst_RCProject::renameRefusesBadNames()
{
    QFETCH(QString, newName);
    const QString packet = makePacket(QStringLiteral("keep"), projectFileText(QStringLiteral("k")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("renameProjectPakcet")));
    QVERIFY(!m_project->renameProjectPakcet(packet, QStringLiteral("keep"), newName));
    QVERIFY(QFileInfo(packet + QStringLiteral("/project.json")).isFile());
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("escaped"))));
    if (newName.contains(QLatin1Char('>')) || newName.contains(QLatin1Char('\n'))) {
        const QString path = m_home->filePath(QStringLiteral("packets/") + newName);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("saveProjectPacket")));
        QVERIFY(!m_project->saveProjectPacket(path));
        QVERIFY(!QFileInfo::exists(path));
    }
}

void tst_RCProject::removeStaysInsideThePacket_data()
{
    QTest::addColumn<bool>("foreignFile");
    QTest::newRow("packet folder") << false;
    QTest::newRow("folder with other files") << true;
}

void tst_RCProject::removeStaysInsideThePacket()
{
    QFETCH(bool, foreignFile);
    // Outside the packet: a folder with a file that a link inside the packet points at.
    const QString outside = m_home->filePath(QStringLiteral("packets/outside"));
    QDir().mkpath(outside);
    QFile(outside + QStringLiteral("/precious.txt")).open(QIODevice::WriteOnly);

    const QString packet = makePacket(QStringLiteral("doomed"), projectFileText(QStringLiteral("d")));
    QDir().mkpath(packet + QStringLiteral("/image/sub"));
    QFile(packet + QStringLiteral("/image/sub/a.png")).open(QIODevice::WriteOnly);
    QFile(packet + QStringLiteral("/thumbnail.png")).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(outside, packet + QStringLiteral("/image/link")));
    if (foreignFile)
        QFile(packet + QStringLiteral("/mine.txt")).open(QIODevice::WriteOnly);
    QVERIFY(m_project->loadStorageProjectPacket(packet));

    // Not a packet: refused whatever it holds.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not a project packet")));
    QVERIFY(!m_project->removeProjectPakcet(outside));
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.txt")));

    // Named with a trailing separator, as a folder picker may hand it over.
    QVERIFY(m_project->removeProjectPakcet(packet + QLatin1Char('/')));
    // Only the packet's own files go; a folder that holds other files stays with them.
    const QStringList left = QDir(packet).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QCOMPARE(left, foreignFile ? QStringList{QStringLiteral("mine.txt")} : QStringList());
    QCOMPARE(QFileInfo::exists(packet), foreignFile);
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.txt")));
    QVERIFY(!RCRecentProjectRecord::instance()->contains(packet));
    QCOMPARE(m_project->getProjectPacketPath(), QString());
    QVERIFY(m_project->isNewProject());
}

void tst_RCProject::builtInTemplatesLoadAsCopies()
{
    m_project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
    const QString cache = m_project->getNewProjectPacketPath();
    QDir().mkpath(cache + QStringLiteral("/earlier copy"));
    QVERIFY(!m_project->loadTemplateProjectPacket(QStringLiteral("no such template")));
    QVERIFY(QFileInfo(cache + QStringLiteral("/earlier copy")).isDir()); // untouched

    const QVariantList templates = RCTemplateProjects::buildTemplateProjectList();
    for (const QVariant& entry : templates) {
        const QString name = entry.toMap().value(RCKeys::Name()).toString();
        const QSize size = entry.toMap().value(RCKeys::DefaultSize()).toSize();
        QVERIFY2(m_project->loadTemplateProjectPacket(name), qPrintable(name));
        QCOMPARE(QDir(cache).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{name});
        const QString copy = cache + QLatin1Char('/') + name;
        QCOMPARE(QDir(copy).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("image"), QStringLiteral("project.tavx"),
                              QStringLiteral("thumbnail.png")}));
        QVERIFY(QFileInfo(copy + QStringLiteral("/project.tavx")).isWritable());
        QVERIFY(QDir(copy + QStringLiteral("/image")).isEmpty());
        QCOMPARE(m_project->getProjectPacketPath(), copy);
        QVERIFY(m_project->isTemplateProject());
        QVERIFY(m_project->isNewProject());
        QCOMPARE(m_project->getTemplateProjectSceneSize(), size);
        QVERIFY(!RCRecentProjectRecord::instance()->contains(copy));

        // The content itself is the template test's business; here: loaded, selected, no edit.
        QCOMPARE(sceneNames(), QStringList{QStringLiteral("场景1")});
        QCOMPARE(RCScenePresenter::instance()->getSelectSceneId(),
                 RCScenePresenter::instance()->getSceneIds().first());
        QVERIFY(!m_project->hasChangedOnClosing());
    }
}

void tst_RCProject::loadGivesItemsTheirCatalogueRows()
{
    auto row = [](const QString& name, const QJsonValue& value) {
        return QJsonObject{{QStringLiteral("name"), name},
                           {QStringLiteral("value"), value},
                           {QStringLiteral("visible"), true}};
    };
    const QJsonObject known{
        {QStringLiteral("propertyArray"),
         QJsonArray{row(RCKeys::ControlType(), 23), row(RCKeys::Title(), QStringLiteral("Mine"))}}};
    const QJsonObject unknown{
        {QStringLiteral("propertyArray"),
         QJsonArray{row(RCKeys::ControlType(), 999), row(QStringLiteral("Custom"), 5)}}};
    const QJsonObject scene{
        {QStringLiteral("propertyArray"), QJsonArray{row(RCKeys::Name(), QStringLiteral("up"))}},
        {QStringLiteral("itemArray"), QJsonArray{known, unknown}}};
    const QJsonObject root{
        {QStringLiteral("sceneArray"), QJsonObject{{QStringLiteral("sceneArray"), QJsonArray{scene}}}}};
    const QString packet =
        makePacket(QStringLiteral("upgrade"), QJsonDocument(root).toJson(), QStringLiteral("project.tavx"));
    QVERIFY(m_project->loadProjectPacket(packet));

    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString sceneId = RCScenePresenter::instance()->getSceneIds().first();
    const QStringList itemIds = items->getItemIds(sceneId);
    QCOMPARE(itemIds.size(), 2);

    IRCControl* control = m_project->getControlManager()->getControlByType(IRCControl::EIRCControlType(23));
    QVERIFY(control);
    const QJsonArray catalogueRows =
        control->getInstantiationParam()->toJson().value(QStringLiteral("propertyArray")).toArray();
    QVERIFY(!catalogueRows.isEmpty());
    for (const QJsonValue& catalogueRow : catalogueRows) {
        const QString name = catalogueRow.toObject().value(QStringLiteral("name")).toString();
        QVERIFY2(items->containProperty(sceneId, itemIds.at(0), name), qPrintable(name));
    }
    QCOMPARE(items->getPropertyValue(sceneId, itemIds.at(0), RCKeys::Title()).toString(),
             QStringLiteral("Mine"));
    QCOMPARE(items->getPropertyValue(sceneId, itemIds.at(0), RCKeys::NetLinkIconPath()),
             control->getInstantiationParam()->getPropertyValue(RCKeys::NetLinkIconPath()));

    // An unknown kind keeps exactly what was stored.
    const RCSceneItem stored(unknown, nullptr);
    QCOMPARE(items->getPropertyCount(sceneId, itemIds.at(1)), stored.getProperties()->count());
    QVERIFY(!Platform::instance()->canUndo());
}

void tst_RCProject::qmlSeesEveryRegisteredModule()
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
                      QUrl(QStringLiteral("qrc:/probe.qml")));
    std::unique_ptr<QObject> probe(component.create());
    QVERIFY2(probe, qPrintable(component.errorString()));
    QCOMPARE(probe->property("control").toInt(), 1);
    QCOMPARE(probe->property("right").toInt(), 2);
    QCOMPARE(probe->property("version").toString(), QStringLiteral("3.0.0"));
    QCOMPARE(probe->property("boxes").value<QObject*>(), m_project->getMessageBoxManager());
    QCOMPARE(probe->property("images").value<QObject*>(), m_project->getImageManager());
    QVERIFY(probe->property("picker").value<QObject*>());
    QCOMPARE(probe->property("duration").toString(), QStringLiteral("01:02:03"));
}

// The application folder cannot be made (a file is in its place): one box, announced, so that
// the window shows it once it is up; the project still comes up.
void tst_RCProject::appFolderFailureRaisesABox()
{
    TemporaryHome home;
    QFile blocker(home.appDir());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RCProject project(nullptr, QStringList{QStringLiteral("Tavix")});
    RCMessageBoxManager* boxes = project.getMessageBoxManager();
    const QStringList shown = boxes->getShownMessageIds();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(boxes->getTitle(shown.first()), QStringLiteral("错误"));
    QCOMPARE(boxes->getText(shown.first()), QStringLiteral("创建路径 %1 失败").arg(home.appDir()));
    QVERIFY(boxes->okButtonIsVisible(shown.first()));
    QVERIFY(boxes->cancelButtonIsVisible(shown.first()));
    QVERIFY(!boxes->closeButtonIsVisible(shown.first()));
    QVERIFY(project.getSetting());
}

QTEST_MAIN(tst_RCProject)
#include "tst_RCProject.moc"
