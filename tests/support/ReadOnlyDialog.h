#pragma once

#include <QAction>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>
#include <QToolButton>

// Fails the running test unless the configured dialog (Qt's own, not the platform's) can only
// read: nothing in it can delete, rename or make a file or folder (the context menu's "New
// Folder" follows the button). Call it last, or check QTest::currentTestFailed() after it.
inline void verifyDialogReadsOnly(const QFileDialog& dialog)
{
    QVERIFY(dialog.testOption(QFileDialog::ReadOnly));
    QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
    auto* model = dialog.findChild<QFileSystemModel*>();
    QVERIFY(model && model->isReadOnly());
    auto* newFolder = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton"));
    QVERIFY(newFolder && !newFolder->isEnabled());
    for (const QString& name : {QStringLiteral("qt_delete_action"), QStringLiteral("qt_rename_action")}) {
        auto* action = dialog.findChild<QAction*>(name);
        QVERIFY2(action && !action->isEnabled(), qPrintable(name));
    }
}
