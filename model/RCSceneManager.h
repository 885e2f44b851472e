#pragma once

#include "model/IRCObject.h"
#include "model/RCSceneItemRecords.h"

#include <QList>
#include <QMap>
#include <QPointer>

class RCScene;
class RCSceneItem;

// The ordered list of the project's scenes and the current scene. Owns its scenes (those
// built from JSON are its QObject children) and registers them with RCObjectManager while
// it holds them. JSON: {"sceneArray": [scene, ...]} in scene order.
//
// One process-wide instance (instance(), made on first use without a lock); further
// instances may be made by their owners. GUI thread only.
class RCSceneManager : public IRCObject
{
    Q_OBJECT
public:
    static RCSceneManager* instance();

    explicit RCSceneManager(QObject* parent = nullptr);
    // Removes every scene as removeScene does, first to last.
    ~RCSceneManager() override;

    eIRCObjectType getObjectType() const override;
    QJsonObject toJson() const override;
    // Removes all scenes, then adds one per "sceneArray" element in order.
    bool fromJson(QJsonObject jsObj) override;
    // As fromJson, each scene's items taking the rows read ahead for them (RCScene) when there are
    // rows for every scene.
    bool fromJson(const QJsonObject& jsObj, const std::vector<RCSceneItemRecords::SceneRows>* sceneRows);

    // Takes ownership and inserts at index; -1, and any index outside 0 .. count, appends.
    // A scene already held is left as it is; a scene whose id another held scene has gets a
    // new id (logged), so both are kept.
    void addScene(RCScene* scene, int index);
    // Removes and deletes a held scene. False, and nothing touched, for null or a scene
    // this manager does not hold.
    bool removeScene(RCScene* scene);
    // Removes the scene without deleting it and hands it to the caller; null when absent.
    // The current scene is left as it was.
    RCScene* takeScene(const QString& id);
    void setCurrentScene(RCScene* scene);
    RCScene* getCurrentScene() const;
    RCScene* sceneAt(int index) const;
    RCScene* getScene(const QString& id) const;
    // The item itemId of the held scene sceneId; null when either is absent.
    RCSceneItem* getSceneItem(const QString& sceneId, const QString& itemId) const;
    int indexOf(const QString& id) const;
    int getSceneCount() const;
    QList<RCScene*> getSceneList() const;

Q_SIGNALS:
    void sceneAdd(RCScene* scene, int index);
    void sceneRemove(RCScene* scene);
    void scenePropertyValueChanged(RCScene* scene, QString sProName, QVariant sNewVar);
    void sceneSelectChanged(RCScene* scene);

private Q_SLOTS:
    void onScenePropertyValueChanged(QString sName, QVariant value);

private:
    // The id under which scene is held, or an empty string when it is not held.
    QString heldIdOf(RCScene* scene) const;

    QMap<QString, RCScene*> m_scenesById;
    QList<RCScene*> m_scenes;
    // Guarded: a taken scene that its taker deletes must not leave a dangling current scene.
    QPointer<RCScene> m_currentScene;
};
