#pragma once

#include <QImage>
#include <QObject>
#include <QString>

// The picker behind the icon row of the property panel. QML creates it, calls show() and
// receives the chosen PNG file as a local path through imageSelected(); a picture handed
// over in memory is stored through PhotoCache first. GUI thread only.
class PhotoSelection : public QObject
{
    Q_OBJECT

public:
    explicit PhotoSelection(QObject* parent = nullptr);

    // Whether a picked file may be used: only the suffix "png" (exact case) is accepted.
    static bool isAcceptedImageFile(const QString& path);

Q_SIGNALS:
    void imageSelected(const QString& imagePath);

public Q_SLOTS:
    void onIosImageSelected(const QImage& img);

public:
    // Opens the modal file dialog; emits imageSelected with the chosen path, warns about a
    // file that is not PNG and does nothing when the user cancels.
    Q_INVOKABLE void show();
};
