#include "TestMirror.h"

#include "model/RCKeys.h"
#include "project/RCProject.h"

#include <QImage>

TestMirror::TestMirror(QObject* parent) : QObject(parent) {}

IRCStelvaneSyncer& TestMirror::mirror()
{
    IRCStelvaneSyncer* m = m_project ? m_project->getStelvaneSyncer() : nullptr;
    return m ? *m : m_none;
}

void TestMirror::clear()
{
    mirror().clearProgramNode();
    mirror().clearProgramLayer();
    mirror().clearProgram();
    mirror().clearTrack();
    mirror().clearVexaProgramManager();
    mirror().setGlobalProperty(RCKeys::Volume(), 0.5);
    mirror().setGlobalProperty(RCKeys::Brightness(), 0.5);
}

bool TestMirror::addProgramNode(const QVariantMap& params)
{
    // The table keeps a node's programs as a list of texts, as the processors give them.
    QVariantMap node = params;
    node.insert(RCKeys::ProgramIdList(), params.value(RCKeys::ProgramIdList()).toStringList());
    return mirror().addProgramNode(node);
}

void TestMirror::setStageImage(const QColor& colour)
{
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(colour);
    mirror().setStageImage(image);
}
