#pragma once

#include <QImage>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The mirror of the media server's state as the rest of the system sees it: the connection state,
// the global properties, the stage image, the program table, the tracks and the Vexa program
// lists. The command processors write it through its setters (those not invokable from QML), QML
// reads it through its invokable getters and change signals, and it asks the server for data
// through its four request signals, which the project turns into actions.
//
// Every operation is virtual; the interface's own bodies do nothing and answer neutral values
// ("", 0, false, an invalid value, an empty list; -1 for getVexaProgramListType). Registered with
// QML as "Rc.IRCStelvaneSyncer" 1.0 for its EState values. Keeps C++ ownership. GUI thread only.
class IRCStelvaneSyncer : public QObject
{
    Q_OBJECT

public:
    enum EState
    {
        EState_Idel = 0,
        EState_Connect = 1,
        EState_ComplateDownload = 2
    };
    Q_ENUM(EState)

    explicit IRCStelvaneSyncer(QObject* parent = nullptr);

    // Connection, global properties and stage image.
    virtual void connectToServer(QString /*sIp*/) {}
    virtual void disconnectServer() {}
    virtual void setDownloadStepComplete(int /*step*/) {}
    Q_INVOKABLE virtual QString getServerIp() { return QString(); }
    Q_INVOKABLE virtual IRCStelvaneSyncer::EState getState() { return EState_Idel; }
    Q_INVOKABLE virtual void stageViewRefAddOne() {}
    Q_INVOKABLE virtual void stageViewRefMinusOne() {}
    virtual void setGlobalProperty(QString /*sProName*/, QVariant /*value*/) {}
    Q_INVOKABLE virtual QVariant getGlobalProperty(QString /*sProName*/) { return QVariant(); }
    virtual void setStageImage(QImage /*image*/) {}
    Q_INVOKABLE virtual QString getStageImageUrl() { return QString(); }
    virtual void setStageLink(bool /*b*/) {}
    Q_INVOKABLE virtual bool getStageLink() { return false; }
    Q_INVOKABLE virtual void setVexaDisplayOutputState(bool /*b*/) {}
    Q_INVOKABLE virtual bool getVexaDisplayOutputState() { return false; }

    // Program table: programs.
    virtual bool addProgram(QVariantMap /*params*/) { return false; }
    virtual bool insertProgram(int /*index*/, QVariantMap /*params*/) { return false; }
    virtual void removeProgram(QString /*sId*/) {}
    Q_INVOKABLE virtual int getProgramCount() { return 0; }
    Q_INVOKABLE virtual QString getProgram(int /*i*/) { return QString(); }
    Q_INVOKABLE virtual int getProgramIndex(QString /*sId*/) { return 0; }
    Q_INVOKABLE virtual QString getCurrentProgram() { return QString(); }
    virtual void clearProgram() {}
    virtual void setProgramName(QString /*sId*/, QString /*name*/) {}
    virtual void setProgramState(QString /*sId*/, int /*state*/) {}
    Q_INVOKABLE virtual QString getProgramName(QString /*sId*/) { return QString(); }
    Q_INVOKABLE virtual int getProgramState(QString /*sId*/) { return 0; }
    Q_INVOKABLE virtual QVariant getProgramRole(QString /*sId*/) { return QVariant(QString()); }

    // Program table: layers.
    virtual bool addProgramLayer(QVariantMap /*params*/) { return false; }
    virtual bool insertProgramLayer(int /*index*/, QVariantMap /*params*/) { return false; }
    virtual void removeProgramLayer(QString /*sId*/) {}
    virtual void clearProgramLayer() {}
    Q_INVOKABLE virtual int getProgramLayerCount() { return 0; }
    Q_INVOKABLE virtual int getProgramLayerIndex(QString /*sId*/) { return 0; }
    Q_INVOKABLE virtual QString getProgramLayer(int /*i*/) { return QString(); }
    virtual bool setProgramLayerPropertyValue(QString /*sId*/, QString /*sProName*/, QVariant /*value*/)
    {
        return false;
    }
    Q_INVOKABLE virtual QVariant getProgramLayerPropertyValue(QString /*sId*/, QString /*sProName*/)
    {
        return QVariant();
    }
    virtual void setProgramLayerName(QString /*sId*/, QString /*name*/) {}
    Q_INVOKABLE virtual QString getProgramLayerName(QString /*sId*/) { return QString(); }
    Q_INVOKABLE virtual void setProgramLayerType(QString /*sId*/, int /*type*/) {}
    Q_INVOKABLE virtual int getProgramLayerType(QString /*sId*/) { return 0; }

    // Program table: nodes.
    virtual bool addProgramNode(QVariantMap /*params*/) { return false; }
    virtual void removeProgramNode(QString /*sId*/) {}
    virtual void clearProgramNode() {}
    Q_INVOKABLE virtual int getProgramNodeCount() { return 0; }
    Q_INVOKABLE virtual int getProgramNodeRowIndex(QString /*sId*/) { return 0; }
    Q_INVOKABLE virtual QVariantList getProgramNodeColRoles(QString /*sId*/) { return QVariantList(); }
    Q_INVOKABLE virtual QString getProgramNode(int /*i*/) { return QString(); }
    Q_INVOKABLE virtual QString findProgramNode(QString /*sProgramId*/, QString /*sProgramLayerId*/)
    {
        return QString();
    }
    virtual bool setProgramNodePropertyValue(QString /*sId*/, QString /*sProName*/, QVariant /*value*/)
    {
        return false;
    }
    Q_INVOKABLE virtual QVariant getProgramNodePropertyValue(QString /*sId*/, QString /*sProName*/)
    {
        return QVariant();
    }
    virtual void setProgramNodeName(QString /*sId*/, QString /*name*/) {}
    Q_INVOKABLE virtual QString getProgramNodeName(QString /*sId*/) { return QString(); }
    virtual void setProgramNodeState(QString /*sId*/, int /*state*/) {}
    Q_INVOKABLE virtual int getProgramNodeState(QString /*sId*/) { return 0; }
    virtual void setProgramNodeProgress(QString /*sId*/, qlonglong /*progress*/) {}
    Q_INVOKABLE virtual qlonglong getProgramNodeProgress(QString /*sId*/) { return 0; }
    virtual void setProgramNodeProgramIdList(QString /*sId*/, QStringList /*list*/) {}
    Q_INVOKABLE virtual QVariantList getProgramNodeProgramIdList(QString /*sId*/) { return QVariantList(); }
    virtual void setProgramNodeProgramLayerId(QString /*sId*/, QString /*layerId*/) {}
    Q_INVOKABLE virtual QString getProgramNodeProgramLayerId(QString /*sId*/) { return QString(); }
    Q_INVOKABLE virtual bool hasProgramNodeTitleList() { return false; }
    Q_INVOKABLE virtual QStringList getProgramNodeTitleList() { return QStringList(); }
    Q_INVOKABLE virtual QStringList getProgramIdListByNodeTitle(QString /*programNodeTitle*/)
    {
        return QStringList();
    }

    // Tracks.
    Q_INVOKABLE virtual bool addTrack(QVariantMap /*params*/) { return false; }
    Q_INVOKABLE virtual bool insertTrack(QVariantMap /*params*/, int /*index*/) { return false; }
    Q_INVOKABLE virtual void removeTrack(QString /*sId*/) {}
    Q_INVOKABLE virtual int getTrackCount() { return 0; }
    Q_INVOKABLE virtual QString getTrack(int /*i*/) { return QString(); }
    Q_INVOKABLE virtual void clearTrack() {}
    Q_INVOKABLE virtual QVariant getTrackProperty(QString /*sId*/, QString /*sProName*/)
    {
        return QVariant();
    }
    Q_INVOKABLE virtual bool setTrackProperty(QString /*sId*/, QString /*sProName*/, QVariant /*value*/)
    {
        return false;
    }
    Q_INVOKABLE virtual QVariant getTrackPropertyByName(QString /*sName*/, QString /*sProName*/)
    {
        return QVariant();
    }
    Q_INVOKABLE virtual QString getTrackIdByName(QString /*sTrackName*/) { return QString(); }
    Q_INVOKABLE virtual bool addTrackProgram(QString /*sTrackId*/, QVariantMap /*params*/) { return false; }
    Q_INVOKABLE virtual bool insertTrackProgram(QString /*sTrackId*/, QVariantMap /*params*/, int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeTrackProgram(QString /*sTrackId*/, QString /*sProgramId*/) {}
    Q_INVOKABLE virtual QVariant getTrackProgramProperty(QString /*sTrackId*/, QString /*sProgramId*/,
                                                         QString /*sProName*/)
    {
        return QVariant();
    }
    Q_INVOKABLE virtual void setTrackProgramProperty(QString /*sTrackId*/, QString /*sProgramId*/,
                                                     QString /*sProName*/, QVariant /*value*/)
    {
    }
    Q_INVOKABLE virtual int getTrackProgramCount(QString /*sTrackId*/) { return 0; }
    Q_INVOKABLE virtual QString getTrackProgram(QString /*sTrackId*/, int /*i*/) { return QString(); }

    // Vexa program lists, by kind.
    Q_INVOKABLE virtual bool addVexaVideoProgramList(QVariantMap /*params*/) { return false; }
    Q_INVOKABLE virtual bool insertVexaVideoProgramList(QVariantMap /*params*/, int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeVexaVideoProgramList(QString /*programListId*/) {}
    Q_INVOKABLE virtual int getVexaVideoProgramListCount() { return 0; }
    Q_INVOKABLE virtual QString getVexaVideoProgramListId(int /*i*/) { return QString(); }
    Q_INVOKABLE virtual bool addVexaAudioProgramList(QVariantMap /*params*/) { return false; }
    Q_INVOKABLE virtual bool insertVexaAudioProgramList(QVariantMap /*params*/, int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeVexaAudioProgramList(QString /*programListId*/) {}
    Q_INVOKABLE virtual int getVexaAudioProgramListCount() { return 0; }
    Q_INVOKABLE virtual QString getVexaAudioProgramListId(int /*i*/) { return QString(); }
    Q_INVOKABLE virtual bool addVexaTextProgramList(QVariantMap /*params*/) { return false; }
    Q_INVOKABLE virtual bool insertVexaTextProgramList(QVariantMap /*params*/, int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeVexaTextProgramList(QString /*programListId*/) {}
    Q_INVOKABLE virtual int getVexaTextProgramListCount() { return 0; }
    Q_INVOKABLE virtual QString getVexaTextProgramListId(int /*i*/) { return QString(); }

    // Vexa programs, by the kind of their list.
    Q_INVOKABLE virtual bool addVexaVideoProgram(QString /*programListId*/, QVariantMap /*params*/)
    {
        return false;
    }
    Q_INVOKABLE virtual bool insertVexaVideoProgram(QString /*programListId*/, QVariantMap /*params*/,
                                                    int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeVexaVideoProgram(QString /*programListId*/, QString /*programId*/) {}
    Q_INVOKABLE virtual int getVexaVideoProgramCount(QString /*programListId*/) { return 0; }
    Q_INVOKABLE virtual QString getVexaVideoProgramId(QString /*programListId*/, int /*i*/)
    {
        return QString();
    }
    Q_INVOKABLE virtual bool addVexaAudioProgram(QString /*programListId*/, QVariantMap /*params*/)
    {
        return false;
    }
    Q_INVOKABLE virtual bool insertVexaAudioProgram(QString /*programListId*/, QVariantMap /*params*/,
                                                    int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeVexaAudioProgram(QString /*programListId*/, QString /*programId*/) {}
    Q_INVOKABLE virtual int getVexaAudioProgramCount(QString /*programListId*/) { return 0; }
    Q_INVOKABLE virtual QString getVexaAudioProgramId(QString /*programListId*/, int /*i*/)
    {
        return QString();
    }
    Q_INVOKABLE virtual bool addVexaTextProgram(QString /*programListId*/, QVariantMap /*params*/)
    {
        return false;
    }
    Q_INVOKABLE virtual bool insertVexaTextProgram(QString /*programListId*/, QVariantMap /*params*/,
                                                   int /*index*/)
    {
        return false;
    }
    Q_INVOKABLE virtual void removeVexaTextProgram(QString /*programListId*/, QString /*programId*/) {}
    Q_INVOKABLE virtual int getVexaTextProgramCount(QString /*programListId*/) { return 0; }
    Q_INVOKABLE virtual QString getVexaTextProgramId(QString /*programListId*/, int /*i*/)
    {
        return QString();
    }

    // Vexa lists and programs of any kind.
    Q_INVOKABLE virtual int getVexaProgramCount(QString /*programListId*/) { return 0; }
    Q_INVOKABLE virtual QString getVexaProgramId(QString /*programListId*/, int /*index*/)
    {
        return QString();
    }
    Q_INVOKABLE virtual void setVexaProgramListProperty(QString /*programListId*/, QString /*proName*/,
                                                        QVariant /*value*/)
    {
    }
    Q_INVOKABLE virtual QVariant getVexaProgramListProperty(QString /*programListId*/, QString /*proName*/)
    {
        return QVariant();
    }
    Q_INVOKABLE virtual void setVexaProgramProperty(QString /*programListId*/, QString /*programId*/,
                                                    QString /*proName*/, QVariant /*value*/)
    {
    }
    Q_INVOKABLE virtual QVariant getVexaProgramProperty(QString /*programListId*/, QString /*programId*/,
                                                        QString /*proName*/)
    {
        return QVariant();
    }
    Q_INVOKABLE virtual void clearVexaProgramManager() {}
    Q_INVOKABLE virtual QString getPlayingVideoProgramList() { return QString(); }
    Q_INVOKABLE virtual QString getPlayingAudioProgramList() { return QString(); }
    Q_INVOKABLE virtual QString getPlayingTextProgramList() { return QString(); }
    Q_INVOKABLE virtual QString getPlayingVideoProgram() { return QString(); }
    Q_INVOKABLE virtual QString getPlayingAudioProgram() { return QString(); }
    Q_INVOKABLE virtual QString getPlayingTextProgram() { return QString(); }
    Q_INVOKABLE virtual int getVexaProgramListType(QString /*sProgramListId*/) { return -1; }
    // A property of the list of that kind (0 video, 1 audio, 2 text), or of its program: lists of
    // two kinds may bear the same id, so the views of one kind read through these. Invalid for an
    // unknown kind, list or program.
    Q_INVOKABLE virtual QVariant getVexaProgramListPropertyOfKind(int /*kind*/, QString /*programListId*/,
                                                                  QString /*proName*/)
    {
        return QVariant();
    }
    Q_INVOKABLE virtual QVariant getVexaProgramPropertyOfKind(int /*kind*/, QString /*programListId*/,
                                                              QString /*programId*/, QString /*proName*/)
    {
        return QVariant();
    }

    // Project download.
    Q_INVOKABLE virtual void setProject(int /*setUid*/, QJsonObject /*jsObj*/) {}
    // The number of a project download this panel asked the server for, recorded before the
    // request is sent; the answer "setProject" is applied only when takeProjectRequest, called with
    // the number it repeats, answers true (once per recorded number).
    virtual void addProjectRequest(int /*setUid*/) {}
    virtual bool takeProjectRequest(int /*setUid*/) { return false; }
    // Forgets a recorded number whose download was given up (timed out, cancelled): an answer
    // that still comes for it is dropped like any answer this panel did not ask for.
    Q_INVOKABLE virtual void dropProjectRequest(int /*setUid*/) {}

Q_SIGNALS:
    void stageImageRequest();
    void programTableRequest();
    void globalPropertyValueGet(QString sProName);
    void trackManagerGet();
    void connectedToServer(QString sIp);
    void disconnectFromServer();
    void downloadComplate();
    void connectPasswordError();
    void connectVerifyAsk();
    void globalPropertyChanged(QString sProName, QVariant value);
    void programAdd(QString sId, QVariantMap params);
    void programInsert(QString sId, QVariantMap params, int index);
    void programRemove(QString sId, int index);
    void programPropertyChanged(QString sId, QString sProName, QVariant value);
    void programCurrentChanged(QString sId, int state);
    void programLayerAdd(QString sId, QVariantMap params);
    void programLayerInsert(QString sId, QVariantMap params, int index);
    void programLayerRemove(QString sId, int index);
    void programLayerPropertyChanged(QString sId, QString sProName, QVariant value);
    void programNodeAdd(QString sId, QVariantMap params);
    void programNodeRemove(QString sId, int row, QVariantList programIdList);
    void programNodePropertyChanged(QString sId, QString sProName, QVariant value);
    // The whole table is about to be replaced: the single-record signals that follow, up to the
    // next programTableUpdate, belong to the replacement (emitted by "setProgramTable").
    void programTableReplaceBegin();
    void programTableUpdate();
    void trackAdd(QString sId);
    void trackInsert(QString sId, int index);
    void trackRemove(QString sId);
    void trackPropertyChanged(QString sId, QString sProName, QVariant value);
    void trackProgramAdded(QString sTrackId, QString programId, int index);
    void trackProgramRemoved(QString sTrackId, QString programId);
    void trackProgramPropertyChanged(QString sTrackId, QString programId, QString sProName, QVariant value);
    void vexaProgramListPropertyChanged(QString programListId, QString sProName, QVariant value);
    void vexaProgramPropertyChanged(QString programListId, QString programId, QString sProName,
                                    QVariant value);
    void vexaVideoProgramListAdd(QString programListId, int index);
    void vexaVideoProgramListRemove(QString programListId);
    void vexaAudioProgramListAdd(QString programListId, int index);
    void vexaAudioProgramListRemove(QString programListId);
    void vexaTextProgramListAdd(QString programListId, int index);
    void vexaTextProgramListRemove(QString programListId);
    void vexaVideoProgramAdd(QString programListId, QString programId, int index);
    void vexaVideoProgramRemove(QString programListId, QString programId);
    void vexaAudioProgramAdd(QString programListId, QString programId, int index);
    void vexaAudioProgramRemove(QString programListId, QString programId);
    void vexaTextProgramAdd(QString programListId, QString programId, int index);
    void vexaTextProgramRemove(QString programListId, QString programId);
    void projectSet(int setUid, QJsonObject jsObj);
};
