#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

// Runs the real program offscreen in a temporary home and reads what it wrote to its log.
class tst_StartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString reason;
        if (!insidePrivateNetwork(&reason))
            QFAIL(qPrintable(reason));
    }
    void startsWithoutArguments();
    void startsWithProjectOnCommandLine_data();
    void startsWithProjectOnCommandLine();

private:
    // Starts the program, waits until its log says the window is up (or the program ended),
    // stops it and returns the log's text.
    static QString runProgram(const TemporaryHome& home, const QStringList& arguments);
};

QString tst_StartUp::runProgram(const TemporaryHome& home, const QStringList& arguments)
{
    const QString program = qEnvironmentVariable("TAVIX_BINARY_DIR") + QStringLiteral("/app/tavix");
    if (!QFile::exists(program))
        return QStringLiteral("<no program at %1>").arg(program);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return QStringLiteral("<did not start>");

    auto logText = [&home] {
        const QDir logDir(home.appDir() + QStringLiteral("/Log"));
        QString text;
        for (const QString& name : logDir.entryList(QDir::Files)) {
            QFile file(logDir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromUtf8(file.readAll());
        }
        return text;
    };
    // Bounded wait: 60 s at most, also under the sanitizers.
    for (int i = 0; i < 600; ++i) {
        const QString text = logText();
        if (text.contains(QStringLiteral("main window")) || process.state() == QProcess::NotRunning)
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
    return logText() + QStringLiteral("\n<output>\n") + QString::fromUtf8(process.readAll());
}

void tst_StartUp::startsWithoutArguments()
{
    TemporaryHome home;
    const QString log = runProgram(home, {});
    QVERIFY2(log.contains(QStringLiteral("tryLoadProjectnot need load project 0\n")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("rc.project: main window loaded")), qPrintable(log));
}

void tst_StartUp::startsWithProjectOnCommandLine_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("exists");
    QTest::newRow("packet") << QStringLiteral("my project") << true;
    QTest::newRow("placeholder in path") << QStringLiteral("100%1 done") << true;
    QTest::newRow("missing") << QStringLiteral("nothing") << false;
}

void tst_StartUp::startsWithProjectOnCommandLine()
{
    QFETCH(QString, folder);
    QFETCH(bool, exists);
    TemporaryHome home;
    const QString packet = home.filePath(folder);
    const QString path = packet + QStringLiteral("/project.tavx");
    if (exists)
        QVERIFY(writeTestFile(path, projectFileText(QStringLiteral("命令行"))));

    const QString log = runProgram(home, {path, QStringLiteral("ignored extra argument")});
    const QString line = QStringLiteral("tryLoadProjectload project ") + path + (exists ? " 1\n" : " 0\n");
    QVERIFY2(log.contains(line), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("rc.project: main window loaded")), qPrintable(log));
    if (!exists)
        return;
    // The project root logs under its own category; the packet went into the recent list.
    QVERIFY2(log.contains(QStringLiteral("rc.project: RCProject::loadProjectPacket")), qPrintable(log));
    QFile recent(home.appDir() + QStringLiteral("/recently.data"));
    QVERIFY(recent.open(QIODevice::ReadOnly));
    QVERIFY(recent.readAll().startsWith((packet + QLatin1Char('>')).toUtf8()));
}

QTEST_GUILESS_MAIN(tst_StartUp)
#include "tst_StartUp.moc"
