#pragma once

#include "model/IRCCppObject.h"
#include "model/RCSceneItemRecords.h"

#include <QJsonObject>
#include <QSize>
#include <QStringList>
#include <QVariant>

#include <vector>

class RCScene;

// The id-based interface through which QML and the other subsystems read and change the scene
// list and the scenes' properties. Changes run as scene commands through RCCmdPresenter with a
// record flag; reads go to RCSceneManager::instance(). Relays the scene manager's signals with
// scene ids instead of pointers. Holds no document state. GUI thread only.
class RCScenePresenter : public IRCCppObject
{
    Q_OBJECT
public:
    // The shared presenter, made on first use and never deleted.
    static RCScenePresenter* instance();
    explicit RCScenePresenter(QObject* parent = nullptr);

    // Id of the new scene, "" when it could not be added.
    Q_INVOKABLE QString addScene(QString sName, QString sIconPath = QString(),
                                 QString sBackgroundImgPath = QString(), bool record = true);
    Q_INVOKABLE QString insertScene(QString sName, QString sIconPath = QString(),
                                    QString sBackgroundImgPath = QString(), int index = -1,
                                    bool record = true);
    // False when the scene is unknown or could not be removed.
    Q_INVOKABLE bool removeScene(QString sceneId, bool record = true);
    Q_INVOKABLE bool moveScene(QString sSceneId, int toIndex, bool record = true);
    Q_INVOKABLE int getPropertyCount(QString sceneId);
    Q_INVOKABLE QString getPropertyQmlFile(QString sceneId, int index);
    Q_INVOKABLE bool getPropertyVisible(QString sceneId, int index);
    Q_INVOKABLE QString getPropertyName(QString sceneId, int index);
    Q_INVOKABLE QString getPropertyDescription(QString sceneId, QString name);
    Q_INVOKABLE QVariant getPropertyDisplayData(QString sceneId, QString nameProperty, QString keyDisplay);
    Q_INVOKABLE QVariant getPropertyValue(QString sceneId, QString name);
    Q_INVOKABLE void setPropertyValue(QString sceneId, QString name, QVariant var, bool record);
    Q_INVOKABLE QStringList getSceneIds();
    Q_INVOKABLE QString getSceneId(int index);
    Q_INVOKABLE int getSceneCount();
    Q_INVOKABLE int getSceneIndex(QString sSceneId);
    Q_INVOKABLE void setSelectScene(QString sceneId);
    Q_INVOKABLE QString getSelectSceneId();
    // The size that a scene about to be added gets: templateSize when it is valid (a template
    // copy keeps its template's size); else the size of the selected scene, else that of the
    // first scene; the scene default only when there is no scene. Asked before the scene is
    // added, so that the new scene is not its own model.
    Q_INVOKABLE QSize getNewSceneSize(QSize templateSize);
    Q_INVOKABLE void triggerAction(QString sceneId, int actType, QVariant data);

    // The project's scene list ({"sceneArray": [...]}), read on load and written on save.
    // With sceneRows, the scenes' items take the rows read ahead for them (RCSceneManager).
    void fromJson(const QJsonObject& jsObj,
                  const std::vector<RCSceneItemRecords::SceneRows>* sceneRows = nullptr);
    QJsonObject toJson() const;

Q_SIGNALS:
    void sceneAdd(QString sceneId, int index);
    void sceneRemove(QString sceneId);
    void scenePropertyValueChanged(QString sceneId, QString sName, QVariant value);
    void sceneSelectChanged(QString sceneId);
    // A scene-level action request; the project forwards it to the action manager.
    void actionTrigger(QString sceneId, int actType, QVariant data);

private Q_SLOTS:
    void onSceneAdd(RCScene* scene, int index);
    void onSceneRemove(RCScene* scene);
    void onScenePropertyValueChanged(RCScene* scene, QString sName, QVariant value);
    void onSceneSelectChanged(RCScene* scene);
};
