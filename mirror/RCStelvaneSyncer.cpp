#include "mirror/RCStelvaneSyncer.h"

#include "mirror/RCImageProvider.h"
#include "model/RCKeys.h"

#include <QQmlEngine>
#include <QTimer>

RCStelvaneSyncer::RCStelvaneSyncer(QQmlEngine* engine, QQuickImageProvider::ImageType type,
                                   QQuickImageProvider::Flags flags, QObject* parent)
    : IRCStelvaneSyncer(parent), m_engine(engine)
{
    m_globalProperties.insert(RCKeys::StageLink(), false);
    m_globalProperties.insert(RCKeys::Standby(), false);
    m_globalProperties.insert(RCKeys::StageImagePath(), QString());
    m_globalProperties.insert(RCKeys::Brightness(), 0.5);
    m_globalProperties.insert(RCKeys::Volume(), 0.5);
    m_globalProperties.insert(RCKeys::DisplayOpen(), false);

    m_imageProvider = new RCImageProvider(type, flags);
    if (m_engine)
        m_engine->addImageProvider(m_imageProvider->getName(), m_imageProvider);

    m_programTable = new RCProgramTable(this);
    wireProgramTable();
    m_trackManager = new RCTrackManager(this);
    wireTrackManager();
    m_vexaManager = new RCVexaProgramManager(this);
    wireVexaManager();

    m_stageViewCounts.insert(0, 0);
}

RCStelvaneSyncer::~RCStelvaneSyncer()
{
    // The engine deletes a provider it has when it is unregistered.
    if (m_engine)
        m_engine->removeImageProvider(m_imageProvider->getName());
    else
        delete m_imageProvider;
    m_imageProvider = nullptr;
}

void RCStelvaneSyncer::wireProgramTable()
{
    // A node's thumbnail goes before anyone hears of the node's removal.
    connect(m_programTable, &RCProgramTable::programNodeRemove, this,
            [this](const QString& sId) { m_imageProvider->removeImage(sId); });
    connect(m_programTable, &RCProgramTable::programAdd, this, &IRCStelvaneSyncer::programAdd);
    connect(m_programTable, &RCProgramTable::programInsert, this, &IRCStelvaneSyncer::programInsert);
    connect(m_programTable, &RCProgramTable::programRemove, this, &IRCStelvaneSyncer::programRemove);
    connect(m_programTable, &RCProgramTable::programPropertyChanged, this,
            &RCStelvaneSyncer::onProgramPropertyChanged);
    connect(m_programTable, &RCProgramTable::programLayerAdd, this, &IRCStelvaneSyncer::programLayerAdd);
    connect(m_programTable, &RCProgramTable::programLayerInsert, this,
            &IRCStelvaneSyncer::programLayerInsert);
    connect(m_programTable, &RCProgramTable::programLayerRemove, this,
            &IRCStelvaneSyncer::programLayerRemove);
    connect(m_programTable, &RCProgramTable::programLayerPropertyChanged, this,
            &IRCStelvaneSyncer::programLayerPropertyChanged);
    connect(m_programTable, &RCProgramTable::programNodeAdd, this, &IRCStelvaneSyncer::programNodeAdd);
    connect(m_programTable, &RCProgramTable::programNodeRemove, this, &IRCStelvaneSyncer::programNodeRemove);
    connect(m_programTable, &RCProgramTable::programNodePropertyChanged, this,
            &IRCStelvaneSyncer::programNodePropertyChanged);
}

void RCStelvaneSyncer::wireTrackManager()
{
    connect(m_trackManager, &RCTrackManager::trackAdd, this, &IRCStelvaneSyncer::trackAdd);
    connect(m_trackManager, &RCTrackManager::trackInsert, this, &IRCStelvaneSyncer::trackInsert);
    connect(m_trackManager, &RCTrackManager::trackRemove, this, &IRCStelvaneSyncer::trackRemove);
    connect(m_trackManager, &RCTrackManager::trackPropertyChanged, this,
            &IRCStelvaneSyncer::trackPropertyChanged);
    connect(m_trackManager, &RCTrackManager::programAdded, this, &IRCStelvaneSyncer::trackProgramAdded);
    connect(m_trackManager, &RCTrackManager::programRemoved, this, &IRCStelvaneSyncer::trackProgramRemoved);
    connect(m_trackManager, &RCTrackManager::programPropertyChanged, this,
            &IRCStelvaneSyncer::trackProgramPropertyChanged);
}

void RCStelvaneSyncer::wireVexaManager()
{
    // The relays hand QML ids instead of the records.
    connect(m_vexaManager, &RCVexaProgramManager::programListPropertyChanged, this,
            [this](RCVexaProgramList* list, const QString& sProName, const QVariant& value) {
                Q_EMIT vexaProgramListPropertyChanged(list->getId(), sProName, value);
            });
    connect(m_vexaManager, &RCVexaProgramManager::programPropertyChanged, this,
            [this](RCVexaProgramList* list, RCVexaProgram* program, const QString& sProName,
                   const QVariant& value) {
                Q_EMIT vexaProgramPropertyChanged(list->getId(), program->getId(), sProName, value);
            });

    struct OwnSignals
    {
        void (IRCStelvaneSyncer::*listAdd)(QString, int);
        void (IRCStelvaneSyncer::*listRemove)(QString);
        void (IRCStelvaneSyncer::*programAdd)(QString, QString, int);
        void (IRCStelvaneSyncer::*programRemove)(QString, QString);
    };
    static const OwnSignals own[RCVexaProgramManager::kKindCount] = {
        {&IRCStelvaneSyncer::vexaVideoProgramListAdd, &IRCStelvaneSyncer::vexaVideoProgramListRemove,
         &IRCStelvaneSyncer::vexaVideoProgramAdd, &IRCStelvaneSyncer::vexaVideoProgramRemove},
        {&IRCStelvaneSyncer::vexaAudioProgramListAdd, &IRCStelvaneSyncer::vexaAudioProgramListRemove,
         &IRCStelvaneSyncer::vexaAudioProgramAdd, &IRCStelvaneSyncer::vexaAudioProgramRemove},
        {&IRCStelvaneSyncer::vexaTextProgramListAdd, &IRCStelvaneSyncer::vexaTextProgramListRemove,
         &IRCStelvaneSyncer::vexaTextProgramAdd, &IRCStelvaneSyncer::vexaTextProgramRemove},
    };
    for (int kind = 0; kind < RCVexaProgramManager::kKindCount; ++kind) {
        const RCVexaProgramManager::KindSignals& from = RCVexaProgramManager::signalsOf(kind);
        const OwnSignals to = own[kind];
        connect(m_vexaManager, from.listAdd, this, [this, to](RCVexaProgramList* list, int index) {
            Q_EMIT(this->*to.listAdd)(list->getId(), index);
        });
        connect(m_vexaManager, from.listRemove, this, [this, to](RCVexaProgramList* list) {
            Q_EMIT(this->*to.listRemove)(list->getId());
        });
        connect(m_vexaManager, from.programAdd, this,
                [this, to](RCVexaProgramList* list, RCVexaProgram* program, int index) {
                    Q_EMIT(this->*to.programAdd)(list->getId(), program->getId(), index);
                });
        connect(m_vexaManager, from.programRemove, this,
                [this, to](RCVexaProgramList* list, RCVexaProgram* program) {
                    Q_EMIT(this->*to.programRemove)(list->getId(), program->getId());
                });
    }
}

// --- connection --------------------------------------------------------------------------------

void RCStelvaneSyncer::connectToServer(QString sIp)
{
    if (m_connected)
        return;
    m_connected = true;
    m_serverIp = sIp;
    m_state = EState_Connect;
    Q_EMIT connectedToServer(sIp);
    if (m_stageViewCounts.value(0) >= 1) {
        if (!m_refreshTimer)
            startRefreshTimer(kConnectRefreshMs);
        requestStageImage();
    }
    requestServerData();
}

void RCStelvaneSyncer::requestServerData()
{
    m_downloadSteps.clear();
    m_downloadSteps.insert(0, false);
    m_downloadSteps.insert(1, false);
    Q_EMIT programTableRequest();
    Q_EMIT trackManagerGet();
    const QStringList keys = m_globalProperties.keys();
    for (const QString& key : keys)
        Q_EMIT globalPropertyValueGet(key);
}

void RCStelvaneSyncer::disconnectServer()
{
    if (!m_connected)
        return;
    m_connected = false;
    delete m_refreshTimer;
    m_refreshTimer = nullptr;
    // A reply to a request of the old link will not come.
    m_stageRequestOutstanding = false;
    m_projectRequests.clear();
    m_downloadSteps.clear();
    clearProgramNode();
    clearProgramLayer();
    clearProgram();
    clearTrack();
    m_state = EState_Idel;
    Q_EMIT disconnectFromServer();
}

void RCStelvaneSyncer::setDownloadStepComplete(int step)
{
    m_downloadSteps.insert(step, true);
    for (const bool done : std::as_const(m_downloadSteps)) {
        if (!done)
            return;
    }
    m_state = EState_ComplateDownload;
    Q_EMIT downloadComplate();
}

void RCStelvaneSyncer::addProjectRequest(int setUid)
{
    m_projectRequests.removeOne(setUid);
    if (m_projectRequests.size() >= kMaxProjectRequests)
        m_projectRequests.removeFirst();
    m_projectRequests.append(setUid);
}

bool RCStelvaneSyncer::takeProjectRequest(int setUid)
{
    return m_projectRequests.removeOne(setUid);
}

void RCStelvaneSyncer::dropProjectRequest(int setUid)
{
    takeProjectRequest(setUid);
}

// --- stage image -------------------------------------------------------------------------------

void RCStelvaneSyncer::stageViewRefAddOne()
{
    const int count = m_stageViewCounts.value(0) + 1;
    m_stageViewCounts.insert(0, count);
    if (count != 1 || !m_connected)
        return;
    if (!m_refreshTimer)
        startRefreshTimer(kStageViewRefreshMs);
    requestStageImage();
}

void RCStelvaneSyncer::stageViewRefMinusOne()
{
    const int count = m_stageViewCounts.value(0);
    if (count == 0)
        return;
    m_stageViewCounts.insert(0, count - 1);
    if (count - 1 == 0) {
        delete m_refreshTimer;
        m_refreshTimer = nullptr;
    }
}

void RCStelvaneSyncer::onTimerOut()
{
    requestStageImage();
}

void RCStelvaneSyncer::startRefreshTimer(int intervalMs)
{
    m_refreshTimer = new QTimer(this);
    connect(m_refreshTimer, &QTimer::timeout, this, &RCStelvaneSyncer::onTimerOut);
    m_refreshTimer->start(intervalMs);
}

void RCStelvaneSyncer::requestStageImage()
{
    if (m_stageRequestOutstanding && m_stageRequestClock.elapsed() < kStageReplyTimeoutMs)
        return;
    m_stageRequestOutstanding = true;
    m_stageRequestClock.start();
    Q_EMIT stageImageRequest();
}

void RCStelvaneSyncer::setStageImage(QImage image)
{
    // Any answer, even one that could not be used, lets the next request go.
    m_stageRequestOutstanding = false;
    if (image.isNull())
        return;
    m_imageProvider->setStageImage(image);
    const QString url = QStringLiteral("%1%2/%3").arg(QStringLiteral("image://"), m_imageProvider->getName(),
                                                      m_imageProvider->getStageImageId());
    m_globalProperties.insert(RCKeys::StageImagePath(), url);
    // The url never changes: views reload when it goes away and comes back.
    Q_EMIT globalPropertyChanged(RCKeys::StageImagePath(), QString());
    Q_EMIT globalPropertyChanged(RCKeys::StageImagePath(), url);
}

QString RCStelvaneSyncer::getStageImageUrl()
{
    return m_globalProperties.value(RCKeys::StageImagePath()).toString();
}

// --- global properties -------------------------------------------------------------------------

void RCStelvaneSyncer::setGlobalProperty(QString sProName, QVariant value)
{
    auto it = m_globalProperties.find(sProName);
    if (it == m_globalProperties.end() || it.value() == value)
        return;
    it.value() = value;
    Q_EMIT globalPropertyChanged(sProName, value);
}

void RCStelvaneSyncer::setBoolGlobal(const QString& sProName, bool b)
{
    if (m_globalProperties.value(sProName).toBool() == b)
        return;
    m_globalProperties.insert(sProName, b);
    Q_EMIT globalPropertyChanged(sProName, b);
}

void RCStelvaneSyncer::setStageLink(bool b)
{
    setBoolGlobal(RCKeys::StageLink(), b);
}

bool RCStelvaneSyncer::getStageLink()
{
    return m_globalProperties.value(RCKeys::StageLink()).toBool();
}

void RCStelvaneSyncer::setVexaDisplayOutputState(bool b)
{
    setBoolGlobal(RCKeys::DisplayOpen(), b);
}

bool RCStelvaneSyncer::getVexaDisplayOutputState()
{
    return m_globalProperties.value(RCKeys::DisplayOpen()).toBool();
}

// --- program table -----------------------------------------------------------------------------

void RCStelvaneSyncer::onProgramPropertyChanged(const QString& sId, const QString& sProName,
                                                const QVariant& value)
{
    Q_EMIT programPropertyChanged(sId, sProName, value);
    if (sProName != RCKeys::State())
        return;
    const int state = value.toInt();
    if (state == 1 || state == 2)
        m_currentProgram = sId;
    else if (m_currentProgram == sId)
        m_currentProgram.clear();
    // The current program's own state, whichever program changed.
    const int currentState =
        m_currentProgram.isEmpty() ? 0 : m_programTable->getProgramState(m_currentProgram);
    Q_EMIT programCurrentChanged(m_currentProgram, currentState);
}

bool RCStelvaneSyncer::insertProgramLayer(int index, QVariantMap params)
{
    return m_programTable->insertProgramLayer(index, params);
}

bool RCStelvaneSyncer::setProgramLayerPropertyValue(QString sId, QString sProName, QVariant value)
{
    return m_programTable->setProgramLayerPropertyValue(sId, sProName, value);
}

QVariant RCStelvaneSyncer::getProgramLayerPropertyValue(QString sId, QString sProName)
{
    return m_programTable->getProgramLayerPropertyValue(sId, sProName);
}

void RCStelvaneSyncer::setProgramLayerType(QString sId, int type)
{
    setProgramLayerPropertyValue(sId, RCKeys::ProgramLayerType(), type);
}

int RCStelvaneSyncer::getProgramLayerType(QString sId)
{
    return getProgramLayerPropertyValue(sId, RCKeys::ProgramLayerType()).toInt();
}

bool RCStelvaneSyncer::addProgramNode(QVariantMap params)
{
    if (!m_programTable->addProgramNode(params))
        return false;
    const auto thumbnail = params.constFind(RCKeys::Thumbnail());
    if (thumbnail != params.constEnd())
        storeThumbnail(params.value(RCKeys::Id()).toString(), thumbnail->value<QImage>(), false);
    return true;
}

bool RCStelvaneSyncer::storeThumbnail(const QString& sId, const QImage& image, bool reload)
{
    m_imageProvider->removeImage(sId);
    const QString url = m_imageProvider->addImage(sId, image);
    if (reload)
        m_programTable->setProgramNodePropertyValue(sId, RCKeys::ThumbnailPath(), QString());
    return m_programTable->setProgramNodePropertyValue(sId, RCKeys::ThumbnailPath(), url);
}

QVariantList RCStelvaneSyncer::getProgramNodeColRoles(QString sId)
{
    QVariantList roles;
    const QVariantList programIds = getProgramNodeProgramIdList(sId);
    roles.reserve(programIds.size());
    for (const QVariant& programId : programIds)
        roles.append(getProgramRole(programId.toString()).toString());
    return roles;
}

QString RCStelvaneSyncer::findProgramNode(QString sProgramId, QString sProgramLayerId)
{
    return m_programTable->findProgramNode(sProgramId, sProgramLayerId);
}

bool RCStelvaneSyncer::setProgramNodePropertyValue(QString sId, QString sProName, QVariant value)
{
    if (sProName != RCKeys::Thumbnail())
        return m_programTable->setProgramNodePropertyValue(sId, sProName, value);
    // An image for a node that is not there would stay in the provider for good.
    if (!m_programTable->containsProgramNode(sId))
        return false;
    return storeThumbnail(sId, value.value<QImage>(), true);
}

QVariant RCStelvaneSyncer::getProgramNodePropertyValue(QString sId, QString sProName)
{
    return m_programTable->getProgramNodePropertyValue(sId, sProName);
}

void RCStelvaneSyncer::setProgramNodeProgress(QString sId, qlonglong progress)
{
    m_programTable->setProgramNodeProgress(sId, progress);
}

void RCStelvaneSyncer::setProgramNodeProgramIdList(QString sId, QStringList list)
{
    m_programTable->setProgramNodeProgramIdList(sId, list);
}

QVariantList RCStelvaneSyncer::getProgramNodeProgramIdList(QString sId)
{
    return m_programTable->getProgramNodeProgramIdList(sId);
}

void RCStelvaneSyncer::setProgramNodeProgramLayerId(QString sId, QString layerId)
{
    m_programTable->setProgramNodeProgramLayerId(sId, layerId);
}

QString RCStelvaneSyncer::getProgramNodeProgramLayerId(QString sId)
{
    return m_programTable->getProgramNodeProgramLayerId(sId);
}

QStringList RCStelvaneSyncer::getProgramIdListByNodeTitle(QString programNodeTitle)
{
    return m_programTable->getProgramIdListByNodeTitle(programNodeTitle);
}

// --- tracks ------------------------------------------------------------------------------------

QVariant RCStelvaneSyncer::getTrackProperty(QString sId, QString sProName)
{
    return m_trackManager->getTrackProperty(sId, sProName);
}

bool RCStelvaneSyncer::setTrackProperty(QString sId, QString sProName, QVariant value)
{
    return m_trackManager->setTrackProperty(sId, sProName, value);
}

QVariant RCStelvaneSyncer::getTrackPropertyByName(QString sName, QString sProName)
{
    return m_trackManager->getTrackPropertyByName(sName, sProName);
}

bool RCStelvaneSyncer::addTrackProgram(QString sTrackId, QVariantMap params)
{
    return m_trackManager->addTrackProgram(sTrackId, params);
}

bool RCStelvaneSyncer::insertTrackProgram(QString sTrackId, QVariantMap params, int index)
{
    return m_trackManager->insertTrackProgram(sTrackId, params, index);
}

void RCStelvaneSyncer::removeTrackProgram(QString sTrackId, QString sProgramId)
{
    m_trackManager->removeTrackProgram(sTrackId, sProgramId);
}

QVariant RCStelvaneSyncer::getTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName)
{
    return m_trackManager->getTrackProgramProperty(sTrackId, sProgramId, sProName);
}

void RCStelvaneSyncer::setTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName,
                                               QVariant value)
{
    m_trackManager->setTrackProgramProperty(sTrackId, sProgramId, sProName, value);
}

// --- Vexa program lists ------------------------------------------------------------------------

bool RCStelvaneSyncer::fileVexaList(int kind, const QVariantMap& params, std::optional<int> index)
{
    if (index)
        return m_vexaManager->insertProgramList(kind, params, *index) != nullptr;
    return m_vexaManager->addProgramList(kind, params) != nullptr;
}

bool RCStelvaneSyncer::fileVexaProgram(int kind, const QString& programListId, const QVariantMap& params,
                                       std::optional<int> index)
{
    RCVexaProgramList* list = vexaList(kind, programListId);
    if (!list)
        return false;
    return (index ? list->insertProgram(params, *index) : list->addProgram(params)) != nullptr;
}

void RCStelvaneSyncer::removeVexaProgram(int kind, const QString& programListId, const QString& programId)
{
    if (RCVexaProgramList* list = vexaList(kind, programListId))
        list->removeProgram(programId);
}

QString RCStelvaneSyncer::vexaListId(int kind, int i) const
{
    const QList<RCVexaProgramList*> lists = m_vexaManager->getProgramLists(kind);
    return i >= 0 && i < lists.size() ? lists.at(i)->getId() : QString();
}

int RCStelvaneSyncer::programCountOf(const RCVexaProgramList* list)
{
    return list ? list->programCount() : 0;
}

QString RCStelvaneSyncer::programIdOf(const RCVexaProgramList* list, int i)
{
    if (!list || i < 0 || i >= list->programCount())
        return QString();
    return list->getPrograms().at(i)->getId();
}

int RCStelvaneSyncer::getVexaProgramCount(QString programListId)
{
    return programCountOf(m_vexaManager->findProgramList(programListId));
}

QString RCStelvaneSyncer::getVexaProgramId(QString programListId, int index)
{
    return programIdOf(m_vexaManager->findProgramList(programListId), index);
}

void RCStelvaneSyncer::setVexaProgramListProperty(QString programListId, QString proName, QVariant value)
{
    if (RCVexaProgramList* list = m_vexaManager->findProgramList(programListId))
        list->setProperty(proName, value);
}

QVariant RCStelvaneSyncer::getVexaProgramListProperty(QString programListId, QString proName)
{
    const RCVexaProgramList* list = m_vexaManager->findProgramList(programListId);
    return list ? list->getProperty(proName) : QVariant();
}

void RCStelvaneSyncer::setVexaProgramProperty(QString programListId, QString programId, QString proName,
                                              QVariant value)
{
    const RCVexaProgramList* list = m_vexaManager->findProgramList(programListId);
    if (RCVexaProgram* program = list ? list->findProgram(programId) : nullptr)
        program->setProperty(proName, value);
}

QVariant RCStelvaneSyncer::getVexaProgramProperty(QString programListId, QString programId, QString proName)
{
    const RCVexaProgramList* list = m_vexaManager->findProgramList(programListId);
    const RCVexaProgram* program = list ? list->findProgram(programId) : nullptr;
    return program ? program->getProperty(proName) : QVariant();
}

int RCStelvaneSyncer::getVexaProgramListType(QString sProgramListId)
{
    return m_vexaManager->getProgramListType(sProgramListId);
}

QVariant RCStelvaneSyncer::getVexaProgramListPropertyOfKind(int kind, QString programListId, QString proName)
{
    const RCVexaProgramList* list = vexaList(kind, programListId);
    return list ? list->getProperty(proName) : QVariant();
}

QVariant RCStelvaneSyncer::getVexaProgramPropertyOfKind(int kind, QString programListId, QString programId,
                                                        QString proName)
{
    const RCVexaProgramList* list = vexaList(kind, programListId);
    const RCVexaProgram* program = list ? list->findProgram(programId) : nullptr;
    return program ? program->getProperty(proName) : QVariant();
}
