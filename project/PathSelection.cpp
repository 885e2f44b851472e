#include "project/PathSelection.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

PathSelection::PathSelection(QObject* parent) : QObject(parent) {}

void PathSelection::configureDialog(QFileDialog& dialog, const Choice& choice)
{
    dialog.setWindowTitle(choice.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.selectFolder ? QFileDialog::Directory : QFileDialog::ExistingFile);
    if (!choice.selectFolder && !choice.nameFilters.isEmpty())
        dialog.setNameFilters(choice.nameFilters);
    dialog.setOptions(QFileDialog::ReadOnly | QFileDialog::DontUseNativeDialog);
    if (choice.selectFolder)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    QString start = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    for (const QString& folder : choice.startFolders) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            start = folder;
            break;
        }
    }
    dialog.setDirectory(start);
}

QString PathSelection::pick(const Choice& choice)
{
    QFileDialog dialog;
    configureDialog(dialog, choice);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

PathSelection::Choice PathSelection::choice() const
{
    return Choice{m_title,
                  m_selectFolder,
                  m_nameFilters,
                  {m_startFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}};
}

void PathSelection::configureDialog(QFileDialog& dialog) const
{
    configureDialog(dialog, choice());
}

void PathSelection::show()
{
    const QString path = pick(choice());
    if (!path.isEmpty())
        Q_EMIT picked(path);
}
