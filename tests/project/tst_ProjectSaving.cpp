// Saving keeps the user's work: the pictures of a project across a download from the media
// server, saves that cannot complete, packets on paths the recent list cannot hold, changes
// that come without history entries, and files that another program changed on disk.
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdProcesser_SetProject.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCKeys.h"
#include "project/RCImageManager.h"
#include "project/ProjectFixture.h"
#include "project/RCProject.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCTemplateProjects.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class tst_ProjectSaving : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        QVERIFY(m_fixture.makeHome());
    }
    void init() { QVERIFY(m_fixture.makeProject()); }
    void cleanup() { m_fixture.dropProject(); }

    void picturesSurviveADownload_data()
    {
        QTest::addColumn<bool>("intoNewFolder");
        QTest::newRow("not saved where the download named it") << false;
        QTest::newRow("saved into a new folder") << true;
    }
    void picturesSurviveADownload()
    {
        QFETCH(bool, intoNewFolder);
        const QString stored = storedPacketWithPicture(u"stored"_s);
        QVERIFY(!stored.isEmpty());
        const QByteArray storedFile = readFile(stored + u"/project.tavx"_s);

        // "添加Mirel场景": the server's answer generates its scene, then the view names the new
        // packet after the server's project and applies the answer.
        const QJsonObject answer{{u"id"_s, 3}, {u"name"_s, u"show"_s}};
        m_project->getStelvaneSyncer()->addProjectRequest(3);
        RCCmdProcesser_SetProject().process(answer, m_project.get());
        m_project->setProjectPacketPath(m_project->getNewProjectPacketPath() + u"/show"_s);
        QVERIFY(m_project->setProject(answer));
        QCOMPARE(shownFile(u"rcimg:/logo.png"_s), stored + u"/image/logo.png"_s);
        // The picker starts where the pictures are, and their packet cannot go while they are shown.
        QCOMPARE(m_project->getProjectImageFolderPath(), stored + u"/image"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"removeProjectPakcet.*shows pictures"_s));
        QVERIFY(!m_project->removeProjectPakcet(stored));
        QVERIFY(QFileInfo::exists(stored + u"/image/logo.png"_s));

        const QString target =
            intoNewFolder ? m_home->filePath(u"packets/saved"_s) : m_project->getProjectPacketPath();
        if (!intoNewFolder) {
            // It named a folder of the template cache: "保存" asks for a name, and nothing goes there.
            QVERIFY(m_project->isNewProject());
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket.*refused"_s));
            QVERIFY(!m_project->saveProjectPacket(target));
            QCOMPARE(shownFile(u"rcimg:/logo.png"_s), stored + u"/image/logo.png"_s);
            QCOMPARE(readFile(stored + u"/project.tavx"_s), storedFile);
            return;
        }
        QVERIFY(m_project->saveProjectPacket(target));
        QVERIFY(readFile(target + u"/project.tavx"_s).contains("rcimg:/logo.png"));
        QCOMPARE(readFile(target + u"/image/logo.png"_s), readFile(stored + u"/image/logo.png"_s));
        QCOMPARE(m_project->getImageManager()->projectImagePath(), target + u"/image"_s);
        QCOMPARE(shownFile(u"rcimg:/logo.png"_s), target + u"/image/logo.png"_s);
        QVERIFY(!m_project->hasChangedOnClosing());
        QCOMPARE(readFile(stored + u"/project.tavx"_s), storedFile);
        QCOMPARE(filesIn(stored + u"/image"_s), QStringList{u"logo.png"_s});
    }

    void savesThatCannotCompleteLeaveNoTrace_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<bool>("intoNewFolder");
        QTest::newRow("picture gone, into the open packet") << u"picture gone"_s << false;
        QTest::newRow("picture gone, into a new folder") << u"picture gone"_s << true;
        QTest::newRow("project file not writable") << u"not writable"_s << false;
    }
    void savesThatCannotCompleteLeaveNoTrace()
    {
        QFETCH(QString, cause);
        QFETCH(bool, intoNewFolder);
        const QString stored = storedPacketWithPicture(u"stored"_s);
        QVERIFY(!stored.isEmpty());
        const QByteArray storedFile = readFile(stored + u"/project.tavx"_s);

        // A picture the user picked, which the save copies in first; and one whose file is gone.
        const QString picked = QUrl::fromLocalFile(writePicture(m_home->filePath(u"pictures/new.png"_s),
                                                                qRgb(4, 5, 6)))
                                   .toString();
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString pickedScene = scenes->addScene(u"picked"_s, picked, QString(), true);
        QString goneScene;
        const QString gone = QUrl::fromLocalFile(m_home->filePath(u"pictures/gone.png"_s)).toString();
        if (cause == QLatin1String("picture gone"))
            goneScene = scenes->addScene(u"gone"_s, gone, QString(), true);

        const QString target = intoNewFolder ? m_home->filePath(u"packets/new"_s) : stored;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"RCProject::saveProject"_s));
        if (cause == QLatin1String("not writable")) {
            QVERIFY(QDir().mkpath(stored + u"/blocked.tavx"_s));
            QVERIFY(!m_project->saveProject(stored + u"/blocked.tavx"_s, stored + u"/image"_s));
        } else {
            QVERIFY(!m_project->saveProjectPacket(target));
        }

        // Nothing written stays, and the document names what it named.
        QCOMPARE(readFile(stored + u"/project.tavx"_s), storedFile);
        QCOMPARE(filesIn(stored + u"/image"_s), QStringList{u"logo.png"_s});
        if (intoNewFolder)
            QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(scenes->getPropertyValue(pickedScene, RCKeys::IconPath()).toString(), picked);
        if (!goneScene.isEmpty())
            QCOMPARE(scenes->getPropertyValue(goneScene, RCKeys::IconPath()).toString(), gone);
        QVERIFY(m_project->hasChangedOnClosing());
    }

    // Whenever a view would resolve a picture during a save or a load (a value rewritten, a scene
    // added, the folder that references resolve in moved), it resolves to a file that is there
    // or to nothing.
    void picturesResolveToFilesOrNothing_data()
    {
        QTest::addColumn<QString>("from"); // what is open: a stored packet or a template copy
        QTest::addColumn<QString>("step");
        QTest::newRow("stored packet saved into a new folder") << u"stored"_s << u"save"_s;
        QTest::newRow("first save of a template copy") << u"template"_s << u"save"_s;
        QTest::newRow("project file not writable in a new folder") << u"stored"_s << u"failed save"_s;
        QTest::newRow("template opened over a stored packet") << u"stored"_s << u"open template"_s;
    }
    void picturesResolveToFilesOrNothing()
    {
        QFETCH(QString, from);
        QFETCH(QString, step);
        m_project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
        QVERIFY(m_project->getTemplateProjectCout() > 0);
        const QString templateName = m_project->getTemplateProject(0).value(RCKeys::Name()).toString();
        if (from == QLatin1String("template"))
            QVERIFY(m_project->loadTemplateProjectPacket(templateName));
        else
            QVERIFY(!storedPacketWithPicture(u"stored"_s).isEmpty());
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString picked = QUrl::fromLocalFile(writePicture(m_home->filePath(u"pictures/new.png"_s),
                                                                qRgb(4, 5, 6)))
                                   .toString();
        scenes->addScene(u"picked"_s, picked, QString(), true);

        QStringList unresolved;
        const auto check = [&] {
            for (const QString& sceneId : scenes->getSceneIds()) {
                const QString value = scenes->getPropertyValue(sceneId, RCKeys::IconPath()).toString();
                const QUrl url(m_project->getImageManager()->pathTransformation(value));
                if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile())
                    unresolved.append(value);
            }
        };
        QObject guard;
        connect(scenes, &RCScenePresenter::scenePropertyValueChanged, &guard, check);
        connect(scenes, &RCScenePresenter::sceneAdd, &guard, check);
        connect(m_project->getImageManager(), &RCImageManager::resolutionChanged, &guard, check);

        const QString target = m_home->filePath(u"packets/new"_s);
        if (step == QLatin1String("save")) {
            QVERIFY(m_project->saveProjectPacket(target));
        } else if (step == QLatin1String("failed save")) {
            QVERIFY(QDir().mkpath(target + u"/blocked.tavx"_s));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"RCProject::saveProject"_s));
            QVERIFY(!m_project->saveProject(target + u"/blocked.tavx"_s, target + u"/image"_s));
        } else {
            QVERIFY(m_project->loadTemplateProjectPacket(templateName));
        }
        QCOMPARE(unresolved, QStringList());
        check();
        QCOMPARE(unresolved, QStringList());
    }

    void missingPicturesAreNamedThenDropped_data()
    {
        QTest::addColumn<QString>("missing"); // which picture is gone before the save
        QTest::addColumn<bool>("intoNewFolder");
        QTest::newRow("picked file removed") << u"picked"_s << false;
        QTest::newRow("packet picture removed, saved as") << u"packet"_s << true;
    }
    void missingPicturesAreNamedThenDropped()
    {
        QFETCH(QString, missing);
        QFETCH(bool, intoNewFolder);
        const QString stored = storedPacketWithPicture(u"stored"_s);
        QVERIFY(!stored.isEmpty());
        const QString picked = writePicture(m_home->filePath(u"pictures/picked.png"_s), qRgb(9, 9, 9));
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString pickedScene =
            scenes->addScene(u"picked"_s, QUrl::fromLocalFile(picked).toString(), QString(), true);
        const QString gone = missing == QLatin1String("picked") ? picked : stored + u"/image/logo.png"_s;
        const QString kept = missing == QLatin1String("picked") ? u"logo.png"_s : u"picked.png"_s;
        QVERIFY(QFile::remove(gone));
        const QString goneName = QFileInfo(gone).fileName();

        const QString target = intoNewFolder ? m_home->filePath(u"packets/copy"_s) : stored;
        QCOMPARE(m_project->getMissingPictures(), QStringList{goneName});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"RCProject::saveProject"_s));
        QVERIFY(!m_project->saveProjectPacket(target));
        QVERIFY2(m_project->getLastSaveError().contains(goneName), qPrintable(m_project->getLastSaveError()));

        // Once the user agrees, the save goes ahead without the missing picture.
        QCOMPARE(m_project->dropMissingPictures(), 1);
        QVERIFY(m_project->hasChangedOnClosing());
        QVERIFY(m_project->getMissingPictures().isEmpty());
        QVERIFY(m_project->saveProjectPacket(target));
        QCOMPARE(m_project->getLastSaveError(), QString());
        QCOMPARE(filesIn(target + u"/image"_s), QStringList{kept});
        if (missing == QLatin1String("picked"))
            QCOMPARE(scenes->getPropertyValue(pickedScene, RCKeys::IconPath()).toString(), QString());
    }

    void recentListLimitsOnlyNewNames_data()
    {
        QTest::addColumn<QString>("parent"); // below "packets"
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("saved");
        QTest::newRow("opened from a path with >") << u"a>b"_s << true << true;
        QTest::newRow("new packet on a path with >") << u"a>b"_s << false << false;
        QTest::newRow("opened from a plain path") << u"plain"_s << true << true;
    }
    void recentListLimitsOnlyNewNames()
    {
        QFETCH(QString, parent);
        QFETCH(bool, inPlace);
        QFETCH(bool, saved);
        const QString packet = m_home->filePath(u"packets/%1/show"_s.arg(parent));
        if (inPlace) {
            QVERIFY(writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"s"_s)));
            QVERIFY(m_project->loadProjectPacket(packet));
        } else {
            m_project->setProjectPacketPath(packet);
        }
        RCScenePresenter::instance()->addScene(u"edit"_s, QString(), QString(), true);
        if (!saved)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket.*refused"_s));
        QCOMPARE(m_project->saveProjectPacket(), saved);
        QCOMPARE(readFile(packet + u"/project.tavx"_s).contains("edit"), saved);
        QCOMPARE(m_project->hasChangedOnClosing(), !saved);
        QCOMPARE(RCRecentProjectRecord::instance()->contains(packet), saved && !parent.contains(u'>'));
    }

    void changesWithoutHistoryAsk_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("scene generated from the server's project") << u"generated"_s;
        QTest::newRow("scene removed") << u"scene removed"_s;
        QTest::newRow("item added") << u"item added"_s;
        QTest::newRow("item removed") << u"item removed"_s;
        QTest::newRow("start-up scene") << u"default scene"_s;
    }
    void changesWithoutHistoryAsk()
    {
        QFETCH(QString, change);
        const QString stored = storedPacketWithPicture(u"stored"_s);
        QVERIFY(!stored.isEmpty());
        QVERIFY(!m_project->hasChangedOnClosing());
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString sceneId = scenes->getSceneIds().first();
        if (change == QLatin1String("generated")) {
            // The answer arrives, but the download view has given up waiting: it applies nothing.
            m_project->getStelvaneSyncer()->addProjectRequest(8);
            RCCmdProcesser_SetProject().process(QJsonObject{{u"id"_s, 8}, {u"name"_s, u"late"_s}},
                                                m_project.get());
            QCOMPARE(scenes->getSceneCount(), 3);
        } else if (change == QLatin1String("scene removed")) {
            scenes->removeScene(sceneId, false);
        } else if (change.startsWith(QLatin1String("item"))) {
            IRCControl* control =
                m_project->getControlManager()->getControlByType(IRCControl::EIRCControlType_NetLink);
            QVERIFY(control);
            RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
            const QString itemId = items->addItem(sceneId, control->getInstantiationParam()->toJson(), false);
            QVERIFY(!itemId.isEmpty());
            if (change == QLatin1String("item removed")) {
                QVERIFY(m_project->saveProjectPacket(stored));
                QVERIFY(!m_project->hasChangedOnClosing());
                QVERIFY(items->removeItem(sceneId, itemId, false));
            }
        } else {
            m_project->initDefaultScene();
        }
        QCOMPARE(m_project->hasChangedOnClosing(), change != QLatin1String("default scene"));
        QVERIFY(m_project->saveProjectPacket(stored));
        QVERIFY(!m_project->hasChangedOnClosing());
    }

    // The folders the program empties or replaces take no new packet, also when a symbolic link
    // leads there; a packet opened through one counts as new. Nothing in them changes.
    void linkedProgramFoldersTakeNoPacket_data()
    {
        QTest::addColumn<QString>("target"); // below the link to the application folder
        QTest::newRow("install folder") << u"downloadProject"_s;
        QTest::newRow("below the template cache") << u"newProjectCache/show"_s;
        // ("" a packet elsewhere whose image folder is a link into the install folder)
        QTest::newRow("image folder links there") << QString();
    }
    void linkedProgramFoldersTakeNoPacket()
    {
        QFETCH(QString, target);
        const QString link = m_home->filePath(u"lnk"_s);
        QFile::remove(link);
        QVERIFY(QFile::link(m_home->appDir(), link));
        const QString installed = m_home->appDir() + u"/downloadProject"_s;
        QVERIFY(writeTestFile(installed + u"/project.tavx"_s, projectFileText(u"installed"_s)));
        QVERIFY(!writePicture(installed + u"/image/a.png"_s, qRgb(7, 7, 7)).isEmpty());
        QVERIFY(m_project->loadProjectPacket(link + u"/downloadProject"_s));
        QVERIFY(m_project->isNewProject());
        QVERIFY(!storedPacketWithPicture(u"stored"_s).isEmpty());
        if (target.isEmpty()) {
            target = m_home->filePath(u"packets/inner"_s);
            QVERIFY(QDir().mkpath(target));
            QVERIFY(QFile::link(installed + u"/image"_s, target + u"/image"_s));
        } else {
            target = link + u"/"_s + target;
        }
        const QMap<QString, QByteArray> before = contentsBelow(m_home->appDir());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket.*refused"_s));
        // Every save leaves its outcome in the log.
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"saveProjectPacket.*failed"_s));
        QVERIFY(!m_project->saveProjectPacket(target));
        QVERIFY(!m_project->getLastSaveError().isEmpty());
        QCOMPARE(contentsBelow(m_home->appDir()), before);
    }

    // A save into a folder of the user's own files writes the packet's files beside them and never
    // deletes one: only pictures that the replaced project file named may go. A picture of the
    // user's is never taken for the save's copy, not even one of the same name and bytes.
    void foreignFilesStay_data()
    {
        QTest::addColumn<QString>("picture"); // the user's, in the image folder
        QTest::addColumn<QString>("copy");    // the name the save's own copy gets
        QTest::newRow("a picture of another name") << u"mine.png"_s << u"logo.png"_s;
        QTest::newRow("the same name and bytes") << u"logo.png"_s << u"logo_2.png"_s;
    }
    void foreignFilesStay()
    {
        QFETCH(QString, picture);
        QFETCH(QString, copy);
        const QString folder = m_home->filePath(u"packets/foreign"_s);
        QVERIFY(writeTestFile(folder + u"/notes.txt"_s, "notes"));
        // The same colour as the stored packet's "logo.png": the same bytes.
        QVERIFY(!writePicture(folder + u"/image/"_s + picture, qRgb(1, 2, 3)).isEmpty());
        // An unrelated project file, naming a picture that is not there.
        QVERIFY(writeTestFile(folder + u"/project.tavx"_s, projectFileText(u"theirs"_s, u"rcimg:/theirs.png"_s)));
        const QString stored = storedPacketWithPicture(u"stored"_s);
        QVERIFY(!stored.isEmpty());
        QCOMPARE(readFile(folder + u"/image/"_s + picture), readFile(stored + u"/image/logo.png"_s));
        QMap<QString, QByteArray> mine = contentsBelow(folder);
        mine.remove(u"project.tavx"_s);

        // 另存为, then Ctrl+S, then Ctrl+S without the picture the first save copied there.
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"saveProjectPacket.*saved.*foreign"_s));
        QVERIFY(m_project->saveProjectPacket(folder));
        m_project->setProjectPacketPath(folder);
        QVERIFY(m_project->saveProjectPacket());
        QVERIFY(QFileInfo::exists(folder + u"/image/"_s + copy));
        QVERIFY(readFile(folder + u"/project.tavx"_s).contains(copy.toUtf8()));
        RCScenePresenter* scenes = RCScenePresenter::instance();
        scenes->removeScene(scenes->getSceneIds().last(), true);
        QVERIFY(m_project->saveProjectPacket());
        QVERIFY(!QFileInfo::exists(folder + u"/image/"_s + copy));
        QMap<QString, QByteArray> after = contentsBelow(folder);
        after.remove(u"project.tavx"_s);
        QCOMPARE(after, mine);
    }

    // The entries of the application folder that the program writes, replaces or deletes on its
    // own take no packet: the next install, say, deletes "downloadProject.previous". A packet
    // opened there is new: it is not saved where it is either.
    void programEntriesTakeNoPacket_data()
    {
        QTest::addColumn<QString>("name");      // in the application folder
        QTest::addColumn<bool>("openedThere"); // a packet there is open and saved in place
        QTest::newRow("install folder, moved aside") << u"downloadProject.previous"_s << false;
        QTest::newRow("install folder, received") << u"downloadProject.received"_s << false;
        QTest::newRow("install folder, receiving") << u"downloadProject.receiving"_s << false;
        QTest::newRow("log folder") << u"Log/show"_s << false;
        QTest::newRow("settings file") << u"config.json"_s << false;
        QTest::newRow("recent list") << u"recently.data"_s << false;
        QTest::newRow("recent list's lock") << u"recently.data.lock"_s << false;
        QTest::newRow("opened in the install folder moved aside") << u"downloadProject.previous"_s << true;
        QTest::newRow("opened in the received install folder") << u"downloadProject.received"_s << true;
    }
    void programEntriesTakeNoPacket()
    {
        QFETCH(QString, name);
        QFETCH(bool, openedThere);
        QVERIFY(!storedPacketWithPicture(u"stored"_s).isEmpty());
        const QString target = m_home->appDir() + u"/"_s + name;
        if (openedThere) {
            QVERIFY(writeTestFile(target + u"/project.tavx"_s, projectFileText(u"there"_s)));
            QVERIFY(m_project->loadProjectPacket(target));
            QVERIFY(m_project->isNewProject());
            RCScenePresenter::instance()->addScene(u"edit"_s, QString(), QString(), true);
        }
        const bool existed = QFileInfo::exists(target);
        const QMap<QString, QByteArray> before = contentsBelow(m_home->appDir());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket.*refused"_s));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"saveProjectPacket.*failed"_s));
        QVERIFY(!(openedThere ? m_project->saveProjectPacket() : m_project->saveProjectPacket(target)));
        QCOMPARE(m_project->getLastSaveError(), u"不能保存到 "_s + target);
        QCOMPARE(QFileInfo::exists(target), existed);
        QCOMPARE(contentsBelow(m_home->appDir()), before);
    }

    // An image folder that is a link leads to a folder of the user's (shared with other packets,
    // say): a save that no longer shows one of its pictures deletes nothing there.
    void linkedImageFolderKeepsItsFiles()
    {
        const QString pictures = m_home->filePath(u"packets/Pictures"_s);
        QVERIFY(!writePicture(pictures + u"/holiday.png"_s, qRgb(9, 9, 9)).isEmpty());
        const QString packet = m_home->filePath(u"packets/linkedImages"_s);
        QVERIFY(writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"s"_s, u"rcimg:/holiday.png"_s)));
        QVERIFY(QFile::link(pictures, packet + u"/image"_s));
        const QMap<QString, QByteArray> before = contentsBelow(pictures);
        QVERIFY(m_project->loadStorageProjectPacket(packet));

        RCScenePresenter* scenes = RCScenePresenter::instance();
        scenes->setPropertyValue(scenes->getSceneIds().first(), RCKeys::IconPath(), QString(), true);
        QVERIFY(m_project->saveProjectPacket());
        QVERIFY(!readFile(packet + u"/project.tavx"_s).contains("holiday"));
        QCOMPARE(contentsBelow(pictures), before);
    }

    // Rows that a file holds without a display type (older or hand-made packets) read as text rows,
    // yet their pictures are the document's: no save deletes them, a save elsewhere takes them.
    void picturesOfRowsWithoutDisplayTypeStay_data()
    {
        QTest::addColumn<bool>("intoNewFolder");
        QTest::newRow("saved in place") << false;
        QTest::newRow("saved into a new folder") << true;
    }
    void picturesOfRowsWithoutDisplayTypeStay()
    {
        QFETCH(bool, intoNewFolder);
        const QString packet = m_home->filePath(u"packets/plain"_s);
        // As older versions and tests/app/tst_sceneScreenshot.sh write it: rows without "display".
        const QByteArray file = R"({"sceneArray": {"sceneArray": [{"propertyArray": [{"name": "Name", "value": "S"}],
            "itemArray": [{"propertyArray": [{"name": "ControlType", "value": 9},
                {"name": "IconPath", "value": "rcimg:/red.png"}, {"name": "Picture", "value": "rcimg:/green.png"}]}]}]}})";
        QVERIFY(writeTestFile(packet + u"/project.tavx"_s, file));
        QVERIFY(!writePicture(packet + u"/image/red.png"_s, qRgb(255, 0, 0)).isEmpty());
        QVERIFY(!writePicture(packet + u"/image/green.png"_s, qRgb(0, 255, 0)).isEmpty());
        const QMap<QString, QByteArray> pictures = contentsBelow(packet + u"/image"_s);
        QVERIFY(m_project->loadStorageProjectPacket(packet));

        const QString target = intoNewFolder ? m_home->filePath(u"packets/copy"_s) : packet;
        QVERIFY(m_project->saveProjectPacket(target));
        QCOMPARE(contentsBelow(packet + u"/image"_s), pictures);
        QCOMPARE(contentsBelow(target + u"/image"_s), pictures);
        QVERIFY(readFile(target + u"/project.tavx"_s).contains("rcimg:/green.png"));
    }

    // A save goes by the pictures that the file it replaces named when the program last read or
    // wrote it, without reading that file again: a rewrite that keeps its size and time goes
    // unnoticed. A file that another program changed since (its size, or only its time) is
    // replaced only when the caller says so; of it, the save deletes only what both name: the
    // pictures that the change added stay. The packet counts as changed until it is saved.
    void savesGoByTheFileTheyKnow_data()
    {
        QTest::addColumn<bool>("knownFromASave");
        QTest::addColumn<QString>("rewrite"); // "same" size and time, same "size", "grown"
        QTest::addColumn<QStringList>("picturesLeft");
        // "a.png": named by the file as read or written, no longer by the document.
        // "b.png": named by the file as rewritten, never by the document.
        QTest::newRow("loaded, rewritten with its size and time") << false << u"same"_s << QStringList{u"b.png"_s};
        QTest::newRow("saved, rewritten with its size and time") << true << u"same"_s << QStringList{u"b.png"_s};
        QTest::newRow("loaded, a picture added on disk") << false << u"grown"_s << QStringList{u"b.png"_s};
        QTest::newRow("saved, a picture added on disk") << true << u"grown"_s << QStringList{u"b.png"_s};
        QTest::newRow("saved, rewritten with its size at a later time")
            << true << u"size"_s << QStringList{u"a.png"_s, u"b.png"_s};
    }
    void savesGoByTheFileTheyKnow()
    {
        QFETCH(bool, knownFromASave);
        QFETCH(QString, rewrite);
        QFETCH(QStringList, picturesLeft);
        const QString packet = m_home->filePath(u"packets/known"_s);
        const QString file = packet + u"/project.tavx"_s;
        QVERIFY(writeTestFile(file, projectFileText(u"s"_s, u"rcimg:/a.png"_s)));
        QVERIFY(!writePicture(packet + u"/image/a.png"_s, qRgb(1, 0, 0)).isEmpty());
        QVERIFY(!writePicture(packet + u"/image/b.png"_s, qRgb(0, 1, 0)).isEmpty());
        QVERIFY(m_project->loadStorageProjectPacket(packet));
        if (knownFromASave)
            QVERIFY(m_project->saveProjectPacket());
        QVERIFY(!m_project->isProjectFileChangedOnDisk());
        RCScenePresenter* scenes = RCScenePresenter::instance();
        scenes->setPropertyValue(scenes->getSceneIds().first(), RCKeys::IconPath(), QString(), true);

        QByteArray text = readFile(file);
        QVERIFY(text.contains("rcimg:/a.png"));
        if (rewrite != QLatin1String("grown")) {
            const std::filesystem::path path(file.toStdU16String());
            const auto time = std::filesystem::last_write_time(path);
            QVERIFY(writeTestFile(file, text.replace("rcimg:/a.png", "rcimg:/b.png")));
            const bool later = rewrite == QLatin1String("size");
            std::filesystem::last_write_time(path, later ? time + std::chrono::seconds(2) : time);
        } else {
            QVERIFY(writeTestFile(file, text.replace(0, 1, R"({"added": "rcimg:/b.png", )")));
        }
        const bool changed = rewrite != QLatin1String("same");
        QCOMPARE(m_project->isProjectFileChangedOnDisk(), changed);
        if (changed) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket.*changed on disk"_s));
            QVERIFY(!m_project->saveProjectPacket());
            QCOMPARE(m_project->getLastSaveError(), u"项目文件已被其他程序修改"_s);
            QCOMPARE(readFile(file), text);
            QVERIFY(m_project->hasChangedOnClosing());
        }

        QVERIFY(m_project->saveProjectPacket(packet, changed));
        QVERIFY(!m_project->isProjectFileChangedOnDisk());
        QCOMPARE(filesIn(packet + u"/image"_s), picturesLeft);
    }

private:
    // Every file below a folder with its bytes, by path relative to it.
    // A stored packet, loaded, whose second scene shows "logo.png" of its image folder.
    QString storedPacketWithPicture(const QString& name)
    {
        const QString packet = m_home->filePath(u"packets/"_s + name);
        if (!writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"s"_s)) ||
            writePicture(packet + u"/image/logo.png"_s, qRgb(1, 2, 3)).isEmpty() ||
            !m_project->loadStorageProjectPacket(packet))
            return QString();
        RCScenePresenter::instance()->addScene(u"pictured"_s, u"rcimg:/logo.png"_s, QString(), true);
        if (!m_project->saveProjectPacket() || !m_project->loadStorageProjectPacket(packet))
            return QString();
        return packet;
    }
    // The local file a view shows for an image value.
    QString shownFile(const QString& value) const
    {
        const QString file = QUrl(m_project->getImageManager()->pathTransformation(value)).toLocalFile();
        return QFileInfo(file).isFile() ? file : QString();
    }

    ProjectFixture m_fixture;
    std::unique_ptr<TemporaryHome>& m_home = m_fixture.home;
    std::unique_ptr<RCProject>& m_project = m_fixture.project;
};

QTEST_MAIN(tst_ProjectSaving)
#include "tst_ProjectSaving.moc"
