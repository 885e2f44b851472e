#include "model/RCSceneManager.h"

#include "model/RCObjectManager.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"

#include <QDebug>
#include <QJsonArray>

namespace {

const QString kSceneArray = QStringLiteral("sceneArray");

} // namespace

RCSceneManager* RCSceneManager::instance()
{
    static RCSceneManager* manager = new RCSceneManager;
    return manager;
}

RCSceneManager::RCSceneManager(QObject* parent) : IRCObject(parent) {}

RCSceneManager::~RCSceneManager()
{
    while (!m_scenes.isEmpty()) {
        removeScene(m_scenes.constFirst());
    }
}

eIRCObjectType RCSceneManager::getObjectType() const
{
    return eIRCObjectType_SceneManager;
}

QJsonObject RCSceneManager::toJson() const
{
    QJsonArray scenes;
    for (RCScene* scene : m_scenes) {
        scenes.append(scene->toJson());
    }
    return QJsonObject{{kSceneArray, scenes}};
}

bool RCSceneManager::fromJson(QJsonObject jsObj)
{
    return fromJson(jsObj, nullptr);
}

bool RCSceneManager::fromJson(const QJsonObject& jsObj, const std::vector<RCSceneItemRecords::SceneRows>* sceneRows)
{
    while (!m_scenes.isEmpty()) {
        removeScene(m_scenes.constFirst());
    }
    const QJsonArray scenes = jsObj.value(kSceneArray).toArray();
    if (sceneRows && sceneRows->size() != size_t(scenes.size()))
        sceneRows = nullptr;
    for (qsizetype i = 0; i < scenes.size(); ++i) {
        addScene(new RCScene(scenes.at(i).toObject(), sceneRows ? &sceneRows->at(size_t(i)) : nullptr, this), -1);
    }
    return true;
}

void RCSceneManager::addScene(RCScene* scene, int index)
{
    if (!scene || m_scenes.contains(scene)) {
        return;
    }
    QString id = scene->getId();
    if (m_scenesById.contains(id)) {
        const QString fresh = scene->renewId();
        qWarning().noquote() << "RCSceneManager::addScene scene id" << id
                             << "is already held, the added scene gets the id" << fresh;
        id = fresh;
    }
    const int position = (index < 0 || index > m_scenes.size()) ? int(m_scenes.size()) : index;
    scene->setParent(this);
    m_scenesById.insert(id, scene);
    m_scenes.insert(position, scene);
    RCObjectManager::instance()->addObject(scene);
    connect(scene, &IRCObject::propertyValueChanged, this, &RCSceneManager::onScenePropertyValueChanged,
            Qt::UniqueConnection);
    Q_EMIT sceneAdd(scene, position);
}

QString RCSceneManager::heldIdOf(RCScene* scene) const
{
    const QString id = scene->getId();
    if (m_scenesById.value(id, nullptr) == scene) {
        return id;
    }
    // The scene's id changed while held; find the entry by value.
    for (auto it = m_scenesById.cbegin(); it != m_scenesById.cend(); ++it) {
        if (it.value() == scene) {
            return it.key();
        }
    }
    return QString();
}

bool RCSceneManager::removeScene(RCScene* scene)
{
    if (!scene || !m_scenes.contains(scene)) {
        return false;
    }
    Q_EMIT sceneRemove(scene);
    m_scenesById.remove(heldIdOf(scene));
    m_scenes.removeOne(scene);
    RCObjectManager::instance()->removeObject(scene);
    Q_EMIT destorySelf(scene);
    if (m_currentScene == scene) {
        m_currentScene = nullptr;
        Q_EMIT sceneSelectChanged(nullptr);
    }
    delete scene;
    return true;
}

RCScene* RCSceneManager::takeScene(const QString& id)
{
    RCScene* scene = m_scenesById.value(id, nullptr);
    if (!scene) {
        return nullptr;
    }
    m_scenesById.remove(id);
    m_scenes.removeOne(scene);
    RCObjectManager::instance()->removeObject(scene);
    scene->setParent(nullptr);
    Q_EMIT sceneRemove(scene);
    return scene;
}

void RCSceneManager::setCurrentScene(RCScene* scene)
{
    if (m_currentScene == scene) {
        return;
    }
    m_currentScene = scene;
    Q_EMIT sceneSelectChanged(scene);
}

RCScene* RCSceneManager::getCurrentScene() const
{
    return m_currentScene;
}

RCScene* RCSceneManager::sceneAt(int index) const
{
    if (index < 0 || index >= m_scenes.size()) {
        return nullptr;
    }
    return m_scenes.at(index);
}

RCScene* RCSceneManager::getScene(const QString& id) const
{
    return m_scenesById.value(id, nullptr);
}

RCSceneItem* RCSceneManager::getSceneItem(const QString& sceneId, const QString& itemId) const
{
    RCScene* scene = getScene(sceneId);
    return scene ? qobject_cast<RCSceneItem*>(scene->getItemById(itemId)) : nullptr;
}

int RCSceneManager::indexOf(const QString& id) const
{
    RCScene* scene = getScene(id);
    return scene ? int(m_scenes.indexOf(scene)) : -1;
}

int RCSceneManager::getSceneCount() const
{
    return int(m_scenes.size());
}

QList<RCScene*> RCSceneManager::getSceneList() const
{
    return m_scenes;
}

void RCSceneManager::onScenePropertyValueChanged(QString sName, QVariant value)
{
    if (auto* scene = qobject_cast<RCScene*>(sender())) {
        Q_EMIT scenePropertyValueChanged(scene, sName, value);
    }
}
