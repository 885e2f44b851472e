#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs program with args to its end; false, with a warning naming the exit status, unless it
// exits with 0.
inline bool runCommand(const QString& program, const QStringList& args)
{
    const int status = QProcess::execute(program, args);
    if (status != 0)
        qWarning("%s %s: exit status %d", qPrintable(program), qPrintable(args.join(' ')), status);
    return status == 0;
}

// A host of its own, made inside the test's private network namespace: one of the project's
// stand-in programs (found below TAVIX_BINARY_DIR) alone in a network namespace (`unshare -n`),
// which ends with it. The program writes JSON lines, each naming its "event". A cable to it is
// a veth pair whose far end the test moves into netnsPid().
struct NamespaceHost
{
    QProcess process;

    // Starts the program at path (relative to the build folder) and waits for its "listening".
    bool start(const QString& path, const QStringList& args = {})
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("unshare"),
                      QStringList{"-n", qEnvironmentVariable("TAVIX_BINARY_DIR") + QLatin1Char('/') + path} +
                          args);
        return process.waitForStarted(10000) && event(10000) == QLatin1String("listening");
    }
    ~NamespaceHost()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QString netnsPid() const { return QString::number(process.processId()); }
    // Runs `ip ARGS` in this host's namespace.
    bool ip(const QStringList& args)
    {
        return runCommand("nsenter",
                          QStringList{QStringLiteral("--net=/proc/%1/ns/net").arg(netnsPid()), "ip"} + args);
    }
    // The "event" of the next log line, waiting up to ms for it.
    QString event(int ms)
    {
        if (!process.canReadLine() && !process.waitForReadyRead(ms))
            return {};
        return QJsonDocument::fromJson(process.readLine()).object().value("event").toString();
    }
};
