// Every program in tools/ answers --help with its usage, and refuses an unknown option, a missing
// option value or stray arguments with a reason and exit status 2, before doing anything: the
// folder it runs in stays empty. None of this needs a display: the programs run without one.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Tool
{
    const char* folder;
    const char* program;
};
constexpr Tool kTemplategen{"templategen", "tavix-templategen"};
constexpr Tool kDriver{"distribution-driver", "tavix-distribution-driver"};
constexpr Tool kMediaServer{"mediaserver-standin", "tavix-mediaserver-standin"};
constexpr Tool kRelay{"cloud-relay-standin", "tavix-cloud-relay-standin"};

QString pathOf(const Tool& tool)
{
    return QStringLiteral("%1/tools/%2/%3").arg(qEnvironmentVariable("TAVIX_BINARY_DIR"), tool.folder, tool.program);
}
} // namespace

class tst_commandLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        // Text the program must write: on stdout for status 0, on stderr otherwise.
        QTest::addColumn<QString>("says");
        for (const Tool& tool : {kTemplategen, kDriver, kMediaServer, kRelay}) {
            const QString program = pathOf(tool);
            QTest::addRow("%s --help", tool.program) << program << QStringList{"--help"} << 0 << "Usage:";
            QTest::addRow("%s -h", tool.program) << program << QStringList{"-h"} << 0 << "--help";
            QTest::addRow("%s unknown option", tool.program)
                << program << QStringList{"--no-such-option"} << 2 << "Unknown option 'no-such-option'";
        }
        const QString templategen = pathOf(kTemplategen);
        const QString driver = pathOf(kDriver);
        const QString mediaserver = pathOf(kMediaServer);
        const QString relay = pathOf(kRelay);
        QTest::newRow("templategen without a folder") << templategen << QStringList{} << 2 << "missing arguments";
        QTest::newRow("templategen with two folders")
            << templategen << QStringList{"a", "b"} << 2 << "unexpected argument \"b\"";
        QTest::newRow("driver without a role") << driver << QStringList{} << 2 << "missing arguments";
        QTest::newRow("driver of another role") << driver << QStringList{"spectator"} << 2 << "\"panel\"";
        QTest::newRow("driver designer without a packet")
            << driver << QStringList{"designer", "198.18.0.2"} << 2 << "PANEL-IP PACKET-FOLDER";
        QTest::newRow("media server with an argument")
            << mediaserver << QStringList{"state.json"} << 2 << "unexpected argument \"state.json\"";
        QTest::newRow("media server option without its value")
            << mediaserver << QStringList{"--state"} << 2 << "Missing value after '--state'";
        QTest::newRow("relay with an argument") << relay << QStringList{"3000"} << 2 << "unexpected argument";
    }
    void commandLine()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcess process;
        process.setWorkingDirectory(folder.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        process.setProcessEnvironment(environment);
        process.start(program, args);
        QVERIFY2(process.waitForStarted(), qPrintable(program));
        QVERIFY2(process.waitForFinished(60000), "the program did not end");
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        QVERIFY2((status == 0 ? out : err).contains(says), qPrintable(out + err));
        if (status != 0)
            QVERIFY2(err.contains("Usage:"), qPrintable(err));
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_commandLines)
#include "tst_commandLines.moc"
