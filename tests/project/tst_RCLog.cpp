#include "project/RCLog.h"
#include "project/RCLogFile.h"
#include "project/TemporaryHome.h"

#include <QFile>
#include <QJSEngine>
#include <QSignalSpy>
#include <QTest>

class tst_RCLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outputOnlySignals();
};

void tst_RCLog::outputOnlySignals()
{
    TemporaryHome home;
    RCLogFile::initLogFile();
    RCLog* log = RCLog::instance();
    QCOMPARE(log, RCLog::instance());
    QCOMPARE(QJSEngine::objectOwnership(log), QJSEngine::CppOwnership);

    QSignalSpy spy(log, &IRCLog::logWrite);
    log->output(QStringLiteral("from-qml-only"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("from-qml-only"));

    QFile file(RCLogFile::logFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("from-qml-only"));
}

QTEST_GUILESS_MAIN(tst_RCLog)
#include "tst_RCLog.moc"
