// tavix-distribution-driver designer PANEL-IP PACKET-FOLDER
// tavix-distribution-driver panel
//
// Starts the project root as the program does and plays one side of project distribution as the
// issue and download views would: the designer stops its own panel side, starts the packet
// server and issues the packet (again on each connection timeout, at most kMaxIssues times); the
// panel accepts the first invitation and, once the packet is complete, loads it. Every step is
// one JSON line on stdout. Exit status 0 when the role is done (sent whole / received and
// loaded), 1 on failure or after kDeadlineMs, 2 on bad arguments.
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/IRCPacketServer.h"
#include "network/IRCPacketTerminal.h"
#include "project/RCProject.h"
#include "root/RCStartUp.h"
#include "tools/ToolCommandLine.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {
constexpr int kMaxIssues = 10;
constexpr int kDeadlineMs = 60000;

void report(const QString& event, QJsonObject fields = {})
{
    fields.insert(QStringLiteral("event"), event);
    std::fputs(QJsonDocument(fields).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

bool runDesigner(RCProject* project, const QString& panelIp, const QString& packet)
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
        if (*issues < kMaxIssues)
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

// Needs no display: the project root without a window uses nothing of the GUI.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavix-distribution-driver"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays one side of project distribution: \"designer PANEL-IP PACKET-FOLDER\" issues the "
                       "packet to the panel, \"panel\" accepts the first invitation and loads what it "
                       "received. Every step is one JSON line on stdout."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("role"), QStringLiteral("designer or panel"),
                                 QStringLiteral("designer PANEL-IP PACKET-FOLDER | panel"));
    parseToolCommandLine(parser, app, 1, 3);
    const QStringList args = parser.positionalArguments();
    const bool designer = args.size() == 3 && args.at(0) == QLatin1String("designer");
    if (!designer && args != QStringList{QStringLiteral("panel")}) {
        std::fprintf(stderr, "tavix-distribution-driver: expected \"designer PANEL-IP PACKET-FOLDER\" or "
                             "\"panel\"\n%s", qPrintable(parser.helpText()));
        return 2;
    }
    auto engine = std::make_unique<QQmlEngine>();
    std::unique_ptr<RCProject> project(RCStartUp::createProject(engine.get(), {QStringLiteral("Tavix")}));
    if (designer) {
        if (!runDesigner(project.get(), args.at(1), args.at(2)))
            return 1;
    } else {
        runPanel(project.get());
    }
    QTimer::singleShot(kDeadlineMs, &app, [] {
        report(QStringLiteral("deadline"));
        QCoreApplication::exit(1);
    });
    const int status = QCoreApplication::exec();
    project.reset();
    return status;
}
