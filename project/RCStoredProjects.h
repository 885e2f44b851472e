#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// The stored project packets as the project manager lists them: the folders of the recent-projects
// record that hold a readable project file, each with its name and thumbnail; and the removal and renaming
// of a stored packet, which the record follows. Knows nothing of the open project. GUI thread
// only.
class RCStoredProjects
{
public:
    // Reads the list afresh from the record; its length.
    int rescan();
    // Entry `i` of the last scan ("ProjectPacketPath", "Name", "ThumbnailPath" as a "file:" URL, ""
    // when the packet has no thumbnail), or an empty map.
    QVariantMap entry(int i) const;

    // Deletes a packet's own files (and its folder once empty) and drops it from the record. Of a
    // listed folder whose project file does not read as a project (RCPacketFolder::readsAsProject)
    // nothing can be told for the packet's own: only its entry goes. False for any other folder
    // that is no project packet, and when the packet's files could not all go.
    static bool deletePacket(const QString& packetPath);
    // Renames a folder that holds a project file, whatever that holds, whose name is `projectName`
    // to `newProjectName` in the same parent, where the record then lists it first; the new path,
    // or "" (nothing done) when the folder, the names or the record refuse it or the folder cannot
    // be renamed.
    static QString renamePacket(const QString& packetPath, const QString& projectName,
                                const QString& newProjectName);

private:
    QList<QVariantMap> m_list;
};
