#pragma once

#include <QString>

// File-system helpers for project packets. None follows a symbolic link: a link inside a
// folder is removed as a link, never entered. GUI thread only.
class RCPacketFolder
{
public:
    static constexpr const char* ProjectFileName = "project.tavx";
    static constexpr const char* OldProjectFileName = "project.json";
    static constexpr const char* ImageFolderName = "image";
    static constexpr const char* ThumbnailFileName = "thumbnail.png";

    // Empties a folder: files and links are deleted, subfolders emptied and removed. The
    // folder itself stays. False when the path is empty, is no folder, or a file directly in
    // it could not be deleted.
    static bool removeDirectory(const QString& path);

    // Removes a packet's own entries (the project files, the thumbnail and the image folder)
    // and then the folder itself only when nothing else is left in it: a packet saved into a
    // folder that holds other files leaves them. False when an entry of the packet's own could
    // not be removed.
    static bool removePacket(const QString& path);

    // Whether the folder lists at least one entry (hidden entries not counted).
    static bool hasEntries(const QString& path);

    // The project file of a packet: "project.tavx" when it exists, else "project.json" when
    // it exists, else "".
    static QString projectFileOf(const QString& packetPath);

    // A real folder (not a link) that holds a file named as a project file, whatever it holds.
    static bool holdsProjectFile(const QString& path);

    // A real folder (not a link) whose project file (projectFileOf) reads as a project
    // (readsAsProject). A folder that merely holds a file of that name is no packet: the file may
    // be anybody's.
    static bool isProjectPacket(const QString& path);

    // Whether a file begins as a project file: a JSON object whose top-level "sceneArray" is an
    // object. Reads only as far as that value's first byte and builds no document
    // (RCProjectJsonParser::holdsSceneArrayObject), so a file of the program's that was cut off
    // after its start still reads as one. Logs nothing.
    static bool readsAsProject(const QString& filePath);
    // Whether all of a file reads as a project file: valid JSON, an object, and its "sceneArray"
    // an object. Reads and parses the whole file; logs nothing.
    static bool readsWholeAsProject(const QString& filePath);
    // A real folder (not a link) that holds a project file which does not read whole as a project
    // (cut off, broken, or no project at all).
    static bool isDamagedPacket(const QString& path);

    // Whether a text can name a packet folder inside its parent: one path component, not
    // empty, not "." or "..", without separators or control characters.
    static bool isValidPacketName(const QString& name);

    // Whether a user may name a project packet so on any platform: a valid packet name without
    // the characters that Windows reserves (< > : " | ? *) or control characters, without
    // leading or trailing blanks, and neither starting (a hidden folder) nor ending in ".".
    static bool isValidProjectName(const QString& name);

    // A name from elsewhere (a media server's project) made into one valid project name:
    // separators, reserved and control characters become "_", leading and trailing blanks and
    // dots go. "" when nothing usable is left.
    static QString safeProjectName(const QString& name);

    // The last component of a folder path, a trailing separator ignored.
    static QString folderName(const QString& path);

    // A path made absolute and cleaned, with every symbolic link on the way resolved: the part
    // that exists becomes its canonical path and the rest (not made yet) follows as written.
    // "" for an empty path.
    static QString resolvedPath(const QString& path);

    // Whether two non-empty paths name one place: once resolved, so a folder reached through a
    // symbolic link is the folder it leads to, or, where both exist, as one file of one device
    // (sameFile), so a folder reached through a bind mount is the folder mounted there.
    static bool samePath(const QString& a, const QString& b);

    // Whether a non-empty path is the folder itself or lies below it: compared resolved, and
    // each existing folder on the path's way up by device and inode (sameFile). A folder that does
    // not exist is its nearest existing folder by device and inode plus the names below it, so a
    // name that a bind mount shows elsewhere counts before anything is made there.
    static bool isInside(const QString& path, const QString& folder);

    // Whether two existing entries are one file of the file system (device and inode, links
    // followed). False when either cannot be looked up, and where the system does not tell.
    static bool sameFile(const QString& a, const QString& b);

    // Whether a save into `packetPath` writes into or below `folder`: the packet folder itself or
    // one of the entries it writes (the project file, the image folder, the thumbnail), each of
    // which may be a link elsewhere (isInside).
    static bool savesInto(const QString& packetPath, const QString& folder);
    // Whether a save into `packetPath` writes into or below any of `folders` (empty ones ignored).
    static bool savesInto(const QString& packetPath, const QStringList& folders);

    // Whether a name is longer than a folder name can be (255 bytes in UTF-8).
    static bool isNameTooLong(const QString& name);

    // Whether a folder holds an entry that a save writes: a project file or the thumbnail.
    static bool holdsPacketFiles(const QString& path);

    // Whether a project packet (isProjectPacket) holds nothing but a packet's own entries (the
    // project files, the image folder and the thumbnail).
    static bool holdsOnlyPacket(const QString& path);

private:
    RCPacketFolder() = delete;
};
