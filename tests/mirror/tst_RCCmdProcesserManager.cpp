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
    void dataCommandsOnlyWhileConnected()
    {
        Harness harness;
        QSignalSpy toHost(harness.project(), &IRCProject::connectToHost);
        harness.send(kTable);
        QCOMPARE(harness.probe("signal:*"), QVariant(0));

        harness.connect();
        QCOMPARE(toHost.size(), 1);
        QCOMPARE(toHost.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
        QVERIFY(harness.project()->isConnectFromHost());
        harness.send(kTable);
        QCOMPARE(harness.probe("programs"), QVariant("p1,p2"));

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
    void connectionCommandsAlwaysRun_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("connected");
        for (const bool connected : {false, true}) {
            const char* state = connected ? "connected" : "not connected";
            QTest::addRow("connectVerifyAsk, %s", state) << "connectVerifyAsk" << connected;
            QTest::addRow("passwordError, %s", state) << "passwordError" << connected;
        }
    }
    void connectionCommandsAlwaysRun()
    {
        QFETCH(QString, command);
        QFETCH(bool, connected);
        Harness harness;
        if (connected)
            harness.connect();
        QSignalSpy verifyAsk(harness.project(), &IRCProject::connectVerifyAsk);
        QSignalSpy passwordError(harness.project(), &IRCProject::connectPasswordError);
        harness.send(command + QStringLiteral(R"( {"uid":4})"));
        QCOMPARE(verifyAsk.size(), command == QLatin1String("connectVerifyAsk") ? 1 : 0);
        QCOMPARE(passwordError.size(), command == QLatin1String("passwordError") ? 1 : 0);
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
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("expected");

        const QString stage = QStringLiteral(R"(setStageImage {"stageImage":"%1"})");
        const QString node = QStringLiteral(R"(setProgramNode {"id":"n1","thumbnail":"%1"})");
        QTest::newRow("stage at the side limit") << stage.arg("@jpeg:4096x8") << ""
                                                 << "image:stageViewImage"
                                                 << "4096x8";
        QTest::newRow("stage too wide")
            << stage.arg("@jpeg:4097x8") << "stage image dropped: JPEG of 4097 x 8"
            << "image:stageViewImage"
            << "1920x1080";
        QTest::newRow("stage not a JPEG")
            << stage.arg("!!not-base64 at all!!") << "stage image dropped: not a JPEG"
            << "image:stageViewImage"
            << "1920x1080";
        QTest::newRow("stage text too long")
            << stage.arg("@text:12582913") << "stage image dropped: Base64 text of 12582913 characters"
            << "image:stageViewImage"
            << "1920x1080";
        QTest::newRow("thumbnail at the side limit") << node.arg("@jpeg:8x1024") << ""
                                                     << "image:n1"
                                                     << "8x1024";
        QTest::newRow("thumbnail too high")
            << node.arg("@jpeg:8x1025") << "thumbnail dropped: JPEG of 8 x 1025"
            << "image:n1"
            << "20x20";
        QTest::newRow("thumbnail text too long")
            << node.arg("@text:2097153") << "thumbnail dropped: Base64 text of 2097153 characters"
            << "image:n1"
            << "20x20";
    }
    void imagePayloadsAreBounded()
    {
        QFETCH(QString, command);
        QFETCH(QString, warning);
        QFETCH(QString, probe);
        QFETCH(QString, expected);

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
        QCOMPARE(harness.probe(probe).toString(), expected);

        // Any stage answer, usable or not, lets the next poll go out at once.
        harness.mirror()->onTimerOut();
        QCOMPARE(harness.count("stageImageRequest"),
                 command.startsWith(QLatin1String("setStageImage")) ? 2 : 1);
    }
};

QTEST_MAIN(tst_RCCmdProcesserManager)
#include "tst_RCCmdProcesserManager.moc"
