#pragma once

#include "mirror/IRCStelvaneSyncer.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class RCProject;

// The project's mirror of the media server as the Quick tests of the item views drive it,
// exposed as "testMirror": the setters that the command processors call (QML cannot reach them),
// one by one, so that a view meets each change signal alone, as a server's single command
// produces it (a command processor's programTableUpdate comes only from tableUpdate()). While the
// project is gone every call goes to a mirror of no-ops. GUI thread only.
class TestMirror : public QObject
{
    Q_OBJECT

public:
    explicit TestMirror(QObject* parent = nullptr);

    // The project of the test file's engine; null when it ends.
    void setProject(RCProject* project) { m_project = project; }

    // Empties the program table, the tracks and the Vexa lists, and sets the global properties
    // back to the mirror's defaults.
    Q_INVOKABLE void clear();
    Q_INVOKABLE bool addProgram(const QVariantMap& params) { return mirror().addProgram(params); }
    Q_INVOKABLE bool insertProgram(int index, const QVariantMap& params)
    {
        return mirror().insertProgram(index, params);
    }
    Q_INVOKABLE void removeProgram(const QString& id) { mirror().removeProgram(id); }
    Q_INVOKABLE void setProgramName(const QString& id, const QString& name)
    {
        mirror().setProgramName(id, name);
    }
    Q_INVOKABLE void setProgramState(const QString& id, int state) { mirror().setProgramState(id, state); }
    Q_INVOKABLE bool insertProgramLayer(int index, const QVariantMap& params)
    {
        return mirror().insertProgramLayer(index, params);
    }
    Q_INVOKABLE void removeProgramLayer(const QString& id) { mirror().removeProgramLayer(id); }
    Q_INVOKABLE bool setProgramLayer(const QString& id, const QString& key, const QVariant& value)
    {
        return mirror().setProgramLayerPropertyValue(id, key, value);
    }
    Q_INVOKABLE bool addProgramNode(const QVariantMap& params);
    Q_INVOKABLE void removeProgramNode(const QString& id) { mirror().removeProgramNode(id); }
    Q_INVOKABLE bool setProgramNode(const QString& id, const QString& key, const QVariant& value)
    {
        return mirror().setProgramNodePropertyValue(id, key, value);
    }
    // A node's "ProgramIdList", given as a JS array of ids.
    Q_INVOKABLE void setProgramNodePrograms(const QString& id, const QStringList& programIds)
    {
        mirror().setProgramNodeProgramIdList(id, programIds);
    }
    // What a command processor announces after a structural change of the table.
    Q_INVOKABLE void tableUpdate() { Q_EMIT mirror().programTableUpdate(); }
    Q_INVOKABLE void setGlobalProperty(const QString& name, const QVariant& value)
    {
        mirror().setGlobalProperty(name, value);
    }
    // A stage image of one colour, as "setStageImage" gives it.
    Q_INVOKABLE void setStageImage(const QColor& colour);
    // What the control link's loss and a new "connected" do to the mirror.
    Q_INVOKABLE void disconnectServer() { mirror().disconnectServer(); }
    Q_INVOKABLE void connectToServer(const QString& ip) { mirror().connectToServer(ip); }

private:
    IRCStelvaneSyncer& mirror();

    RCProject* m_project = nullptr;
    IRCStelvaneSyncer m_none;
};
