#pragma once

#include "project/RCProjectFileReader.h"
#include "project/RCProjectPacketSaver.h"

#include <QJsonObject>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <memory>

class IRCControlManager;
class IRCSetting;
class RCImageManager;

// The open project's packet on disk and the document read from it: which packet folder is open,
// reading a project file and applying it (settings, scenes, the catalogue's upgrade of the items,
// a clean undo history), and whether the document changed since the last load or save. Saving is
// its saver's work (RCProjectPacketSaver), which it tells which packet is open and what was read.
//
// Loading is all-or-nothing: a packet whose project file is missing, unreadable, not a JSON
// object or without "sceneArray" leaves the packet path, the image manager and the scenes as they
// were. Naming a new packet moves no picture: the image manager keeps resolving the document's
// pictures in the folder that holds them until a save into the packet gathers them there.
//
// A child of RCProject, whose image manager and settings outlive it. GUI thread only.
class RCProjectPacketIO : public QObject
{
    Q_OBJECT

public:
    RCProjectPacketIO(RCImageManager* imageManager, IRCSetting* setting, QObject* parent);
    ~RCProjectPacketIO() override;

    // The catalogue that a load upgrades the items from; without one items are taken as stored.
    void setControlManager(IRCControlManager* controlManager);

    // The open packet's folder: "" until a packet is loaded, named or saved.
    QString packetPath() const { return m_packetPath; }
    // The open packet's image folder.
    QString imageFolderPath() const;
    // Names the open packet and points the image manager at its image folder; false (nothing
    // done) when the packet already has that name.
    bool setPacketPath(const QString& packetPath);
    // The open packet was deleted: no packet is open, the image manager has no folder.
    void forgetPacket();

    // Whether the document changed since the last successful load or save.
    bool isModified() const { return m_modified; }
    // Empties the values of the pictures that are missing (RCImageManager::dropMissingPictures);
    // the document counts as changed when any went.
    int dropMissingPictures();
    // Runs `change` on the document without counting it as a change since the last load or save.
    void changeUnmarked(const std::function<void()>& change);

    // Applies a project object; one without "sceneArray" (a media server's answer) brings only
    // its settings and leaves the document changed. False for a "sceneArray" that is no object.
    bool setProject(const QJsonObject& jsObj);
    // Reads and applies a project file.
    bool loadProject(const QString& filePath);
    // Reads and applies a packet's project file, which makes it the open packet.
    bool loadPacket(const QString& packetPath);
    // A project file being read ahead (RCProjectFileReader): the next loadPacket takes it over,
    // whichever packet it loads. Replaces an earlier one.
    void setReadAhead(std::unique_ptr<RCProjectFileReader> reader);
    // The window has drawn a frame. The memory that the last load's parse freed goes back to the
    // system now, on a thread of its own: the trim takes each heap's lock in turn, so while the
    // window is being built it would hold up the GUI thread. GUI thread; cheap when nothing waits.
    void windowDrawn();
    // Writes the document into a project file, gathering its images into `imageFolder`
    // (RCProjectPacketSaver::saveProject); the document counts as saved after a success.
    bool saveProject(const QString& filePath, const QString& imageFolder);
    // Saves the document as a packet (RCProjectPacketSaver::savePacket, with the open packet); the
    // document counts as saved after a success.
    bool savePacket(const QString& packetPath, RCProjectPacketSaver::ChangedFile changed);

    // Whether the open packet's project file was changed on disk (by another program or another
    // instance) since the program last read or wrote it: a save would replace what that change
    // wrote. False for a file the program has not read or written, and for one that is gone.
    bool isProjectFileChangedOnDisk() const { return m_saver.isFileChangedOnDisk(m_packetPath); }
    // Whether a save into the packet writes into a folder that the program empties or replaces
    // (RCProjectPacketSaver::setReservedFolders).
    bool savesIntoReserved(const QString& packetPath) const { return m_saver.savesIntoReserved(packetPath); }
    void setReservedFolders(const QStringList& folders) { m_saver.setReservedFolders(folders); }

    // Why the last save failed, for the user (RCProjectPacketSaver::lastError).
    QString lastError() const { return m_saver.lastError(); }

    // Reads a project file: its JSON object, or an empty object when it cannot be read, is
    // not a JSON object or has no "sceneArray" object.
    static QJsonObject readProjectFile(const QString& filePath);

private:
    // The JSON object of a project file as read, checked and reported as readProjectFile does.
    static QJsonObject checkedProjectFile(const QString& filePath, const RCProjectFileReader::Result& read);
    // Applies a checked project object: settings, scenes, catalogue upgrade, clean history.
    // With the item records read with the file (RCProjectFileReader::Result::sceneRows), the
    // items are built from them.
    void applyProject(const QJsonObject& jsObj,
                      const std::vector<RCSceneItemRecords::SceneRows>& sceneRows = {});
    // Gives every item the rows that its catalogue control defines and it lacks.
    void upgradeItems();
    void markSaved();

    RCImageManager* m_imageManager = nullptr;
    IRCSetting* m_setting = nullptr;
    IRCControlManager* m_controlManager = nullptr;
    QString m_packetPath;
    std::unique_ptr<RCProjectFileReader> m_readAhead;
    RCProjectPacketSaver m_saver;
    // Frees the parse of the last large file loaded; awaited before the next and on destruction.
    std::future<void> m_disposal;
    // A load freed a large parse whose memory is not given back yet (see windowDrawn).
    bool m_trimWaiting = false;
    // Set by every recorded edit, undo and redo, and by every scene or item added or removed
    // without a record; cleared by a successful load or save. Unlike "the undo history is not
    // empty" it survives the history's cap.
    bool m_modified = false;
};
