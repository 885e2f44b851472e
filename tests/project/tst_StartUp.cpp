#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

// Runs the real program offscreen in a temporary home and reads what it wrote to its log.
class tst_StartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
    }

    void startsWithProjectOnCommandLine_data()
    {
        QTest::addColumn<QString>("folder"); // empty: no argument at all
        QTest::addColumn<bool>("exists");
        QTest::newRow("no arguments") << QString() << false;
        QTest::newRow("packet, placeholder in path") << u"100%1 done"_s << true;
        QTest::newRow("missing") << u"nothing"_s << false;
    }
    void startsWithProjectOnCommandLine()
    {
        QFETCH(QString, folder);
        QFETCH(bool, exists);
        TemporaryHome home;
        const QString packet = home.filePath(folder);
        const QString path = packet + u"/project.tavx"_s;
        if (exists)
            QVERIFY(writeTestFile(path, projectFileText(u"命令行"_s)));

        const QString log = runProgram(
            home, folder.isEmpty() ? QStringList() : QStringList{path, u"ignored extra argument"_s});
        const QString line = folder.isEmpty()
                                 ? u"tryLoadProjectnot need load project 0\n"_s
                                 : u"tryLoadProjectload project "_s + path + (exists ? " 1\n" : " 0\n");
        QVERIFY2(log.contains(line), qPrintable(log));
        QVERIFY2(log.contains(u"rc.project: main window loaded"_s), qPrintable(log));
        if (!exists)
            return;
        // The project root logs under its own category; the packet went into the recent list.
        QVERIFY2(log.contains(u"rc.project: RCProject::loadProjectPacket"_s), qPrintable(log));
        QVERIFY(
            readFile(home.appDir() + u"/recently.data"_s).startsWith((packet + QLatin1Char('>')).toUtf8()));
    }

private:
    // Starts the program, waits until its log says the window is up (or the program ended),
    // stops it and returns the log's text.
    static QString runProgram(const TemporaryHome& home, const QStringList& arguments)
    {
        const QString program = qEnvironmentVariable("TAVIX_BINARY_DIR") + u"/app/tavix"_s;
        if (!QFile::exists(program))
            return u"<no program at %1>"_s.arg(program);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, home.path() + u"/.config"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        if (!process.waitForStarted(30000))
            return u"<did not start>"_s;

        const QDir logDir(home.appDir() + u"/Log"_s);
        auto logText = [&logDir] {
            QString text;
            for (const QString& name : logDir.entryList(QDir::Files))
                text += QString::fromUtf8(readFile(logDir.filePath(name)));
            return text;
        };
        // Bounded wait: 60 s at most, also under the sanitizers.
        for (int i = 0; i < 600 && process.state() != QProcess::NotRunning; ++i) {
            if (logText().contains(u"main window"_s))
                break;
            process.waitForFinished(100);
        }
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(10000)) {
                process.kill();
                process.waitForFinished(10000);
            }
        }
        return logText() + u"\n<output>\n"_s + QString::fromUtf8(process.readAll());
    }
};

QTEST_GUILESS_MAIN(tst_StartUp)
#include "tst_StartUp.moc"
