// tavix-distribution-driver designer PANEL-IP PACKET-FOLDER
// tavix-distribution-driver panel
// tavix-distribution-driver hostile trickle|silent|withdraw PANEL-IP [--listen PORT] [--invite IP:PORT]
//
// Starts the project root as the program does and plays one side of project distribution as the
// issue and download views would: the designer stops its own panel side, starts the packet
// server and issues the packet (again on each connection timeout, at most --issues times); the
// panel accepts the first invitation and, once the packet is complete, loads it. Every step is
// one JSON line on stdout, with "t", the milliseconds since the start. Exit status 0 when the role
// is done (sent whole / received and loaded), 1 on failure or after the deadline (--seconds,
// 60 by default), 2 on bad arguments. The hostile role (HostileDesigner) runs until the
// deadline and then ends with 0.

#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/IRCPacketServer.h"
#include "network/IRCPacketTerminal.h"
#include "project/RCProject.h"
#include "root/RCStartUp.h"
#include "tools/ToolCommandLine.h"
#include "tools/distribution-driver/HostileDesigner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

QElapsedTimer& runClock()
{
    static QElapsedTimer clock;
    return clock;
}

void report(const QString& event, QJsonObject fields = {})
{
    fields.insert(QStringLiteral("event"), event);
    fields.insert(QStringLiteral("t"), runClock().elapsed());
    std::fputs(QJsonDocument(fields).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

bool runDesigner(RCProject* project, const QString& panelIp, const QString& packet, int maxIssues)
{
    if (!project->loadStorageProjectPacket(packet)) {
        report(QStringLiteral("error"), {{QStringLiteral("text"), QStringLiteral("cannot open the packet")}});
        return false;
    }
    IRCPacketServer* server = project->getPacketServer();
    project->getPacketTerminal()->stopServer();
    server->startServer();
    auto issues = std::make_shared<int>(0);
    auto issue = [=] {
        ++*issues;
        report(QStringLiteral("issue"), {{QStringLiteral("ip"), panelIp}, {QStringLiteral("try"), *issues}});
        server->issue(panelIp, project->getProjectPacketPath());
    };
    QObject::connect(server, &IRCPacketServer::connectSuccess, server, [](const QString& ip) {
        report(QStringLiteral("connected"), {{QStringLiteral("ip"), ip}});
    });
    QObject::connect(server, &IRCPacketServer::connectTimeout, server, [=] {
        if (*issues < maxIssues)
            issue();
        else
            QCoreApplication::exit(1);
    });
    QObject::connect(server, &IRCPacketServer::issueBegin, server, [] { report(QStringLiteral("begin")); });
    // Done once the panel, having loaded the packet, has gone (as a user closes the view).
    auto complete = std::make_shared<bool>(false);
    QObject::connect(server, &IRCPacketServer::issueComplate, server, [complete] {
        report(QStringLiteral("complete"));
        *complete = true;
    });
    QObject::connect(server, &IRCPacketServer::connectBreak, server, [complete](const QString& ip) {
        report(QStringLiteral("disconnected"), {{QStringLiteral("ip"), ip}});
        QCoreApplication::exit(*complete ? 0 : 1);
    });
    auto fail = [](const QString& ip) {
        report(QStringLiteral("failed"), {{QStringLiteral("ip"), ip}});
        QCoreApplication::exit(1);
    };
    QObject::connect(server, &IRCPacketServer::issueError, server, fail);
    QObject::connect(server, &IRCPacketServer::issueStop, server, fail);
    issue();
    return true;
}

void runPanel(RCProject* project)
{
    IRCPacketTerminal* terminal = project->getPacketTerminal();
    QObject::connect(terminal, &IRCPacketTerminal::receiveDownloadInvitation, terminal,
                     [terminal](const QString& ip) {
                         report(QStringLiteral("invited"), {{QStringLiteral("ip"), ip}});
                         terminal->download();
                     });
    QObject::connect(terminal, &IRCPacketTerminal::receiveBegin, terminal,
                     [] { report(QStringLiteral("begin")); });
    QObject::connect(terminal, &IRCPacketTerminal::serverDisconnected, terminal,
                     [] { report(QStringLiteral("disconnected")); });
    QObject::connect(terminal, &IRCPacketTerminal::receiveComplate, terminal, [project] {
        const bool loaded = project->loadDownloadProjectPacket();
        QJsonArray scenes;
        RCScenePresenter* presenter = RCScenePresenter::instance();
        for (const QString& id : presenter->getSceneIds())
            scenes.append(presenter->getPropertyValue(id, RCKeys::Name()).toString());
        report(QStringLiteral("loaded"), {{QStringLiteral("ok"), loaded},
                                          {QStringLiteral("folder"), project->getProjectPacketPath()},
                                          {QStringLiteral("scenes"), scenes}});
        QCoreApplication::exit(loaded ? 0 : 1);
    });
    report(QStringLiteral("ready"));
}
} // namespace

bool runHostile(const QStringList& args, const QCommandLineParser& parser)
{
    HostileDesigner::Options options;
    options.mode = args.at(1);
    options.panel = QHostAddress(args.at(2));
    options.listenPort = parser.value(QStringLiteral("listen")).toInt();
    const QString invite = parser.value(QStringLiteral("invite"));
    options.inviteIp = invite.section(QLatin1Char(':'), 0, 0);
    options.invitePort = invite.section(QLatin1Char(':'), 1).toInt();
    options.everyMs = qMax(100, parser.value(QStringLiteral("every")).toInt());
    options.intervalMs = qMax(10, parser.value(QStringLiteral("interval")).toInt());
    if (!QStringList{"trickle", "silent", "withdraw"}.contains(options.mode) || options.panel.isNull() ||
        (options.listenPort == 0 && options.inviteIp.isEmpty())) {
        std::fprintf(stderr, "tavix-distribution-driver: hostile needs trickle|silent|withdraw, the panel's "
                             "address and --listen or --invite\n");
        return false;
    }
    auto* designer = new HostileDesigner(options, [](const QString& event, const QString& text) {
        report(event, {{QStringLiteral("text"), text}});
    });
    designer->setParent(QCoreApplication::instance());
    return designer->start();
}

// Needs no display: the project root without a window uses nothing of the GUI.
int main(int argc, char* argv[])
{
    runClock().start();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavix-distribution-driver"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays one side of project distribution: \"designer PANEL-IP PACKET-FOLDER\" issues the "
                       "packet to the panel, \"panel\" accepts the first invitation and loads what it "
                       "received. Every step is one JSON line on stdout."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("role"), QStringLiteral("designer, panel or hostile"),
                                 QStringLiteral("designer PANEL-IP PACKET-FOLDER | panel | hostile MODE PANEL-IP"));
    parser.addOptions({
        {QStringLiteral("seconds"), QStringLiteral("Deadline in seconds (60)."), QStringLiteral("s"), QStringLiteral("60")},
        {QStringLiteral("issues"), QStringLiteral("Designer: most issues (10)."), QStringLiteral("n"), QStringLiteral("10")},
        {QStringLiteral("listen"), QStringLiteral("Hostile: the TCP port listened on."), QStringLiteral("port")},
        {QStringLiteral("invite"), QStringLiteral("Hostile: invitations name IP:PORT."), QStringLiteral("ip:port")},
        {QStringLiteral("every"), QStringLiteral("Hostile: ms between invitations (1000)."), QStringLiteral("ms"),
         QStringLiteral("1000")},
        {QStringLiteral("interval"), QStringLiteral("Hostile: ms per trickled byte, or before a withdrawal (5000)."),
         QStringLiteral("ms"), QStringLiteral("5000")},
    });
    parseToolCommandLine(parser, app, 1, 3);
    const QStringList args = parser.positionalArguments();
    const int deadlineMs = qMax(1, parser.value(QStringLiteral("seconds")).toInt()) * 1000;
    const bool hostile = args.size() == 3 && args.at(0) == QLatin1String("hostile");
    if (hostile) {
        if (!runHostile(args, parser))
            return 2;
        QTimer::singleShot(deadlineMs, &app, [] {
            report(QStringLiteral("deadline"));
            QCoreApplication::exit(0);
        });
        return QCoreApplication::exec();
    }
    const bool designer = args.size() == 3 && args.at(0) == QLatin1String("designer");
    if (!designer && args != QStringList{QStringLiteral("panel")}) {
        std::fprintf(stderr, "tavix-distribution-driver: expected \"designer PANEL-IP PACKET-FOLDER\" or "
                             "\"panel\"\n%s", qPrintable(parser.helpText()));
        return 2;
    }
    auto engine = std::make_unique<QQmlEngine>();
    std::unique_ptr<RCProject> project(RCStartUp::createProject(engine.get(), {QStringLiteral("Tavix")}));
    if (designer) {
        if (!runDesigner(project.get(), args.at(1), args.at(2), parser.value(QStringLiteral("issues")).toInt()))
            return 1;
    } else {
        runPanel(project.get());
    }
    QTimer::singleShot(deadlineMs, &app, [] {
        report(QStringLiteral("deadline"));
        QCoreApplication::exit(1);
    });
    const int status = QCoreApplication::exec();
    project.reset();
    return status;
}
