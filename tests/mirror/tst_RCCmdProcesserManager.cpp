// The dispatch itself: the connected mark gating the data commands, the connection commands,
// exact command names, the countdown clamp and the bounds on image payloads.
#include "mirror/DispatchTestSupport.h"
#include "mirror/RCCmdParams.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace DispatchTest;

namespace {
const QString kTable = QStringLiteral(R"(setProgramTable {"programArray":[{"id":"p1"},{"id":"p2"}]})");
}

class tst_RCCmdProcesserManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Data commands apply only between "connected" and the end of the link; the connection
    // commands always run, and only as themselves.
    void dataCommandsOnlyWhileConnected()
    {
        Harness harness;
        QSignalSpy toHost(harness.project(), &IRCProject::connectToHost);
        QSignalSpy verifyAsk(harness.project(), &IRCProject::connectVerifyAsk);
        QSignalSpy passwordError(harness.project(), &IRCProject::connectPasswordError);
        const auto connectionCommands = [&](int times) {
            harness.send({R"(connectVerifyAsk {"uid":4})", R"(passwordError {"uid":4})"});
            return verifyAsk.size() == times && passwordError.size() == times;
        };
        harness.send(kTable);
        QCOMPARE(harness.probe("signal:*"), QVariant(0));
        QVERIFY(connectionCommands(1));

        harness.connect();
        QCOMPARE(toHost.size(), 1);
        QCOMPARE(toHost.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
        QVERIFY(harness.project()->isConnectFromHost());
        harness.send(kTable);
        QCOMPARE(harness.probe("programs"), QVariant("p1,p2"));
        QVERIFY(connectionCommands(2));

        // A second "connected" is passed on; the mirror ignores it.
        harness.resetCounts();
        harness.connect();
        QCOMPARE(toHost.size(), 2);
        QCOMPARE(harness.count("connectedToServer"), 0);

        harness.project()->dropLink();
        harness.resetCounts();
        harness.send(kTable);
        QCOMPARE(harness.probe("signal:*"), QVariant(0));
    }
    void namesAreExact_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"SetProgramTable", "setprogramtable", "setProgramTable ", "", "getProgramTable"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void namesAreExact()
    {
        QFETCH(QString, name);
        Harness harness;
        harness.connect();
        harness.resetCounts();
        harness.manager().process(name, jsonObject(kTable.mid(kTable.indexOf(' '))), harness.project());
        QCOMPARE(harness.probe("signal:*"), QVariant(0));
    }
    void countdownIsClampedBeforeTruncation_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qlonglong>("expected");
        constexpr qlonglong kMax = std::numeric_limits<qlonglong>::max();
        constexpr qlonglong kMin = std::numeric_limits<qlonglong>::min();
        QTest::newRow("12.9") << 12.9 << 12LL;
        QTest::newRow("-0.5") << -0.5 << 0LL;
        QTest::newRow("nan") << std::nan("") << 0LL;
        QTest::newRow("+inf") << std::numeric_limits<double>::infinity() << kMax;
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << kMin;
        QTest::newRow("1e300") << 1e300 << kMax;
        QTest::newRow("-1e300") << -1e300 << kMin;
        QTest::newRow("2^63") << 9223372036854775808.0 << kMax;
        QTest::newRow("-2^63") << -9223372036854775808.0 << kMin;
        QTest::newRow("largest below 2^63") << 9223372036854774784.0 << 9223372036854774784LL;
    }
    void countdownIsClampedBeforeTruncation()
    {
        QFETCH(double, value);
        QFETCH(qlonglong, expected);
        QCOMPARE(RCCmdParams::truncateToLongLong(value), expected);
    }
    void imagePayloadsAreBounded_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("expected"); // the size the provider then serves
        const auto stage = [](const char* name, const char* image, const char* warning, const char* size) {
            QTest::newRow(name) << QStringLiteral(R"(setStageImage {"stageImage":"%1"})").arg(image)
                                << QString(warning) << QString(size);
        };
        const auto thumbnail = [](const char* name, const char* image, const char* warning,
                                  const char* size) {
            QTest::newRow(name) << QStringLiteral(R"(setProgramNode {"id":"n1","thumbnail":"%1"})").arg(image)
                                << QString(warning) << QString(size);
        };
        stage("stage at the side limit", "@jpeg:4096x8", "", "4096x8");
        stage("stage too wide", "@jpeg:4097x8", "stage image dropped: JPEG of 4097 x 8", "1920x1080");
        stage("stage not a JPEG", "!!not-base64 at all!!", "stage image dropped: not a JPEG", "1920x1080");
        stage("stage text too long", "@text:12582913",
              "stage image dropped: Base64 text of 12582913 characters", "1920x1080");
        thumbnail("thumbnail at the side limit", "@jpeg:8x1024", "", "8x1024");
        thumbnail("thumbnail too high", "@jpeg:8x1025", "thumbnail dropped: JPEG of 8 x 1025", "20x20");
        thumbnail("thumbnail text too long", "@text:2097153",
                  "thumbnail dropped: Base64 text of 2097153 characters", "20x20");
    }
    void imagePayloadsAreBounded()
    {
        QFETCH(QString, command);
        QFETCH(QString, warning);
        QFETCH(QString, expected);
        const bool stage = command.startsWith(QLatin1String("setStageImage"));

        Harness harness;
        harness.connect();
        harness.send(QStringLiteral(R"(addProgramNode {"id":"n1"})"));
        // A stage view asks for the stage image; the next poll waits for the answer.
        harness.mirror()->stageViewRefAddOne();
        harness.mirror()->onTimerOut();
        QCOMPARE(harness.count("stageImageRequest"), 1);

        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
        harness.send(command);
        QCOMPARE(harness.probe(stage ? "image:stageViewImage" : "image:n1").toString(), expected);

        // Any stage answer, usable or not, lets the next poll go out at once.
        harness.mirror()->onTimerOut();
        QCOMPARE(harness.count("stageImageRequest"), stage ? 2 : 1);
    }
};

QTEST_MAIN(tst_RCCmdProcesserManager)
#include "tst_RCCmdProcesserManager.moc"
