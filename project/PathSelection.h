#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QFileDialog;

// The picker of one existing folder or one existing file for the QML views: the save dialog's
// folder button and the project manager's "更多项目". QML creates it, sets what to pick and where
// to start, calls show() and receives the choice as a local path through picked(). GUI thread
// only.
//
// configureDialog(dialog, choice) makes every file dialog of the program, this picker's and the
// image picker's: Qt's own dialog (a platform dialog may offer deleting whatever the options say),
// read-only, so that nothing it shows can be deleted, renamed or created (the folders it shows
// include the open packet and the application's own folders), and opening in a folder the
// caller names, never in the process's working folder.
class PathSelection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString title MEMBER m_title NOTIFY choiceChanged)
    // Folders only (true), or one existing file that matches nameFilters (false).
    Q_PROPERTY(bool selectFolder MEMBER m_selectFolder NOTIFY choiceChanged)
    Q_PROPERTY(QStringList nameFilters MEMBER m_nameFilters NOTIFY choiceChanged)
    // Where the dialog opens when this is an existing folder; else in the user's documents
    // folder, else in home.
    Q_PROPERTY(QString startFolder MEMBER m_startFolder NOTIFY choiceChanged)

public:
    explicit PathSelection(QObject* parent = nullptr);

    // What a file dialog offers: one existing folder (selectFolder) or one existing file that
    // matches nameFilters, opening in the first of startFolders that is an existing folder, else
    // in the user's home folder.
    struct Choice
    {
        QString title;
        bool selectFolder = false;
        QStringList nameFilters;
        QStringList startFolders;
    };

    // Makes `dialog` a read-only dialog of `choice`; this replaces the dialog's options.
    static void configureDialog(QFileDialog& dialog, const Choice& choice);
    // Runs a modal dialog of `choice`: the chosen path, "" when the user cancels.
    static QString pick(const Choice& choice);
    // Makes `dialog` this picker's dialog.
    void configureDialog(QFileDialog& dialog) const;

    // Opens the modal dialog; emits picked() with the chosen path, nothing when the user cancels.
    Q_INVOKABLE void show();

Q_SIGNALS:
    void picked(const QString& path);
    void choiceChanged();

private:
    Choice choice() const;

    QString m_title;
    bool m_selectFolder = false;
    QStringList m_nameFilters;
    QString m_startFolder;
};
