// Writes on a disk that fills up mid-way: every file the user's work goes to is replaced whole or
// stays byte-identical, and the failure reaches the user with its reason. The disk is a real one:
// scripts/tmpfs-run.sh puts /tmp, where the home is made, on a small tmpfs of a private mount
// namespace, which each case fills until only a few pages are free.
#include "editing/RCCommandManager.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/PacketReception.h"
#include "project/IRCInterface.h"
#include "project/ProjectFixture.h"
#include "project/RCInterface.h"
#include "project/RCMessageBoxManager.h"
#include "project/RCProject.h"
#include "project/RCRecentProjectRecord.h"
#include "project/RCTemplateProjects.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTest>
#include <QUrl>

#include <sys/mount.h>

using namespace Qt::StringLiterals;

namespace {

// A picture of noise, which PNG cannot make much smaller than its pixels.
QImage noisePicture(int side)
{
    QImage picture(side, side, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = random.generate();
    }
    return picture;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class tst_FullDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        m_disk = qEnvironmentVariable("TAVIX_SMALL_DISK");
        QVERIFY2(!m_disk.isEmpty(), "run under scripts/tmpfs-run.sh (CTest does)");
        QVERIFY2(QStorageInfo(m_disk).bytesTotal() < 64 * 1024 * 1024, "TAVIX_SMALL_DISK is no small disk");
        QVERIFY(m_fixture.makeHome());
        QVERIFY(m_fixture.home->path().startsWith(m_disk));
    }
    void init() { QVERIFY(m_fixture.makeProject()); }
    void cleanup()
    {
        QFile::remove(m_disk + u"/filler"_s);
        m_fixture.dropProject();
    }

    void writesFailWholeOnAFullDisk_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("freeKb"); // left free when the write starts; -1: the folder is read-only
        QTest::addColumn<QString>("why");
        QTest::newRow("project file") << u"project file"_s << 64 << u"磁盘空间不足"_s;
        QTest::newRow("picture copied into the packet") << u"picture"_s << 64 << u"磁盘空间不足"_s;
        QTest::newRow("config.json") << u"config.json"_s << 4 << u"磁盘空间不足"_s;
        QTest::newRow("thumbnail") << u"thumbnail"_s << 64 << u"磁盘空间不足"_s;
        QTest::newRow("recently.data") << u"recently.data"_s << 0 << u"磁盘空间不足"_s;
        QTest::newRow("recently.data, ~/Tavix read-only") << u"recently.data"_s << -1 << u"recently.data.lock"_s;
    }
    void writesFailWholeOnAFullDisk()
    {
        QFETCH(QString, file);
        QFETCH(int, freeKb);
        QFETCH(QString, why);
        RCProject* project = m_fixture.project.get();
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString packet = m_fixture.home->filePath(u"packets/show"_s);
        QVERIFY(project->saveProjectPacket(packet));
        project->setProjectPacketPath(packet);
        const QString thumbnail = packet + u"/thumbnail.png"_s;
        QCOMPARE(RCInterface::instance()->writePng(noisePicture(8), thumbnail), QString());
        project->getSetting()->setValue(RCKeys::DefaultIp(), u"127.0.0.1"_s);
        const QString config = m_fixture.home->filePath(u"Tavix/config.json"_s);

        // What each case writes is larger than what is left, so that the disk takes its first part.
        QString watched = packet + u"/project.tavx"_s;
        if (file == QLatin1String("project file")) {
            while (QJsonDocument(scenes->toJson()).toJson().size() < 400 * 1024)
                scenes->addScene(u"scene with a longer name to fill the file"_s, QString(), QString(), true);
        } else if (file == QLatin1String("picture")) {
            const QString picked = m_fixture.home->filePath(u"pictures/noise.png"_s);
            QVERIFY(QDir().mkpath(QFileInfo(picked).absolutePath()));
            QVERIFY(noisePicture(300).save(picked, "png"));
            scenes->addScene(u"picked"_s, QUrl::fromLocalFile(picked).toString(), QString(), true);
        } else if (file == QLatin1String("config.json")) {
            watched = config;
        } else if (file == QLatin1String("recently.data")) {
            watched = m_fixture.home->filePath(u"Tavix/recently.data"_s);
        } else {
            watched = thumbnail;
        }
        const QByteArray before = readFile(watched);
        QVERIFY(!before.isEmpty());
        const QStringList packetEntries = entriesOf(packet);
        const QStringList imageEntries = entriesOf(packet + u"/image"_s);
        const QByteArray appDir = QFile::encodeName(m_fixture.home->appDir());
        const auto mounted = qScopeGuard([&] { ::umount(appDir.constData()); });
        if (freeKb >= 0)
            QVERIFY(fillLeaving(qint64(freeKb) * 1024));
        else // ~/Tavix bound read-only onto itself
            QVERIFY(::mount(appDir, appDir, nullptr, MS_BIND, nullptr) == 0 &&
                    ::mount(nullptr, appDir, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0);

        QSignalSpy shown(project->getMessageBoxManager(), &RCMessageBoxManager::messageBoxShow);
        QString reason;
        if (file == QLatin1String("config.json")) {
            project->getSetting()->setValue(RCKeys::DefaultPassword(), QString(16 * 1024, u'p'));
            QCOMPARE(shown.count(), 1);
            reason = project->getMessageBoxManager()->getText(shown.first().first().toString());
            QCOMPARE(project->getSetting()->getValue(RCKeys::DefaultPassword()).toString().size(), 16 * 1024);
        } else if (file == QLatin1String("thumbnail")) {
            reason = RCInterface::instance()->writePng(noisePicture(300), thumbnail);
        } else if (file == QLatin1String("recently.data")) {
            // Told at once, and the list keeps the packet until the file can take it.
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"RCRecentProjectRecord: not written"_s));
            RCRecentProjectRecord::instance()->addDirPath(m_fixture.home->filePath(u"packets/other"_s));
            QCOMPARE(shown.count(), 1);
            reason = project->getMessageBoxManager()->getText(shown.first().first().toString());
            QVERIFY(reason.startsWith(u"最近项目列表保存失败\n"_s));
            QCOMPARE(RCRecentProjectRecord::instance()->getDirPathList().value(0),
                     m_fixture.home->filePath(u"packets/other"_s));
        } else {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"RCProject::saveProject|RCFileWrite"_s));
            QVERIFY(!project->saveProjectPacket());
            reason = project->getLastSaveError();
            QVERIFY(project->hasChangedOnClosing());
            // The edits stay undoable: only a save that wrote everything marks the document saved.
            QVERIFY(RCCommandManager::instance()->canUndo());
        }

        QVERIFY2(reason.contains(why), qPrintable(reason));
        QCOMPARE(readFile(watched), before);
        // Nothing half-written is left beside the files.
        QCOMPARE(entriesOf(packet), packetEntries);
        QCOMPARE(entriesOf(packet + u"/image"_s), imageEntries);
        QCOMPARE(entriesOf(QFileInfo(config).absolutePath()).filter(u"config"_s), QStringList{u"config.json"_s});
    }

    // A template that the full disk cannot take says why, and the document stays as it was.
    void templateCopyNamesTheFullDisk()
    {
        RCProject* project = m_fixture.project.get();
        project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
        const QString name = project->getTemplateProject(0).value(RCKeys::Name()).toString();
        const QString before = project->getProjectPacketPath();
        QVERIFY(fillLeaving(4 * 1024));
        QVERIFY(!project->loadTemplateProjectPacket(name));
        QVERIFY2(project->getLastOpenError().contains(u"磁盘空间不足"_s), qPrintable(project->getLastOpenError()));
        QCOMPARE(project->getProjectPacketPath(), before);
        QFile::remove(m_disk + u"/filler"_s);
        QVERIFY(project->loadTemplateProjectPacket(name));
        QCOMPARE(project->getLastOpenError(), QString());
    }

    // A packet that the disk cannot take whole, though its free space said it would (something
    // else filled it meanwhile): the reception is cut and names the full disk.
    void receptionCutByTheFullDisk()
    {
        PacketReception reception([](const QString&) { return qint64(1) << 40; });
        const qint64 size = 256 * 1024;
        QVERIFY(reception.begin(m_fixture.home->filePath(u"receive"_s), size));
        const QVariantMap info{{u"relativeFilePath"_s, u"project.tavx"_s}, {u"size"_s, QString::number(size)}};
        QVERIFY(reception.openFile(info));
        QVERIFY(fillLeaving(16 * 1024));
        QVERIFY(!reception.write(info, QByteArray(size, 'p'), true));
        QCOMPARE(reception.fault(), PacketReception::Fault::NoSpace);
    }

private:
    // Fills the small disk with one file until it takes no more, then gives back `leave` bytes.
    bool fillLeaving(qint64 leave)
    {
        QFile filler(m_disk + u"/filler"_s);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray chunk(64 * 1024, 'x');
        while (filler.write(chunk) == chunk.size()) {
        }
        return filler.resize(filler.size() - leave) && QStorageInfo(m_disk).bytesAvailable() <= leave + 4096;
    }

    ProjectFixture m_fixture;
    QString m_disk;
};

QTEST_MAIN(tst_FullDisk)
#include "tst_FullDisk.moc"
