#include "mirror/RCCmdProcesserManager.h"

#include "mirror/RCCmdProcesser_AddProgram.h"
#include "mirror/RCCmdProcesser_AddProgramLayer.h"
#include "mirror/RCCmdProcesser_AddProgramNode.h"
#include "mirror/RCCmdProcesser_AddTrack.h"
#include "mirror/RCCmdProcesser_AddTrackProgram.h"
#include "mirror/RCCmdProcesser_AddVexaProgram.h"
#include "mirror/RCCmdProcesser_AddVexaProgramList.h"
#include "mirror/RCCmdProcesser_ConnectVerifyAsk.h"
#include "mirror/RCCmdProcesser_Connected.h"
#include "mirror/RCCmdProcesser_PasswordError.h"
#include "mirror/RCCmdProcesser_RemoveProgram.h"
#include "mirror/RCCmdProcesser_RemoveProgramLayer.h"
#include "mirror/RCCmdProcesser_RemoveProgramNode.h"
#include "mirror/RCCmdProcesser_RemoveTrack.h"
#include "mirror/RCCmdProcesser_RemoveTrackProgram.h"
#include "mirror/RCCmdProcesser_RemoveVexaProgram.h"
#include "mirror/RCCmdProcesser_RemoveVexaProgramList.h"
#include "mirror/RCCmdProcesser_SetGlobalProperty.h"
#include "mirror/RCCmdProcesser_SetProgramLayer.h"
#include "mirror/RCCmdProcesser_SetProgramNode.h"
#include "mirror/RCCmdProcesser_SetProject.h"
#include "mirror/RCCmdProcesser_SetTrack.h"
#include "mirror/RCCmdProcesser_SetTrackManager.h"
#include "mirror/RCCmdProcesser_SetTrackProgram.h"
#include "mirror/RCCmdProcesser_SetVexaProgram.h"
#include "mirror/RCCmdProcesser_SetVexaProgramList.h"
#include "mirror/RCCmdProcesser_SetVexaProgramManager.h"
#include "mirror/RCCmdProcesser_UpdateProgram.h"
#include "mirror/RCCmdProcesser_UpdateProgramTable.h"
#include "mirror/RCCmdProcesser_UpdateStageImage.h"
#include "project/IRCProject.h"

RCCmdProcesserManager::RCCmdProcesserManager(QObject* parent) : QObject(parent)
{
    registerCmdProcessers();
}

RCCmdProcesserManager::~RCCmdProcesserManager()
{
    qDeleteAll(m_connectionProcessers);
    qDeleteAll(m_dataProcessers);
}

void RCCmdProcesserManager::registerCmdProcessers()
{
    m_connectionProcessers.insert(QStringLiteral("connected"), new RCCmdProcesser_Connected);
    m_connectionProcessers.insert(QStringLiteral("connectVerifyAsk"), new RCCmdProcesser_ConnectVerifyAsk);
    m_connectionProcessers.insert(QStringLiteral("passwordError"), new RCCmdProcesser_PasswordError);

    m_dataProcessers.insert(QStringLiteral("setStageImage"), new RCCmdProcesser_UpdateStageImage);
    m_dataProcessers.insert(QStringLiteral("setProgramTable"), new RCCmdProcesser_UpdateProgramTable);
    m_dataProcessers.insert(QStringLiteral("setProgram"), new RCCmdProcesser_UpdateProgram);
    m_dataProcessers.insert(QStringLiteral("addProgram"), new RCCmdProcesser_AddProgram);
    m_dataProcessers.insert(QStringLiteral("removeProgram"), new RCCmdProcesser_RemoveProgram);
    m_dataProcessers.insert(QStringLiteral("addProgramLayer"), new RCCmdProcesser_AddProgramLayer);
    m_dataProcessers.insert(QStringLiteral("removeProgramLayer"), new RCCmdProcesser_RemoveProgramLayer);
    m_dataProcessers.insert(QStringLiteral("setProgramLayer"), new RCCmdProcesser_SetProgramLayer);
    m_dataProcessers.insert(QStringLiteral("addProgramNode"), new RCCmdProcesser_AddProgramNode);
    m_dataProcessers.insert(QStringLiteral("removeProgramNode"), new RCCmdProcesser_RemoveProgramNode);
    m_dataProcessers.insert(QStringLiteral("setProgramNode"), new RCCmdProcesser_SetProgramNode);
    m_dataProcessers.insert(QStringLiteral("setGlobalProperty"), new RCCmdProcesser_SetGlobalProperty);
    m_dataProcessers.insert(QStringLiteral("setTrackManager"), new RCCmdProcesser_SetTrackManager);
    m_dataProcessers.insert(QStringLiteral("setTrack"), new RCCmdProcesser_SetTrack);
    m_dataProcessers.insert(QStringLiteral("addTrack"), new RCCmdProcesser_AddTrack);
    m_dataProcessers.insert(QStringLiteral("removeTrack"), new RCCmdProcesser_RemoveTrack);
    m_dataProcessers.insert(QStringLiteral("addTrackProgram"), new RCCmdProcesser_AddTrackProgram);
    m_dataProcessers.insert(QStringLiteral("removeTrackProgram"), new RCCmdProcesser_RemoveTrackProgram);
    m_dataProcessers.insert(QStringLiteral("setTrackProgram"), new RCCmdProcesser_SetTrackProgram);
    m_dataProcessers.insert(QStringLiteral("setProject"), new RCCmdProcesser_SetProject);
    m_dataProcessers.insert(QStringLiteral("setVexaProgramManager"),
                            new RCCmdProcesser_SetVexaProgramManager);
    m_dataProcessers.insert(QStringLiteral("addVexaProgramList"), new RCCmdProcesser_AddVexaProgramList);
    m_dataProcessers.insert(QStringLiteral("removeVexaProgramList"),
                            new RCCmdProcesser_RemoveVexaProgramList);
    m_dataProcessers.insert(QStringLiteral("setVexaProgramList"), new RCCmdProcesser_SetVexaProgramList);
    m_dataProcessers.insert(QStringLiteral("addVexaProgram"), new RCCmdProcesser_AddVexaProgram);
    m_dataProcessers.insert(QStringLiteral("removeVexaProgram"), new RCCmdProcesser_RemoveVexaProgram);
    m_dataProcessers.insert(QStringLiteral("setVexaProgram"), new RCCmdProcesser_SetVexaProgram);
}

void RCCmdProcesserManager::process(const QString& sCmd, const QJsonObject& params, IRCProject* project)
{
    if (!project)
        return;
    if (RCCmdProcesser* processer = m_connectionProcessers.value(sCmd))
        processer->process(params, project);
    if (!project->isConnectFromHost())
        return;
    if (RCCmdProcesser* processer = m_dataProcessers.value(sCmd))
        processer->process(params, project);
}
