// tavix-cloud-relay-standin: a stand-in cloud relay for trying the panel's cloud join and for the
// tests. See README.md ("Trying the cloud join with the stand-in relay").
#include "tools/StandinSupport.h"
#include "tools/ToolCommandLine.h"
#include "tools/cloud-relay-standin/CloudRelayStandin.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

// A JSON scalar as written ("0", "-1", "\"401\""); any other text stands for itself.
QJsonValue statusValue(const QString& text)
{
    const QJsonDocument document = QJsonDocument::fromJson(QStringLiteral("[%1]").arg(text).toUtf8());
    if (document.isArray() && document.array().size() == 1)
        return document.array().first();
    return QJsonValue(text);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tavix-cloud-relay-standin");

    QCommandLineParser parser;
    parser.setApplicationDescription("Stand-in cloud relay for the Tavix cloud project client.");
    parser.addHelpOption();
    const QCommandLineOption bind("bind", "Address to listen on (default 127.0.0.1).", "address",
                                  "127.0.0.1");
    const QCommandLineOption port("port", "Port to listen on (default 3000, 0: any free port).", "port",
                                  "3000");
    const QCommandLineOption status("login-status",
                                    "\"status\" of every login reply as JSON (default \"0\": accepted; "
                                    "-1, \"401\", ... refuse).",
                                    "json", "\"0\"");
    const QCommandLineOption log("log", "Write the JSON-lines log to this file instead of stdout.", "file");
    const QCommandLineOption flood("flood-requests",
                                   "Send every accepted device N requests for its load figures, as fast "
                                   "as its link takes them; its answers are counted in \"flood\" log lines.",
                                   "N", "0");
    parser.addOptions({bind, port, status, log, flood});
    parseToolCommandLine(parser, app);

    RelayStandinOptions options;
    options.bindAddress = QHostAddress(parser.value(bind));
    options.port = parser.value(port).toInt();
    options.loginStatus = statusValue(parser.value(status));
    options.floodRequests = parser.value(flood).toLongLong();
    if (options.bindAddress.isNull()) {
        std::fprintf(stderr, "not an address: %s\n", qPrintable(parser.value(bind)));
        return 2;
    }

    CloudRelayStandin relay(options);
    return runStandin(app, relay, parser.value(log));
}
