#pragma once

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>

class IRCProject;
class RCCmdProcesser;

// Routes every command the media server sends to the processor registered under its name (exact,
// case-sensitive). The three connection commands ("connected", "connectVerifyAsk",
// "passwordError") always run; the data commands run only while the project says it is connected
// to the server. Unknown names, and data commands while not connected, are dropped silently.
//
// Created once by the project, which hands it every command of IRCTerminal::receiveCmd. Owns its
// processors. GUI thread only: process() applies a command synchronously.
class RCCmdProcesserManager : public QObject
{
    Q_OBJECT

public:
    explicit RCCmdProcesserManager(QObject* parent = nullptr);
    ~RCCmdProcesserManager() override;

    void process(const QString& sCmd, const QJsonObject& params, IRCProject* project);

private:
    void registerCmdProcessers();

    QMap<QString, RCCmdProcesser*> m_connectionProcessers;
    QMap<QString, RCCmdProcesser*> m_dataProcessers;
};
