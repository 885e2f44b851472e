#include "project/PathSelection.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

PathSelection::PathSelection(QObject* parent) : QObject(parent) {}

void PathSelection::prepareReadOnly(QFileDialog& dialog, const QStringList& startFolders)
{
    dialog.setOptions(QFileDialog::ReadOnly | QFileDialog::DontUseNativeDialog);
    QString start = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    for (const QString& folder : startFolders) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            start = folder;
            break;
        }
    }
    dialog.setDirectory(start);
}

void PathSelection::configureDialog(QFileDialog& dialog) const
{
    dialog.setWindowTitle(m_title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(m_selectFolder ? QFileDialog::Directory : QFileDialog::ExistingFile);
    if (!m_selectFolder && !m_nameFilters.isEmpty())
        dialog.setNameFilters(m_nameFilters);
    prepareReadOnly(dialog,
                    {m_startFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
    if (m_selectFolder)
        dialog.setOption(QFileDialog::ShowDirsOnly);
}

void PathSelection::show()
{
    QFileDialog dialog;
    configureDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!path.isEmpty())
        Q_EMIT picked(path);
}
