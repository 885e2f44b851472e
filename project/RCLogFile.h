#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

class QFile;

// The process-wide log file. initLogFile() installs a message handler that formats every
// message of every category with MessagePattern (also the terminal's, unless the environment
// sets another one for it), appends it to a log file named after the start time in
// "<home>/Tavix/Log" and passes it on to the handler it replaced. Where that is the framework's
// own handler on Linux and the environment sets no pattern, the handler writes the same line to
// standard error itself, as the framework's would. Each line is flushed to disk before the
// handler returns, so the file holds every message up to a crash.
//
// Thread affinity: the handler and writeLine() may run on any thread; every write to the
// file is serialised by the log lock. initLogFile() runs once on the GUI thread before any
// worker thread exists.
class RCLogFile
{
public:
    static constexpr const char* MessagePattern = "%{time}[%{type}][%{threadid}]%{category}: %{message}";

    // Installs the pattern and the handler and opens the log file. Only the first call per
    // process has an effect; later calls return at once.
    static void initLogFile();

    // The installed message handler.
    static void logMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);

    // Writes one line, as given and followed by a line end, straight into the log file
    // (used for the start-up lines that do not go through the message pattern).
    static void writeLine(const QString& line);

    // Path of the open log file; empty when none could be opened, or once a line could not be
    // written whole (a full disk), after which the file takes no more lines.
    static QString logFilePath();

    // The log folder: "<home>/Tavix/Log".
    static QString logDirPath();

    // Creates a new, empty log file for a start at `startTime` inside `dirPath`, creating the
    // folder with its parents when missing. The name is "yyyy-MM-dd hh-mm-ss.log"; when a
    // file of that name exists already (two starts within one second) " (2)", " (3)", ... is
    // added before the extension, so no earlier log is ever truncated. Returns the open file
    // (owned by the caller) or null when no file could be created.
    static QFile* createLogFile(const QString& dirPath, const QDateTime& startTime);

private:
    RCLogFile() = delete;
};
