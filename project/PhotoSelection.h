#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class QFileDialog;

// The picker behind the icon row of the property panel. QML creates it, calls show() and
// receives the chosen PNG file as a local path through imageSelected(); a picture handed
// over in memory is stored through PhotoCache first. GUI thread only.
//
// The dialog only reads: it offers no way to delete, rename or create files or folders, since
// the folders it shows include the open packet and the application's own folders.
class PhotoSelection : public QObject
{
    Q_OBJECT
    // The open packet's image folder, where the dialog starts when that folder exists.
    Q_PROPERTY(QString imageFolder READ imageFolder WRITE setImageFolder NOTIFY imageFolderChanged)

public:
    explicit PhotoSelection(QObject* parent = nullptr);

    // Whether a picked file may be used by its name: the suffix "png" in any case.
    static bool isAcceptedImageFile(const QString& path);
    // Why a picked PNG file cannot be shown, for the user and naming it: it cannot be read as a
    // picture (an empty or broken file), or it is larger than a picture the views can hold (its
    // 32-bit pixels above Qt's image allocation limit). "" for a picture that can be used.
    static QString refusalOf(const QString& path);

    // Makes `dialog` the picker's dialog: one existing PNG file, read-only
    // (PathSelection::configureDialog), starting in `imageFolder` when it is a folder, else in the
    // user's pictures folder (home when there is none).
    static void configureDialog(QFileDialog& dialog, const QString& imageFolder);

    QString imageFolder() const { return m_imageFolder; }
    void setImageFolder(const QString& folder);

Q_SIGNALS:
    void imageSelected(const QString& imagePath);
    void imageFolderChanged();

public Q_SLOTS:
    void onIosImageSelected(const QImage& img);

public:
    // Opens the modal file dialog; emits imageSelected with the chosen path, warns about a
    // file that is not PNG or cannot be used (refusalOf) and does nothing when the user cancels.
    Q_INVOKABLE void show();

private:
    QString m_imageFolder;
};
