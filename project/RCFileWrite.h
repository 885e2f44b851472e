#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QFileDevice;

// Whole-file writes that either put every byte in place or leave the destination as it was.
// Each write goes through an unbuffered QSaveFile: the new content is written beside the
// destination and renamed over it only once all of it is written and synced; a write that comes
// back short (a full disk, a quota) or fails is cancelled, so the previous file stays
// byte-identical and no temporary file is left. `reason`, when given, receives a text for the user that names the file
// and why it could not be written ("" on success). Any thread; no state.
class RCFileWrite
{
    Q_DECLARE_TR_FUNCTIONS(RCFileWrite)

public:
    // Replaces `path` with `data`.
    static bool write(const QString& path, const QByteArray& data, QString* reason = nullptr);

    // Replaces `destination` with the bytes of `source` (resource files too); the copy is an
    // ordinary file with the permissions a new file gets.
    static bool copy(const QString& source, const QString& destination, QString* reason = nullptr);

    // The user's text for a device that could not take what was written to it.
    static QString failureText(const QString& path, const QFileDevice& device);

private:
    RCFileWrite() = delete;
};
