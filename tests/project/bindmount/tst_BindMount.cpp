// The application folder bind-mounted elsewhere: no resolving of links reveals that a path below
// the mount is the install folder or the template cache, yet no packet may be saved there, and a
// packet opened there counts as new. The mount is a real one, made in the private mount namespace
// that CTest starts the test in; the test fails where it cannot make it.
#include "project/ProjectFixture.h"
#include "project/RCInterface.h"
#include "project/RCProject.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

using namespace Qt::StringLiterals;

class tst_BindMount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        QVERIFY(m_fixture.makeHome());
        QVERIFY(m_fixture.makeProject());
        const QString installed = m_fixture.home->appDir() + u"/downloadProject"_s;
        QVERIFY(writeTestFile(installed + u"/project.tavx"_s, projectFileText(u"installed"_s)));
        QVERIFY(!writePicture(installed + u"/image/a.png"_s, qRgb(7, 7, 7)).isEmpty());
        m_mount = m_fixture.home->filePath(u"mnt"_s);
        QVERIFY(QDir().mkpath(m_mount));
        const int made = ::mount(QFile::encodeName(m_fixture.home->appDir()).constData(),
                                 QFile::encodeName(m_mount).constData(), nullptr, MS_BIND, nullptr);
        QVERIFY2(made == 0, qPrintable(u"cannot bind-mount (run through CTest, which starts the test under "
                                       u"unshare -rmn): "_s + QString::fromLocal8Bit(std::strerror(errno))));
        QVERIFY(QFileInfo::exists(m_mount + u"/downloadProject/project.tavx"_s));
    }
    void cleanupTestCase()
    {
        if (!m_mount.isEmpty())
            ::umount(QFile::encodeName(m_mount).constData());
        m_fixture.dropProject();
    }

    void programFoldersThroughTheMount_data()
    {
        QTest::addColumn<QString>("target"); // below the mount
        QTest::addColumn<QString>("folder"); // the program's entry it is, below the application folder
        QTest::addColumn<bool>("made");      // whether that entry exists
        // Entries that the program makes only when it needs them: first, while they are not there.
        QTest::newRow("install folder moved aside, not there yet")
            << u"downloadProject.previous"_s << u"downloadProject.previous"_s << false;
        QTest::newRow("the recent list's lock, not there")
            << u"recently.data.lock"_s << u"recently.data.lock"_s << false;
        QTest::newRow("install folder") << u"downloadProject"_s << u"downloadProject"_s << true;
        QTest::newRow("below the template cache") << u"newProjectCache/show"_s << u"newProjectCache"_s << true;
        QTest::newRow("install folder, moved aside") << u"downloadProject.previous"_s
                                                     << u"downloadProject.previous"_s << true;
    }
    void programFoldersThroughTheMount()
    {
        QFETCH(QString, target);
        QFETCH(QString, folder);
        QFETCH(bool, made);
        RCProject* project = m_fixture.project.get();
        const QString path = m_mount + u"/"_s + target;
        const QString own = m_fixture.home->appDir() + u"/"_s + folder;
        if (made)
            QVERIFY(QDir().mkpath(own));
        QCOMPARE(QFileInfo::exists(own), made);
        // What the save dialog asks before it lets a name through.
        RCInterface* paths = RCInterface::instance();
        QVERIFY(paths->savesIntoFolder(path, own));
        QVERIFY(paths->isInsideFolder(path, own));
        const QMap<QString, QByteArray> before = contentsBelow(m_fixture.home->appDir());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"saveProjectPacket.*refused"_s));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"saveProjectPacket.*failed"_s));
        QVERIFY(!project->saveProjectPacket(path));
        QCOMPARE(project->getLastSaveError(), u"不能保存到 "_s + path);
        QCOMPARE(contentsBelow(m_fixture.home->appDir()), before);
        QCOMPARE(QFileInfo::exists(own), made);
    }

    // "保存" of the installed packet opened through the mount asks for a name, as it does for the
    // install folder itself.
    void installedPacketThroughTheMountIsNew()
    {
        RCProject* project = m_fixture.project.get();
        const QString installed = m_mount + u"/downloadProject"_s;
        QVERIFY(project->loadProjectPacket(installed));
        QVERIFY(RCInterface::instance()->isSamePath(installed, project->getDownloadProjectPacketPath()));
        QVERIFY(project->isNewProject());
    }

private:
    ProjectFixture m_fixture;
    QString m_mount;
};

QTEST_MAIN(tst_BindMount)
#include "tst_BindMount.moc"
