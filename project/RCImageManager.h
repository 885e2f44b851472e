#pragma once

#include <QJsonValue>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>

#include <functional>

// Resolves image values for the views and gathers the images a project uses into its
// packet's image folder.
//
// An image value is a "qrc:" URL, a "file:" URL, an image reference "rcimg:/<file name>"
// naming a file in the current packet's image folder, or a plain local path. References
// are a trust boundary: a reference whose name is not a plain file name ("rcimg:/../x",
// "rcimg://etc/x") resolves to nothing, never to a file outside the image folder.
// Resolved references are built as URLs, so names with "#", "?", "%" or blanks load.
//
// Saving is two steps: modifyImagePathAndSaveImages() copies the used images into the
// destination and rewrites the values to references before the project file is produced;
// removeUnusedImages() deletes what nothing references only after that file was written.
//
// Owned by the project root; published to QML as "getImageManager". GUI thread only. A change of
// where references resolve (the image folder, resource mode, the resource image folder) emits
// resolutionChanged(): views that show a reference resolve it again then.
class RCImageManager : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* ReferencePrefix = "rcimg:/";

    explicit RCImageManager(QObject* parent = nullptr);

    // The URL under which a view loads an image value: URLs and other values unchanged, a
    // reference resolved against the image folder (or the resource image folder in resource
    // mode); an invalid reference or one without a folder to resolve against gives "".
    Q_INVOKABLE QString pathTransformation(const QString& sPath) const;

    void setProjectImagePath(const QString& path);
    QString projectImagePath() const { return m_imageFolder; }
    bool isQrc() const { return m_isQrc; }
    // The resource image folder as a "qrc:" URL, such as "qrc:/empty/image".
    QString qrcImagePath() const { return m_qrcImageFolder; }
    // The image folder, resource mode and resource image folder at once: one resolutionChanged().
    void setResolution(const QString& folder, bool isQrc, const QString& qrcFolder);

    // An image value of a scene (itemId empty) or of a scene item.
    struct ImageValue
    {
        QString sceneId;
        QString itemId;
        QString name;
        QVariant value;
    };

    // What one gathering did, so that a save that cannot complete can take it back.
    struct GatherReport
    {
        // The values as they were before their rewrite.
        QList<ImageValue> previous;
        // The files that the gathering created in the destination (reused files not included).
        QStringList created;
        // The values that named a picture which could not be copied; they were left as they were.
        // After the first picture that could not be written only missing ones are added: the
        // rest are not copied at all.
        QStringList failed;
        // Of those, the ones whose picture is not on disk (the rest could not be written).
        QStringList missing;
        // The file names of those pictures, once each, in the order of `missing`.
        QStringList missingNames;
        // Why the first picture that is there could not be written ("" when none failed so).
        QString writeError;
        // Whether the gathering moved where references resolve to the destination, and where
        // they resolved before.
        bool resolutionMoved = false;
        QString previousFolder;
        bool previousIsQrc = false;
    };

    // The file names of the pictures that the document shows from disk and that are not there
    // (a picked file that was removed, a reference into a packet that was deleted), once each, in
    // scene and item order. "qrc:" values and empty values never count.
    QStringList missingPictures() const;
    // Empties every image value whose picture is missing (without undo records), so that a save
    // goes ahead without them. Returns how many values it emptied.
    int dropMissingPictures();
    // Whether the document shows a picture from a file inside `folder` (a reference that resolves
    // there, a file value or a plain path below it).
    bool usesPicturesIn(const QString& folder) const;

    // Copies every image that a scene or scene item shows from outside `dstFolder` into it;
    // once all of them are there, references resolve in `dstFolder` (as adoptImageFolder()) and
    // the copied values are rewritten to references (without undo records). When a copy fails,
    // no value is rewritten and references resolve where they did. So a view never resolves a
    // value to a file that is not there yet. `dstFolder` empty means the image folder. Returns
    // the paths of the files of the destination that the rewritten document references (every
    // reference it holds, also one whose copy failed), for removeUnusedImages(). `report`, when
    // given, receives what discardGathering() needs and the values whose picture could not be
    // copied. Once a picture could not be written, the rest are not copied. `ownFiles` are the
    // pictures of the destination that the packet's previous project file named (filesNamedBy):
    // besides the copies that this gathering writes, only they may be taken for a picture's copy
    // (saveImageToDstPath).
    QSet<QString> modifyImagePathAndSaveImages(const QString& dstFolder, GatherReport* report = nullptr,
                                               const QSet<QString>& ownFiles = {});

    // Takes a gathering back: puts back the values it rewrote (without undo records), then where
    // references resolved, and deletes the files it created.
    void discardGathering(const GatherReport& report);

    // Deletes the files of `dstFolder` (the image folder when empty) that are in `ownFiles` (the
    // pictures that the packet's previous project file named, filesNamedBy()) and not in
    // `usedFiles`: a file that the program did not put there, or that the document still names,
    // stays; nothing goes from a folder that is itself a symbolic link. Paths are compared by their
    // canonical form. Subfolders stay. Call only once the project file has been written.
    void removeUnusedImages(const QString& dstFolder, const QSet<QString>& usedFiles,
                            const QSet<QString>& ownFiles);

    // The files of `folder` that a project file's JSON names anywhere, whatever the row: every
    // reference, and every "file:" URL or absolute path of a file directly in `folder`. Keys as
    // modifyImagePathAndSaveImages() returns them.
    static QSet<QString> filesNamedBy(const QJsonValue& json, const QString& folder);

    // The document's references name files in `folder`, so they resolve there from now on
    // (outside resource mode). Nothing changes when it is the image folder or empty.
    void adoptImageFolder(const QString& folder);

    // Whether two paths name one folder: by canonical path or as one file of the file system
    // (RCPacketFolder::sameFile, a bind mount) when both exist, else by their cleaned absolute
    // paths. Two empty paths are the same folder.
    static bool sameFolder(const QString& a, const QString& b);

    // Whether the value names an image that must be copied into `dstFolder`.
    bool needCopy(const QString& value, const QString& dstFolder) const;

    // Copies the image of `value` into `dstFolder` (the image folder when empty) and returns
    // the absolute path of the file that now holds it there, or "" on failure. The copy takes the
    // picture's name or, when that is taken, the first free one ("logo_2.png", "logo_3.png", ...).
    // A file already there is never taken for the copy, whatever it holds: it may be the user's,
    // and the next save that no longer shows the picture would delete it. Only a file of
    // `written` (by fileKey: the files this save wrote so far, and those the packet's previous
    // project file named) that holds the same picture is reused; a file this call writes is added
    // to it. `created`, when given, tells whether the
    // returned file was written by this call. `error`, when given, receives why a picture that is
    // there could not be written.
    QString saveImageToDstPath(const QString& value, const QString& dstFolder, bool* created = nullptr,
                               QString* error = nullptr, QSet<QString>* written = nullptr);

    // "rcimg:/" followed by the value's file name.
    QString getImageReference(const QString& value) const;

    // The local file that a value names: a "file:" URL as a path (also when it was written
    // by gluing "file:" to a raw path), a resource URL as a ":" resource path, a reference
    // resolved against its folder, anything else as the path it is. "" when nothing.
    QString localPathOf(const QString& value) const;

    // The file name of a reference, or "" when the value is no reference or its name is not
    // a plain file name.
    static QString referenceName(const QString& value);

Q_SIGNALS:
    void resolutionChanged();

private:
    // Calls `visit(sceneId, itemId, name, value)` for each image value of the document: the icon
    // and background of every scene (itemId empty), then each item's image properties, then every
    // other row of the item that names a packet picture (namesPacketPicture), whatever its
    // display type: a row read without one is shown all the same.
    void forEachImageValue(const std::function<void(const QString&, const QString&, const QString&,
                                                    const QVariant&)>& visit) const;
    static void setImageValue(const QString& sceneId, const QString& itemId, const QString& name,
                              const QVariant& value);
    // Whether a text names a picture of the packet: a reference, or a "file:" URL or absolute path
    // of a file directly in the image folder.
    bool namesPacketPicture(const QString& value) const;
    // The path of the file directly in `folder` that a text names (a reference, a "file:" URL or
    // an absolute path); "" for any other text, and for an empty folder.
    static QString fileInFolder(const QString& value, const QString& folder);
    // Whether a value names a picture on disk that is not there.
    bool isMissing(const QString& value) const;
    // Appends the file name of a missing picture's value to `names` unless it is there already.
    void addMissingName(const QString& value, QStringList& names) const;
    QString resolveFolder(const QString& dstFolder) const;
    // The key under which a file is compared: its canonical path when it exists.
    static QString fileKey(const QString& path);
    static bool sameContent(const QString& a, const QString& b);
    static QString fileUrlToLocalPath(const QString& value);

    QString m_imageFolder;
    QString m_qrcImageFolder;
    bool m_isQrc = false;
};
