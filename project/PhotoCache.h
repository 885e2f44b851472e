#pragma once

#include <QObject>
#include <QString>

class QImage;

// Cache of pictures handed over in memory, kept as PNG files in the flat folder
// "<documents>/Tavix/photoCache". A file is named after the hex MD5 digest of its PNG
// bytes, so equal pictures share one file. The project empties the cache at start and at
// shutdown.
//
// instance() may be called from any thread (its creation is locked); the cache's
// operations are used on the GUI thread.
class PhotoCache : public QObject
{
    Q_OBJECT

public:
    static PhotoCache* instance();

    // Composes the cache folder from the current documents folder and creates it with its
    // parents. Public so that a cache can be made for another documents folder; the program
    // itself uses instance().
    explicit PhotoCache(QObject* parent = nullptr);

    // Stores the picture as a PNG file and returns the file's path; an empty string when the
    // picture cannot be encoded or the file cannot be written.
    QString cacheImage(const QImage& img);

    // Deletes the cached files; the folder itself (and any subfolder) stays.
    void clear();

    QString cacheDirPath() const { return m_cacheDirPath; }

private:
    QString m_cacheDirPath;
};
