#pragma once

#include "project/RCProjectFileRecord.h"

#include <QCoreApplication>
#include <QJsonValue>
#include <QSet>
#include <QString>
#include <QStringList>

#include <future>

class IRCSetting;
class RCImageManager;

// Writes the open document into project packets, and knows the project file that the program last
// read or wrote (RCProjectFileRecord), so that a save neither replaces another program's change
// unasked nor deletes a picture that it did not put there.
//
// Every file of a save (the project file, each copied picture) is written whole or not at all
// (RCFileWrite): on a full disk the previous project file stays byte-identical and the save fails
// with lastError() saying why. Saving replaces the project file atomically and deletes images that
// nothing references only after the new file is in place; a save that cannot copy a picture the
// document references, or cannot write the file, fails and takes back what it wrote (picture
// copies, folders it made). The pictures that the replaced file named are those recorded when the
// program last read or wrote it; the file is read again only when it changed on disk since, and
// then only the pictures that both name may go.
//
// Owned by the packet I/O (RCProjectPacketIO), which tells it which packet is open and marks the
// document saved after a save succeeded; the image manager and the settings outlive it. GUI thread
// only.
class RCProjectPacketSaver
{
    Q_DECLARE_TR_FUNCTIONS(RCProjectPacketSaver)

public:
    // What a save does with a project file that another program or instance changed on disk since
    // the program last read or wrote it: leave it and fail, or replace it (the user agreed).
    enum class ChangedFile
    {
        Refuse,
        Overwrite
    };

    RCProjectPacketSaver(RCImageManager* imageManager, IRCSetting* setting);

    // The "version" that a saved project file carries.
    static QString fileVersion();

    // A project file was just read, whose content `json` is: it is now the one a save of its packet
    // replaces.
    void recordRead(const QString& filePath, const QString& imageFolder, const QJsonValue& json);
    // Ready once the pictures that the recorded file names are known (RCProjectFileRecord).
    std::shared_future<QSet<QString>> picturesKnown() const { return m_fileRecord.picturesKnown(); }
    // Whether the project file of the packet was changed on disk since the program last read or
    // wrote it. False for a file the program has not read or written, and for one that is gone.
    bool isFileChangedOnDisk(const QString& packetPath) const;

    // Folders and files that no packet may be saved as, into or below (the template cache, the
    // install folder, the program's other entries of its folder): the program empties, replaces
    // or deletes them on its own.
    void setReservedFolders(const QStringList& folders);
    // Whether a save into the packet writes into one of those (RCPacketFolder::savesInto).
    bool savesIntoReserved(const QString& packetPath) const;

    // Why the last save failed, for the user: a picture that is missing or could not be copied, a
    // file that the disk could not take whole, a refused folder, a file changed on disk. "" after a
    // successful save.
    QString lastError() const { return m_lastError; }

    // Writes the document into a project file, gathering its images into `imageFolder` ("": where
    // they are). Unused images are deleted only from `packetImageFolder`, the open packet's.
    bool saveProject(const QString& filePath, const QString& imageFolder, const QString& packetImageFolder);
    // Saves the document as a packet: its folders, the project file, the images, then the recent
    // projects (only after the file is in place). `openPacket` is the open packet's folder. Refused
    // for a folder name no packet may have, for a packet that writes into a reserved folder (also
    // the open one), for a new packet on a path the recent list cannot hold (the open packet is
    // saved where it is, then left out of the list), and, unless `changed` says Overwrite, for a
    // project file changed on disk. The open packet's old "project.json" goes once the new file is
    // written.
    bool savePacket(const QString& packetPath, const QString& openPacket, ChangedFile changed);

private:
    // Refuses the save with the reason for the user, `log` naming it in the log.
    bool refuse(const char* log, const QString& packetPath, const QString& reason);
    // The file that a save to `filePath` replaces: that one, or, when there is none and it is a
    // packet's project file, the older "project.json" beside it.
    static QString previousFileOf(const QString& filePath);
    // The pictures that the file a save replaces named and that may go with it, `known` being what
    // that file was against the record before the save (namedOnDisk: what it named then, read
    // when the program did not know it as it was): those the program recorded when it last read
    // or wrote it; of a file that changed on disk since, only those that both name; of a file it
    // never read, what it named. None when it is missing or no JSON.
    QSet<QString> ownPictures(RCProjectFileRecord::State known, QSet<QString> namedOnDisk) const;
    // The pictures of `imageFolder` that the file at filePath names, read now.
    static QSet<QString> picturesNamedByFile(const QString& filePath, const QString& imageFolder);

    RCImageManager* m_imageManager = nullptr;
    IRCSetting* m_setting = nullptr;
    QString m_lastError;
    QStringList m_reservedFolders;
    // The project file that the program last read or wrote, and the pictures it names.
    RCProjectFileRecord m_fileRecord;
};
