#pragma once

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCProgramTable.h"
#include "mirror/RCTrackManager.h"
#include "mirror/RCVexaProgramManager.h"

#include <QElapsedTimer>
#include <QMap>
#include <QPointer>
#include <QQuickImageProvider>

#include <optional>

class QQmlEngine;
class QTimer;
class RCImageProvider;

// The one mirror of the media server's state. Holds the connection state, the six global
// properties ("Brightness", "DisplayOpen", "StageImagePath", "StageLink", "Standby", "Volume"; a
// stored value keeps the type its setter was given), the program table, the tracks and the Vexa
// program lists, and feeds the image provider with the stage image and the node thumbnails.
//
// On connection it asks for the program table, the track manager and each global property, and
// while a stage view is counted it polls the stage image: 300 ms when the connection started the
// timer, 100 ms when a stage view did. At most one stage-image request is outstanding at a time: a
// new one goes out once setStageImage has been called (with any image) or kStageReplyTimeoutMs
// have passed. A node's thumbnail leaves the provider with the node.
//
// Created by the project with the QML engine, which then owns the image provider; the mirror
// unregisters it on destruction, so it must be deleted while the engine exists. Without an engine
// the mirror owns the provider itself. Keeps C++ ownership. GUI thread only.
class RCStelvaneSyncer : public IRCStelvaneSyncer
{
    Q_OBJECT

public:
    // How long a stage-image request may stay unanswered before the next one goes out.
    static constexpr int kStageReplyTimeoutMs = 3000;
    static constexpr int kConnectRefreshMs = 300;
    static constexpr int kStageViewRefreshMs = 100;
    // Most project downloads remembered as asked for; an older one is forgotten.
    static constexpr int kMaxProjectRequests = 16;

    RCStelvaneSyncer(QQmlEngine* engine, QQuickImageProvider::ImageType type,
                     QQuickImageProvider::Flags flags, QObject* parent = nullptr);
    ~RCStelvaneSyncer() override;

    // Connection, global properties and stage image.
    void connectToServer(QString sIp) override;
    void disconnectServer() override;
    void setDownloadStepComplete(int step) override;
    QString getServerIp() override { return m_serverIp; }
    IRCStelvaneSyncer::EState getState() override { return m_state; }
    void stageViewRefAddOne() override;
    void stageViewRefMinusOne() override;
    void setGlobalProperty(QString sProName, QVariant value) override;
    Q_INVOKABLE QVariant getGlobalProperty(QString sProName) override
    {
        return m_globalProperties.value(sProName);
    }
    void setStageImage(QImage image) override;
    QString getStageImageUrl() override;
    void setStageLink(bool b) override;
    bool getStageLink() override;
    void setVexaDisplayOutputState(bool b) override;
    bool getVexaDisplayOutputState() override;

    // Program table: programs.
    bool addProgram(QVariantMap params) override { return m_programTable->addProgram(params); }
    bool insertProgram(int index, QVariantMap params) override
    {
        return m_programTable->insertProgram(index, params);
    }
    void removeProgram(QString sId) override { m_programTable->removeProgram(sId); }
    int getProgramCount() override { return m_programTable->getProgramCount(); }
    QString getProgram(int i) override { return m_programTable->getProgram(i); }
    int getProgramIndex(QString sId) override { return m_programTable->getProgramIndex(sId); }
    QString getCurrentProgram() override { return m_currentProgram; }
    void clearProgram() override { m_programTable->clearProgram(); }
    void setProgramName(QString sId, QString name) override { m_programTable->setProgramName(sId, name); }
    void setProgramState(QString sId, int state) override { m_programTable->setProgramState(sId, state); }
    QString getProgramName(QString sId) override { return m_programTable->getProgramName(sId); }
    int getProgramState(QString sId) override { return m_programTable->getProgramState(sId); }
    QVariant getProgramRole(QString sId) override { return RCProgramTable::getProgramRole(sId); }

    // Program table: layers.
    bool addProgramLayer(QVariantMap params) override { return m_programTable->addProgramLayer(params); }
    bool insertProgramLayer(int index, QVariantMap params) override;
    void removeProgramLayer(QString sId) override { m_programTable->removeProgramLayer(sId); }
    void clearProgramLayer() override { m_programTable->clearProgramLayer(); }
    int getProgramLayerCount() override { return m_programTable->getProgramLayerCount(); }
    int getProgramLayerIndex(QString sId) override { return m_programTable->getProgramLayerIndex(sId); }
    QString getProgramLayer(int i) override { return m_programTable->getProgramLayer(i); }
    bool setProgramLayerPropertyValue(QString sId, QString sProName, QVariant value) override;
    QVariant getProgramLayerPropertyValue(QString sId, QString sProName) override;
    void setProgramLayerName(QString sId, QString name) override
    {
        m_programTable->setProgramLayerName(sId, name);
    }
    QString getProgramLayerName(QString sId) override { return m_programTable->getProgramLayerName(sId); }
    void setProgramLayerType(QString sId, int type) override;
    int getProgramLayerType(QString sId) override;

    // Program table: nodes.
    bool addProgramNode(QVariantMap params) override;
    void removeProgramNode(QString sId) override { m_programTable->removeProgramNode(sId); }
    void clearProgramNode() override { m_programTable->clearProgramNode(); }
    int getProgramNodeCount() override { return m_programTable->getProgramNodeCount(); }
    int getProgramNodeRowIndex(QString sId) override { return m_programTable->getProgramNodeRowIndex(sId); }
    QVariantList getProgramNodeColRoles(QString sId) override;
    QString getProgramNode(int i) override { return m_programTable->getProgramNode(i); }
    QString findProgramNode(QString sProgramId, QString sProgramLayerId) override;
    bool setProgramNodePropertyValue(QString sId, QString sProName, QVariant value) override;
    QVariant getProgramNodePropertyValue(QString sId, QString sProName) override;
    void setProgramNodeName(QString sId, QString name) override
    {
        m_programTable->setProgramNodeName(sId, name);
    }
    QString getProgramNodeName(QString sId) override { return m_programTable->getProgramNodeName(sId); }
    void setProgramNodeState(QString sId, int state) override
    {
        m_programTable->setProgramNodeState(sId, state);
    }
    int getProgramNodeState(QString sId) override { return m_programTable->getProgramNodeState(sId); }
    void setProgramNodeProgress(QString sId, qlonglong progress) override;
    qlonglong getProgramNodeProgress(QString sId) override
    {
        return m_programTable->getProgramNodeProgress(sId);
    }
    void setProgramNodeProgramIdList(QString sId, QStringList list) override;
    QVariantList getProgramNodeProgramIdList(QString sId) override;
    void setProgramNodeProgramLayerId(QString sId, QString layerId) override;
    QString getProgramNodeProgramLayerId(QString sId) override;
    bool hasProgramNodeTitleList() override { return !getProgramNodeTitleList().isEmpty(); }
    QStringList getProgramNodeTitleList() override { return m_programTable->getProgramNodeTitleList(); }
    QStringList getProgramIdListByNodeTitle(QString programNodeTitle) override;

    // Tracks.
    bool addTrack(QVariantMap params) override { return m_trackManager->addTrack(params); }
    bool insertTrack(QVariantMap params, int index) override
    {
        return m_trackManager->insertTrack(params, index);
    }
    void removeTrack(QString sId) override { m_trackManager->removeTrack(sId); }
    int getTrackCount() override { return m_trackManager->getTrackCount(); }
    QString getTrack(int i) override { return m_trackManager->getTrack(i); }
    void clearTrack() override { m_trackManager->clearTrack(); }
    QVariant getTrackProperty(QString sId, QString sProName) override;
    bool setTrackProperty(QString sId, QString sProName, QVariant value) override;
    QVariant getTrackPropertyByName(QString sName, QString sProName) override;
    QString getTrackIdByName(QString sTrackName) override
    {
        return m_trackManager->getTrackIdByName(sTrackName);
    }
    bool addTrackProgram(QString sTrackId, QVariantMap params) override;
    bool insertTrackProgram(QString sTrackId, QVariantMap params, int index) override;
    void removeTrackProgram(QString sTrackId, QString sProgramId) override;
    QVariant getTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName) override;
    void setTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName,
                                 QVariant value) override;
    int getTrackProgramCount(QString sTrackId) override
    {
        return m_trackManager->getTrackProgramCount(sTrackId);
    }
    QString getTrackProgram(QString sTrackId, int i) override
    {
        return m_trackManager->getTrackProgram(sTrackId, i);
    }

    // Vexa program lists and programs by kind, grouped by operation.
    bool addVexaVideoProgramList(QVariantMap params) override { return fileVexaList(kVideo, params, {}); }
    bool addVexaAudioProgramList(QVariantMap params) override { return fileVexaList(kAudio, params, {}); }
    bool addVexaTextProgramList(QVariantMap params) override { return fileVexaList(kText, params, {}); }
    bool insertVexaVideoProgramList(QVariantMap params, int index) override
    {
        return fileVexaList(kVideo, params, index);
    }
    bool insertVexaAudioProgramList(QVariantMap params, int index) override
    {
        return fileVexaList(kAudio, params, index);
    }
    bool insertVexaTextProgramList(QVariantMap params, int index) override
    {
        return fileVexaList(kText, params, index);
    }
    void removeVexaVideoProgramList(QString programListId) override
    {
        m_vexaManager->removeProgramList(kVideo, programListId);
    }
    void removeVexaAudioProgramList(QString programListId) override
    {
        m_vexaManager->removeProgramList(kAudio, programListId);
    }
    void removeVexaTextProgramList(QString programListId) override
    {
        m_vexaManager->removeProgramList(kText, programListId);
    }
    int getVexaVideoProgramListCount() override { return int(m_vexaManager->getProgramLists(kVideo).size()); }
    int getVexaAudioProgramListCount() override { return int(m_vexaManager->getProgramLists(kAudio).size()); }
    int getVexaTextProgramListCount() override { return int(m_vexaManager->getProgramLists(kText).size()); }
    QString getVexaVideoProgramListId(int i) override { return vexaListId(kVideo, i); }
    QString getVexaAudioProgramListId(int i) override { return vexaListId(kAudio, i); }
    QString getVexaTextProgramListId(int i) override { return vexaListId(kText, i); }
    bool addVexaVideoProgram(QString programListId, QVariantMap params) override
    {
        return fileVexaProgram(kVideo, programListId, params, {});
    }
    bool addVexaAudioProgram(QString programListId, QVariantMap params) override
    {
        return fileVexaProgram(kAudio, programListId, params, {});
    }
    bool addVexaTextProgram(QString programListId, QVariantMap params) override
    {
        return fileVexaProgram(kText, programListId, params, {});
    }
    bool insertVexaVideoProgram(QString programListId, QVariantMap params, int index) override
    {
        return fileVexaProgram(kVideo, programListId, params, index);
    }
    bool insertVexaAudioProgram(QString programListId, QVariantMap params, int index) override
    {
        return fileVexaProgram(kAudio, programListId, params, index);
    }
    bool insertVexaTextProgram(QString programListId, QVariantMap params, int index) override
    {
        return fileVexaProgram(kText, programListId, params, index);
    }
    void removeVexaVideoProgram(QString programListId, QString programId) override
    {
        removeVexaProgram(kVideo, programListId, programId);
    }
    void removeVexaAudioProgram(QString programListId, QString programId) override
    {
        removeVexaProgram(kAudio, programListId, programId);
    }
    void removeVexaTextProgram(QString programListId, QString programId) override
    {
        removeVexaProgram(kText, programListId, programId);
    }
    int getVexaVideoProgramCount(QString programListId) override
    {
        return programCountOf(vexaList(kVideo, programListId));
    }
    int getVexaAudioProgramCount(QString programListId) override
    {
        return programCountOf(vexaList(kAudio, programListId));
    }
    int getVexaTextProgramCount(QString programListId) override
    {
        return programCountOf(vexaList(kText, programListId));
    }
    QString getVexaVideoProgramId(QString programListId, int i) override
    {
        return programIdOf(vexaList(kVideo, programListId), i);
    }
    QString getVexaAudioProgramId(QString programListId, int i) override
    {
        return programIdOf(vexaList(kAudio, programListId), i);
    }
    QString getVexaTextProgramId(QString programListId, int i) override
    {
        return programIdOf(vexaList(kText, programListId), i);
    }
    QString getPlayingVideoProgramList() override
    {
        return idOf(m_vexaManager->getPlayingProgramList(kVideo));
    }
    QString getPlayingAudioProgramList() override
    {
        return idOf(m_vexaManager->getPlayingProgramList(kAudio));
    }
    QString getPlayingTextProgramList() override { return idOf(m_vexaManager->getPlayingProgramList(kText)); }
    QString getPlayingVideoProgram() override { return idOf(m_vexaManager->getPlayingProgram(kVideo)); }
    QString getPlayingAudioProgram() override { return idOf(m_vexaManager->getPlayingProgram(kAudio)); }
    QString getPlayingTextProgram() override { return idOf(m_vexaManager->getPlayingProgram(kText)); }

    // Vexa lists and programs of any kind.
    int getVexaProgramCount(QString programListId) override;
    QString getVexaProgramId(QString programListId, int index) override;
    void setVexaProgramListProperty(QString programListId, QString proName, QVariant value) override;
    QVariant getVexaProgramListProperty(QString programListId, QString proName) override;
    void setVexaProgramProperty(QString programListId, QString programId, QString proName,
                                QVariant value) override;
    QVariant getVexaProgramProperty(QString programListId, QString programId, QString proName) override;
    void clearVexaProgramManager() override { m_vexaManager->clear(); }
    int getVexaProgramListType(QString sProgramListId) override;
    QVariant getVexaProgramListPropertyOfKind(int kind, QString programListId, QString proName) override;
    QVariant getVexaProgramPropertyOfKind(int kind, QString programListId, QString programId,
                                          QString proName) override;

    void setProject(int setUid, QJsonObject jsObj) override { Q_EMIT projectSet(setUid, jsObj); }
    // Keeps the kMaxProjectRequests latest numbers not yet answered; a disconnect forgets them.
    void addProjectRequest(int setUid) override;
    bool takeProjectRequest(int setUid) override;
    void dropProjectRequest(int setUid) override;

public Q_SLOTS:
    void onTimerOut();

private:
    static constexpr int kVideo = RCVexaProgramManager::EListKind_Video;
    static constexpr int kAudio = RCVexaProgramManager::EListKind_Audio;
    static constexpr int kText = RCVexaProgramManager::EListKind_Text;

    void wireProgramTable();
    void wireTrackManager();
    void wireVexaManager();
    // The current-program rule, on every program property change of the table.
    void onProgramPropertyChanged(const QString& sId, const QString& sProName, const QVariant& value);
    void requestServerData();
    void startRefreshTimer(int intervalMs);
    // Emits stageImageRequest unless a request is outstanding and not yet timed out.
    void requestStageImage();
    void setBoolGlobal(const QString& sProName, bool b);
    // Stores image as the node's thumbnail and sets its "ThumbnailPath" ("" first when reload).
    bool storeThumbnail(const QString& sId, const QImage& image, bool reload);

    // Without an index an append. Answers whether a list (or program) is now filed under the id.
    bool fileVexaList(int kind, const QVariantMap& params, std::optional<int> index);
    bool fileVexaProgram(int kind, const QString& programListId, const QVariantMap& params,
                         std::optional<int> index);
    void removeVexaProgram(int kind, const QString& programListId, const QString& programId);
    QString vexaListId(int kind, int i) const;
    RCVexaProgramList* vexaList(int kind, const QString& programListId) const
    {
        return m_vexaManager->findProgramList(kind, programListId);
    }
    static int programCountOf(const RCVexaProgramList* list);
    static QString programIdOf(const RCVexaProgramList* list, int i);
    static QString idOf(const RCMirrorRecord* record) { return record ? record->getId() : QString(); }

    QString m_serverIp;
    EState m_state = EState_Idel;
    RCImageProvider* m_imageProvider = nullptr;
    QMap<QString, QVariant> m_globalProperties;
    RCProgramTable* m_programTable = nullptr;
    // Number of stage views showing, under key 0.
    QMap<int, int> m_stageViewCounts;
    bool m_connected = false;
    QTimer* m_refreshTimer = nullptr;
    QString m_currentProgram;
    QPointer<QQmlEngine> m_engine;
    RCTrackManager* m_trackManager = nullptr;
    QMap<int, bool> m_downloadSteps;
    RCVexaProgramManager* m_vexaManager = nullptr;
    bool m_stageRequestOutstanding = false;
    // Project downloads asked for and not yet answered, oldest first.
    QList<int> m_projectRequests;
    QElapsedTimer m_stageRequestClock;
};
