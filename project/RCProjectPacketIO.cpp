#include "project/RCProjectPacketIO.h"

#include "editing/Platform.h"
#include "editing/RCCommandManager.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"
#include "project/IRCSetting.h"
#include "project/RCImageManager.h"
#include "project/RCLogCategories.h"
#include "project/RCPacketFolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <system_error>

namespace {

// Hands the memory that the parse threads freed back to the system. The C library keeps what a
// thread allocated in a heap of that thread's, and a freed parse leaves holes there between the
// values that the document keeps, which it does not give back by itself: after a file of 10
// scenes of 1,000 items a tenth more memory for as long as the program runs, of 5,000 a fifth.
// Any thread; it takes each heap's lock in turn, so a thread that allocates meanwhile waits.
void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

RCProjectPacketIO::RCProjectPacketIO(RCImageManager* imageManager, IRCSetting* setting, QObject* parent)
    : QObject(parent), m_imageManager(imageManager), m_setting(setting), m_saver(imageManager, setting)
{
    // Every entry pushed to either history is a change since the last load or save.
    RCCommandManager* commands = RCCommandManager::instance();
    connect(commands, &RCCommandManager::haveOperatorRecord, this, [this] { m_modified = true; });
    connect(commands, &RCCommandManager::haveOperatorFallback, this, [this] { m_modified = true; });
    // So is every scene or item added or removed without a history entry: the scene that a media
    // server's project generates, for one.
    const auto structureChanged = [this] { m_modified = true; };
    RCScenePresenter* scenes = RCScenePresenter::instance();
    connect(scenes, &RCScenePresenter::sceneAdd, this, structureChanged);
    connect(scenes, &RCScenePresenter::sceneRemove, this, structureChanged);
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    connect(items, &RCSceneItemPresenter::itemAdded, this, structureChanged);
    connect(items, &RCSceneItemPresenter::itemRemoved, this, structureChanged);
}

RCProjectPacketIO::~RCProjectPacketIO()
{
    if (m_disposal.valid())
        m_disposal.wait();
}

void RCProjectPacketIO::changeUnmarked(const std::function<void()>& change)
{
    const bool modified = m_modified;
    const QScopeGuard keepState([this, modified] { m_modified = modified; });
    change();
}

int RCProjectPacketIO::dropMissingPictures()
{
    const int dropped = m_imageManager->dropMissingPictures();
    if (dropped > 0)
        m_modified = true;
    return dropped;
}

void RCProjectPacketIO::setControlManager(IRCControlManager* controlManager)
{
    m_controlManager = controlManager;
}

QString RCProjectPacketIO::imageFolderPath() const
{
    return QStringLiteral("%1/%2").arg(m_packetPath, QLatin1String(RCPacketFolder::ImageFolderName));
}

bool RCProjectPacketIO::setPacketPath(const QString& packetPath)
{
    if (packetPath == m_packetPath)
        return false;
    m_packetPath = packetPath;
    // Naming a packet moves no picture: while the folder that holds the document's pictures is
    // there, they stay reachable in it (a download names a fresh folder that holds none), until a
    // save into the packet gathers them into its image folder and the image manager follows.
    const QString images = m_imageManager->projectImagePath();
    if (images.isEmpty() || !QFileInfo(images).isDir())
        m_imageManager->setProjectImagePath(imageFolderPath());
    return true;
}

void RCProjectPacketIO::forgetPacket()
{
    m_packetPath.clear();
    m_imageManager->setProjectImagePath(QString());
}

// --- loading -----------------------------------------------------------------------------------

QJsonObject RCProjectPacketIO::readProjectFile(const QString& filePath)
{
    return checkedProjectFile(filePath, RCProjectFileReader::read(filePath));
}

QJsonObject RCProjectPacketIO::checkedProjectFile(const QString& filePath, const RCProjectFileReader::Result& read)
{
    if (!read.opened) {
        qCWarning(lcRcProject) << "RCProject::loadProject"
                               << "cannot open" << filePath;
        return QJsonObject();
    }
    const QJsonParseError& error = read.error;
    const QJsonDocument& document = read.document;
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcRcProject) << "RCProject::loadProject"
                               << "not a project file" << filePath << error.errorString();
        return QJsonObject();
    }
    const QJsonObject json = document.object();
    if (!json.value(QStringLiteral("sceneArray")).isObject()) {
        qCWarning(lcRcProject) << "RCProject::loadProject"
                               << "no sceneArray" << filePath;
        return QJsonObject();
    }
    return json;
}

void RCProjectPacketIO::setReadAhead(std::unique_ptr<RCProjectFileReader> reader)
{
    m_readAhead = std::move(reader);
}

void RCProjectPacketIO::applyProject(const QJsonObject& jsObj,
                                     const std::vector<RCSceneItemRecords::SceneRows>& sceneRows)
{
    const QJsonValue setting = jsObj.value(QStringLiteral("setting"));
    if (setting.isObject())
        m_setting->fromJson(setting.toObject());

    RCScenePresenter* scenes = RCScenePresenter::instance();
    scenes->fromJson(jsObj.value(QStringLiteral("sceneArray")).toObject(), sceneRows.empty() ? nullptr : &sceneRows);
    const QStringList sceneIds = scenes->getSceneIds();
    if (!sceneIds.isEmpty())
        scenes->setSelectScene(sceneIds.first());

    upgradeItems();
    markSaved();
}

void RCProjectPacketIO::upgradeItems()
{
    if (!m_controlManager)
        return;
    // The catalogue's property records (name, record) per control type, made once per upgrade.
    // The items are read and completed in place (as the item presenter would, without finding
    // each item again per row): a project holds thousands of them.
    QHash<int, QList<std::pair<QString, QJsonObject>>> catalogue;
    const QList<RCScene*> scenes = RCSceneManager::instance()->getSceneList();
    for (const RCScene* scene : scenes) {
        const QList<IRCObject*> items = scene->getItemList();
        for (IRCObject* object : items) {
            auto* item = qobject_cast<RCSceneItem*>(object);
            RCProperties* properties = item ? item->getProperties() : nullptr;
            if (!properties)
                continue;
            const int type = properties->getPropertyValue(RCKeys::ControlType()).toInt();
            auto records = catalogue.find(type);
            if (records == catalogue.end()) {
                records = catalogue.insert(type, {});
                IRCControl* control = m_controlManager->getControlByType(IRCControl::EIRCControlType(type));
                if (control && control->getInstantiationParam()) {
                    const QJsonArray array = control->getInstantiationParam()
                                                 ->toJson()
                                                 .value(QStringLiteral("propertyArray"))
                                                 .toArray();
                    for (const QJsonValue& record : array)
                        records->append(
                            {record.toObject().value(QStringLiteral("name")).toString(), record.toObject()});
                }
            }
            for (const auto& [name, record] : std::as_const(*records)) {
                if (!properties->getProperty(name))
                    properties->addProperty(record);
            }
        }
    }
}

void RCProjectPacketIO::markSaved()
{
    Platform::instance()->clearCommands();
    m_modified = false;
}

bool RCProjectPacketIO::setProject(const QJsonObject& jsObj)
{
    // A media server's project answer carries no scenes: its scene was added to the open document
    // when it arrived. Only the settings it may bring are taken, and the document, now holding
    // content that no packet has, counts as changed.
    if (!jsObj.contains(QStringLiteral("sceneArray"))) {
        const QJsonValue setting = jsObj.value(QStringLiteral("setting"));
        if (setting.isObject())
            m_setting->fromJson(setting.toObject());
        m_modified = true;
        return true;
    }
    if (!jsObj.value(QStringLiteral("sceneArray")).isObject()) {
        qCWarning(lcRcProject) << "RCProject::setProject"
                               << "no sceneArray";
        return false;
    }
    applyProject(jsObj);
    return true;
}

bool RCProjectPacketIO::loadProject(const QString& filePath)
{
    const RCProjectFileReader::Result read = RCProjectFileReader::read(filePath);
    const QJsonObject json = checkedProjectFile(filePath, read);
    if (json.isEmpty())
        return false;
    applyProject(json, read.sceneRows);
    return true;
}

bool RCProjectPacketIO::loadPacket(const QString& packetPath)
{
    const QString file = RCPacketFolder::projectFileOf(packetPath);
    // A read-ahead serves this load at most, of whichever file.
    const std::unique_ptr<RCProjectFileReader> ahead = std::move(m_readAhead);
    RCProjectFileReader::Result read;
    QJsonObject json;
    if (!file.isEmpty()) {
        read = ahead ? ahead->take(file) : RCProjectFileReader::read(file);
        json = checkedProjectFile(file, read);
    }
    if (json.isEmpty())
        return false;

    // A resource packet (":/empty") has no native path; its references resolve in the resources.
    const bool inResources = file.startsWith(QLatin1Char(':'));
    const QString imageFolder =
        QStringLiteral("%1/%2").arg(packetPath, QLatin1String(RCPacketFolder::ImageFolderName));
    if (!inResources)
        QDir().mkpath(imageFolder);
    // The views of the document being replaced resolve nothing until the new one has replaced
    // them: they never look for their pictures in the new packet.
    m_imageManager->setResolution(QString(), false, QString());
    m_packetPath = packetPath;
    if (!inResources)
        m_saver.recordRead(file, imageFolder, QJsonValue(json));
    applyProject(json, read.sceneRows);
    m_imageManager->setResolution(imageFolder, inResources, QStringLiteral("qrc%1/image").arg(packetPath));
    // A large file's parse is freed on a thread of its own: it is as large as the document.
    if (!read.sceneRows.empty()) {
        if (m_disposal.valid())
            m_disposal.wait();
        json = QJsonObject();
        // Without a thread (the system refused one) it is freed here.
        try {
            m_disposal = std::async(std::launch::async, [parsed = std::move(read),
                                                         known = m_saver.picturesKnown()]() mutable {
                parsed = RCProjectFileReader::Result();
                // The walk for the file's pictures holds the document too: what it lets go after
                // the trim would stay with the parse threads' heaps.
                if (known.valid())
                    known.wait();
            });
        } catch (const std::system_error&) {
            // the parse went with the task that was not started
        }
        m_trimWaiting = true;
    }
    return true;
}

void RCProjectPacketIO::windowDrawn()
{
    if (!m_trimWaiting)
        return;
    m_trimWaiting = false;
    try {
        m_disposal = std::async(std::launch::async, [disposal = std::move(m_disposal)]() mutable {
            if (disposal.valid())
                disposal.wait();
            returnFreedMemory();
        });
    } catch (const std::system_error&) {
        // the disposal was awaited with the task that was not started
        returnFreedMemory();
    }
}

// --- saving ------------------------------------------------------------------------------------

bool RCProjectPacketIO::saveProject(const QString& filePath, const QString& imageFolder)
{
    if (!m_saver.saveProject(filePath, imageFolder, imageFolderPath()))
        return false;
    markSaved();
    return true;
}

bool RCProjectPacketIO::savePacket(const QString& packetPath, RCProjectPacketSaver::ChangedFile changed)
{
    if (!m_saver.savePacket(packetPath, m_packetPath, changed))
        return false;
    markSaved();
    return true;
}
