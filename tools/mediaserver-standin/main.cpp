// tavix-mediaserver-standin: a stand-in media server for trying the panel and for
// the tests. See README.md ("Trying the panel with the stand-in media server").
#include "tools/StandinSupport.h"
#include "tools/ToolCommandLine.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tavix-mediaserver-standin");

    QCommandLineParser parser;
    parser.setApplicationDescription("Stand-in media server for the Tavix control link.");
    parser.addHelpOption();
    const QCommandLineOption bind("bind", "Address to listen on (default: any).", "address");
    const QCommandLineOption discoveryPort("discovery-port", "UDP discovery port (default 36543, 0: any).",
                                           "port", "36543");
    const QCommandLineOption tcpPort("tcp-port", "TCP link port (default 0: any free port).", "port", "0");
    const QCommandLineOption product("product-name", "Product name announced (default Tavix).", "name",
                                     "Tavix");
    const QCommandLineOption announceIp("announce-ip", "\"ip\" announced in serverConfig (default empty).",
                                        "ip");
    const QCommandLineOption replyToProbeIp("reply-to-probe-ip",
                                            "Answer discovery at the probe's \"ip\" instead of its sender.");
    const QCommandLineOption password("password", "Ask for this password before \"connected\".", "password");
    const QCommandLineOption state("state", "JSON file of the scripted state.", "file");
    const QCommandLineOption replay("replay", "JSON-lines file of commands sent after \"connected\".",
                                    "file");
    const QCommandLineOption reportChanges(
        "report-changes",
        "Answer \"setGlobalProperty\" and \"setTrack\" with the new values, as a server does.");
    const QCommandLineOption stageDelay(
        "stage-delay-ms", "Answer \"getStageImage\" N ms after the request (default 0).", "ms", "0");
    const QCommandLineOption answerHold(
        "hold-ms", "Hold every command after the handshake N ms, as a server still loading (default 0).", "ms",
        "0");
    const QCommandLineOption log("log", "Write the JSON-lines log to this file instead of stdout.", "file");
    const QCommandLineOption splitBytes("split-bytes", "Write every frame in pieces of at most N bytes.", "n",
                                        "0");
    const QCommandLineOption garbageBytes("garbage-bytes", "Write N bytes of garbage before every frame.",
                                          "n", "0");
    const QCommandLineOption dropAfterBytes("drop-after-bytes",
                                            "Cut each link once N bytes have been written to it.", "n", "0");
    const QCommandLineOption stallAfterBytes(
        "stall-after-bytes", "Write N bytes to each link, then nothing more, keeping it open (0: never answer).",
        "n", "-1");
    const QCommandLineOption firstMessageDelay(
        "first-message-delay-ms", "Send nothing on a new link for N ms, then greet it (default 0).", "ms", "0");
    const QCommandLineOption stalePort("stale-port",
                                       "Answer each probe first naming port N, as a stale copy on this host; "
                                       "the real answer follows 250 ms later.",
                                       "port", "0");
    const QCommandLineOption onlyConnected(
        "only-connected", "Say \"connected\" on each link and then nothing, answering no request.");
    const QCommandLineOption strayMessage(
        "stray-message", "Say \"connected\" on each link, follow the first request with one message it did "
                         "not ask for, and then answer nothing.");
    const QCommandLineOption askAgain(
        "ask-again-ms",
        "Ask for the password again every N ms on each link, whatever comes (default 0: once).", "ms", "0");
    const QCommandLineOption stallInFile(
        "stall-in-file", "Write each link the first frame of a file message and nothing more.");
    parser.addOptions({bind, discoveryPort, tcpPort, product, announceIp, replyToProbeIp, password, state, replay,
                       reportChanges, stageDelay, answerHold, log, splitBytes, garbageBytes, dropAfterBytes,
                       stallAfterBytes, firstMessageDelay, stalePort, onlyConnected, strayMessage, askAgain,
                       stallInFile});
    parseToolCommandLine(parser, app);

    StandinOptions options;
    if (parser.isSet(bind))
        options.bindAddress = QHostAddress(parser.value(bind));
    options.discoveryPort = parser.value(discoveryPort).toInt();
    options.tcpPort = parser.value(tcpPort).toInt();
    options.productName = parser.value(product);
    options.announceIp = parser.value(announceIp);
    options.replyToProbeIp = parser.isSet(replyToProbeIp);
    options.password = parser.value(password);
    options.replayFile = parser.value(replay);
    options.reportChanges = parser.isSet(reportChanges);
    options.stageAnswerDelayMs = parser.value(stageDelay).toInt();
    options.answerHoldMs = parser.value(answerHold).toInt();
    options.splitBytes = parser.value(splitBytes).toInt();
    options.garbageBytes = parser.value(garbageBytes).toInt();
    options.dropAfterBytes = parser.value(dropAfterBytes).toLongLong();
    options.stallAfterBytes = parser.value(stallAfterBytes).toLongLong();
    options.firstMessageDelayMs = parser.value(firstMessageDelay).toInt();
    options.staleAnnouncePort = parser.value(stalePort).toInt();
    options.onlyConnected = parser.isSet(onlyConnected);
    options.stallInFile = parser.isSet(stallInFile);
    options.strayMessage = parser.isSet(strayMessage);
    options.askAgainMs = parser.value(askAgain).toInt();
    if (parser.isSet(state)) {
        QFile file(parser.value(state));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return 2;
        }
        options.state = QJsonDocument::fromJson(file.readAll()).object();
    }

    MediaServerStandin server(options);
    return runStandin(app, server, parser.value(log));
}
