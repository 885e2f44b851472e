#include "project/PathSelection.h"
#include "project/TemporaryHome.h"
#include "support/ReadOnlyDialog.h"

#include <QFileDialog>
#include <QTest>

using namespace Qt::StringLiterals;

// The folder and file picker of the QML views, configured on a real dialog that is never shown.
class tst_PathSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsOnlyAndStartsInAMeaningfulFolder_data()
    {
        QTest::addColumn<bool>("selectFolder");
        QTest::addColumn<QString>("startFolder"); // below the home folder; "" for none
        QTest::addColumn<bool>("hasDocuments");   // whether the home holds a documents folder
        QTest::addColumn<QString>("start");       // below the home folder
        QTest::newRow("folder, beside the packet") << true << u"shows"_s << true << u"shows"_s;
        QTest::newRow("file, missing folder") << false << u"gone"_s << true << u"Documents"_s;
        QTest::newRow("folder, none") << true << QString() << true << u"Documents"_s;
        QTest::newRow("file, no documents folder") << false << QString() << false << QString();
    }
    void readsOnlyAndStartsInAMeaningfulFolder()
    {
        QFETCH(bool, selectFolder);
        QFETCH(QString, startFolder);
        QFETCH(bool, hasDocuments);
        QFETCH(QString, start);
        TemporaryHome home;
        QVERIFY(QDir().mkpath(home.filePath(u"shows/演出"_s)));
        QVERIFY(QDir().mkpath(home.filePath(u"work"_s)));
        if (hasDocuments)
            QVERIFY(QDir().mkpath(home.filePath(u"Documents"_s)));
        // The working folder is where a dialog opens by default; it must never be the start.
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(home.filePath(u"work"_s)));
        PathSelection picker;
        picker.setProperty("selectFolder", selectFolder);
        picker.setProperty("title", u"选择"_s);
        picker.setProperty("nameFilters", QStringList{u"Project files (*.tavx *.json)"_s});
        picker.setProperty("startFolder", startFolder.isEmpty() ? QString() : home.filePath(startFolder));
        QFileDialog dialog;
        picker.configureDialog(dialog);
        QDir::setCurrent(oldCurrent);

        QCOMPARE(QFileInfo(dialog.directory().absolutePath()).canonicalFilePath(),
                 QFileInfo(home.filePath(start)).canonicalFilePath());
        QCOMPARE(dialog.windowTitle(), u"选择"_s);
        QCOMPARE(dialog.fileMode(), selectFolder ? QFileDialog::Directory : QFileDialog::ExistingFile);
        QCOMPARE(dialog.testOption(QFileDialog::ShowDirsOnly), selectFolder);
        if (!selectFolder)
            QCOMPARE(dialog.nameFilters(), QStringList{u"Project files (*.tavx *.json)"_s});
        verifyDialogReadsOnly(dialog);
    }
};

QTEST_MAIN(tst_PathSelection)
#include "tst_PathSelection.moc"
