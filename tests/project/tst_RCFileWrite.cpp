// A copy takes every byte of its source or writes nothing.
#include "project/RCFileWrite.h"
#include "support/FileTree.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_RCFileWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copyTakesAllOrNothing_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("copied");
        QTest::newRow("ordinary file") << u"source.bin"_s << true;
        // Reads more than the length it reports, as a file that changes under the read.
        QTest::newRow("length changes under the read") << u"/proc/self/status"_s << false;
        QTest::newRow("missing") << u"missing.bin"_s << false;
    }
    void copyTakesAllOrNothing()
    {
        QFETCH(QString, source);
        QFETCH(bool, copied);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray bytes = patternBytes(70000, 'a');
        QVERIFY(writeFile(dir.filePath(u"source.bin"_s), bytes));
        const QString destination = dir.filePath(u"destination.bin"_s);
        QVERIFY(writeFile(destination, "previous"));
        const QString path = source.startsWith(u'/') ? source : dir.filePath(source);
        QString reason;
        QCOMPARE(RCFileWrite::copy(path, destination, &reason), copied);
        QCOMPARE(readFile(destination), copied ? bytes : QByteArray("previous"));
        QCOMPARE(reason.isEmpty(), copied);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no file left beside it
    }
};

QTEST_GUILESS_MAIN(tst_RCFileWrite)
#include "tst_RCFileWrite.moc"
