#include "editing/RCScenePresenter.h"

#include "editing/RCCmdPresenter.h"
#include "editing/RCPropertyQuery.h"
#include "editing/RCSceneCommand_Add.h"
#include "editing/RCSceneCommand_Move.h"
#include "editing/RCSceneCommand_Remove.h"
#include "editing/RCSceneCommand_Update.h"
#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneManager.h"

#include <QLoggingCategory>

#include <memory>

Q_LOGGING_CATEGORY(lcScenePresenter, "scene.presenter", QtInfoMsg)

namespace {

RCSceneManager* scenes()
{
    return RCSceneManager::instance();
}

// The scene's size; invalid for no scene or one without a positive width and height.
QSize sizeOf(const RCScene* scene)
{
    if (!scene)
        return QSize();
    const QSize size(scene->getPropertyValue(RCKeys::Width()).toInt(),
                     scene->getPropertyValue(RCKeys::Height()).toInt());
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

} // namespace

RCScenePresenter* RCScenePresenter::instance()
{
    static RCScenePresenter* presenter = new RCScenePresenter();
    return presenter;
}

RCScenePresenter::RCScenePresenter(QObject* parent) : IRCCppObject(parent)
{
    RCCmdPresenter::instance(); // the command types are registered from here on
    RCSceneManager* manager = scenes();
    connect(manager, &RCSceneManager::sceneAdd, this, &RCScenePresenter::onSceneAdd);
    connect(manager, &RCSceneManager::sceneRemove, this, &RCScenePresenter::onSceneRemove);
    connect(manager, &RCSceneManager::scenePropertyValueChanged, this,
            &RCScenePresenter::onScenePropertyValueChanged);
    connect(manager, &RCSceneManager::sceneSelectChanged, this, &RCScenePresenter::onSceneSelectChanged);
}

QString RCScenePresenter::addScene(QString sName, QString sIconPath, QString sBackgroundImgPath, bool record)
{
    return insertScene(sName, sIconPath, sBackgroundImgPath, -1, record);
}

QString RCScenePresenter::insertScene(QString sName, QString sIconPath, QString sBackgroundImgPath, int index,
                                      bool record)
{
    auto cmd = std::make_unique<RCSceneCommand_Add>(sName, sIconPath, sBackgroundImgPath, index);
    RCSceneCommand_Add* add = cmd.get(); // an add never merges: a recorded one stays alive
    if (!RCCmdPresenter::instance()->run(cmd, record))
        return QString();
    return add->getSceneId();
}

bool RCScenePresenter::removeScene(QString sceneId, bool record)
{
    auto cmd = std::make_unique<RCSceneCommand_Remove>(sceneId);
    return RCCmdPresenter::instance()->run(cmd, record);
}

bool RCScenePresenter::moveScene(QString sSceneId, int toIndex, bool record)
{
    auto cmd = std::make_unique<RCSceneCommand_Move>(sSceneId, toIndex);
    return RCCmdPresenter::instance()->run(cmd, record);
}

int RCScenePresenter::getPropertyCount(QString sceneId)
{
    return RCPropertyQuery::count(scenes()->getScene(sceneId));
}

QString RCScenePresenter::getPropertyQmlFile(QString sceneId, int index)
{
    return RCPropertyQuery::qmlFile(scenes()->getScene(sceneId), index);
}

bool RCScenePresenter::getPropertyVisible(QString sceneId, int index)
{
    return RCPropertyQuery::visible(scenes()->getScene(sceneId), index);
}

QString RCScenePresenter::getPropertyName(QString sceneId, int index)
{
    return RCPropertyQuery::name(scenes()->getScene(sceneId), index);
}

QString RCScenePresenter::getPropertyDescription(QString sceneId, QString name)
{
    return RCPropertyQuery::description(scenes()->getScene(sceneId), name);
}

QVariant RCScenePresenter::getPropertyDisplayData(QString sceneId, QString nameProperty, QString keyDisplay)
{
    return RCPropertyQuery::displayData(scenes()->getScene(sceneId), nameProperty, keyDisplay);
}

QVariant RCScenePresenter::getPropertyValue(QString sceneId, QString name)
{
    RCScene* scene = scenes()->getScene(sceneId);
    return scene ? scene->getPropertyValue(name) : QVariant();
}

void RCScenePresenter::setPropertyValue(QString sceneId, QString name, QVariant var, bool record)
{
    auto cmd = std::make_unique<RCSceneCommand_Update>(sceneId, name, var);
    RCCmdPresenter::instance()->run(cmd, record);
}

QStringList RCScenePresenter::getSceneIds()
{
    QStringList ids;
    const QList<RCScene*> list = scenes()->getSceneList();
    ids.reserve(list.size());
    for (const RCScene* scene : list)
        ids.append(scene->getId());
    return ids;
}

QString RCScenePresenter::getSceneId(int index)
{
    const RCScene* scene = scenes()->sceneAt(index);
    return scene ? scene->getId() : QString();
}

int RCScenePresenter::getSceneCount()
{
    return scenes()->getSceneCount();
}

int RCScenePresenter::getSceneIndex(QString sSceneId)
{
    return scenes()->indexOf(sSceneId);
}

void RCScenePresenter::setSelectScene(QString sceneId)
{
    scenes()->setCurrentScene(scenes()->getScene(sceneId));
}

QString RCScenePresenter::getSelectSceneId()
{
    const RCScene* scene = scenes()->getCurrentScene();
    return scene ? scene->getId() : QString();
}

QSize RCScenePresenter::getNewSceneSize(QSize templateSize)
{
    if (templateSize.width() > 0 && templateSize.height() > 0)
        return templateSize;
    for (const RCScene* model : {scenes()->getCurrentScene(), scenes()->sceneAt(0)}) {
        const QSize size = sizeOf(model);
        if (size.isValid())
            return size;
    }
    return RCScene::defaultSize();
}

void RCScenePresenter::triggerAction(QString sceneId, int actType, QVariant data)
{
    Q_EMIT actionTrigger(sceneId, actType, data);
}

void RCScenePresenter::fromJson(const QJsonObject& jsObj,
                                const std::vector<RCSceneItemRecords::SceneRows>* sceneRows)
{
    scenes()->fromJson(jsObj, sceneRows);
}

QJsonObject RCScenePresenter::toJson() const
{
    return scenes()->toJson();
}

void RCScenePresenter::onSceneAdd(RCScene* scene, int index)
{
    if (scene)
        Q_EMIT sceneAdd(scene->getId(), index);
}

void RCScenePresenter::onSceneRemove(RCScene* scene)
{
    if (!scene)
        return;
    qCInfo(lcScenePresenter) << "Remove scene" << scene->getName();
    Q_EMIT sceneRemove(scene->getId());
}

void RCScenePresenter::onScenePropertyValueChanged(RCScene* scene, QString sName, QVariant value)
{
    if (!scene)
        return;
    qCDebug(lcScenePresenter) << "Scene" << scene->getName() << "property changed:" << sName << ":" << value;
    Q_EMIT scenePropertyValueChanged(scene->getId(), sName, value);
}

void RCScenePresenter::onSceneSelectChanged(RCScene* scene)
{
    qCDebug(lcScenePresenter) << "Scene" << (scene ? scene->getName() : QString()) << "select changed.";
    Q_EMIT sceneSelectChanged(scene ? scene->getId() : QString());
}
