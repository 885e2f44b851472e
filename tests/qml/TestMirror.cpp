#include "TestMirror.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"
#include "project/RCProject.h"

#include <QImage>

TestMirror::TestMirror(QObject* parent) : QObject(parent) {}

void TestMirror::setProject(RCProject* project)
{
    m_project = project;
}

IRCStelvaneSyncer* TestMirror::mirror() const
{
    return m_project ? m_project->getStelvaneSyncer() : nullptr;
}

void TestMirror::clear()
{
    if (IRCStelvaneSyncer* m = mirror()) {
        m->clearProgramNode();
        m->clearProgramLayer();
        m->clearProgram();
        m->clearTrack();
        m->clearVexaProgramManager();
        m->setGlobalProperty(RCKeys::Volume(), 0.5);
        m->setGlobalProperty(RCKeys::Brightness(), 0.5);
    }
}

bool TestMirror::addProgram(const QVariantMap& params)
{
    return mirror() && mirror()->addProgram(params);
}

bool TestMirror::insertProgram(int index, const QVariantMap& params)
{
    return mirror() && mirror()->insertProgram(index, params);
}

void TestMirror::removeProgram(const QString& id)
{
    if (mirror())
        mirror()->removeProgram(id);
}

void TestMirror::setProgramName(const QString& id, const QString& name)
{
    if (mirror())
        mirror()->setProgramName(id, name);
}

void TestMirror::setProgramState(const QString& id, int state)
{
    if (mirror())
        mirror()->setProgramState(id, state);
}

bool TestMirror::addProgramLayer(const QVariantMap& params)
{
    return mirror() && mirror()->addProgramLayer(params);
}

bool TestMirror::insertProgramLayer(int index, const QVariantMap& params)
{
    return mirror() && mirror()->insertProgramLayer(index, params);
}

void TestMirror::removeProgramLayer(const QString& id)
{
    if (mirror())
        mirror()->removeProgramLayer(id);
}

bool TestMirror::setProgramLayer(const QString& id, const QString& key, const QVariant& value)
{
    return mirror() && mirror()->setProgramLayerPropertyValue(id, key, value);
}

bool TestMirror::addProgramNode(const QVariantMap& params)
{
    if (!mirror())
        return false;
    // The table keeps a node's programs as a list of texts, as the processors give them.
    QVariantMap node = params;
    node.insert(RCKeys::ProgramIdList(), params.value(RCKeys::ProgramIdList()).toStringList());
    return mirror()->addProgramNode(node);
}

void TestMirror::removeProgramNode(const QString& id)
{
    if (mirror())
        mirror()->removeProgramNode(id);
}

bool TestMirror::setProgramNode(const QString& id, const QString& key, const QVariant& value)
{
    return mirror() && mirror()->setProgramNodePropertyValue(id, key, value);
}

void TestMirror::setProgramNodePrograms(const QString& id, const QStringList& programIds)
{
    if (mirror())
        mirror()->setProgramNodeProgramIdList(id, programIds);
}

void TestMirror::tableUpdate()
{
    if (mirror())
        Q_EMIT mirror()->programTableUpdate();
}

void TestMirror::setGlobalProperty(const QString& name, const QVariant& value)
{
    if (mirror())
        mirror()->setGlobalProperty(name, value);
}

void TestMirror::setStageImage(const QColor& colour)
{
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(colour);
    if (mirror())
        mirror()->setStageImage(image);
}

void TestMirror::disconnectServer()
{
    if (mirror())
        mirror()->disconnectServer();
}

void TestMirror::connectToServer(const QString& ip)
{
    if (mirror())
        mirror()->connectToServer(ip);
}
