#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class IRCStelvaneSyncer;
class RCProject;

// The project's mirror of the media server as the Quick tests of the item views drive it,
// exposed as "testMirror": the setters that the command processors call (QML cannot reach them),
// one by one, so that a view meets each change signal alone, as a server's single command
// produces it (a command processor's programTableUpdate comes only from tableUpdate()). Every call
// does nothing while the project is gone. GUI thread only.
class TestMirror : public QObject
{
    Q_OBJECT

public:
    explicit TestMirror(QObject* parent = nullptr);

    // The project of the test file's engine; null when it ends.
    void setProject(RCProject* project);

    // Empties the program table, the tracks and the Vexa lists, and sets the global properties
    // back to the mirror's defaults.
    Q_INVOKABLE void clear();
    Q_INVOKABLE bool addProgram(const QVariantMap& params);
    Q_INVOKABLE bool insertProgram(int index, const QVariantMap& params);
    Q_INVOKABLE void removeProgram(const QString& id);
    Q_INVOKABLE void setProgramName(const QString& id, const QString& name);
    Q_INVOKABLE void setProgramState(const QString& id, int state);
    Q_INVOKABLE bool addProgramLayer(const QVariantMap& params);
    Q_INVOKABLE bool insertProgramLayer(int index, const QVariantMap& params);
    Q_INVOKABLE void removeProgramLayer(const QString& id);
    Q_INVOKABLE bool setProgramLayer(const QString& id, const QString& key, const QVariant& value);
    Q_INVOKABLE bool addProgramNode(const QVariantMap& params);
    Q_INVOKABLE void removeProgramNode(const QString& id);
    Q_INVOKABLE bool setProgramNode(const QString& id, const QString& key, const QVariant& value);
    // A node's "ProgramIdList", given as a JS array of ids.
    Q_INVOKABLE void setProgramNodePrograms(const QString& id, const QStringList& programIds);
    // What a command processor announces after a structural change of the table.
    Q_INVOKABLE void tableUpdate();
    Q_INVOKABLE void setGlobalProperty(const QString& name, const QVariant& value);
    // A stage image of one colour, as "setStageImage" gives it.
    Q_INVOKABLE void setStageImage(const QColor& colour);
    // What the control link's loss and a new "connected" do to the mirror.
    Q_INVOKABLE void disconnectServer();
    Q_INVOKABLE void connectToServer(const QString& ip);

private:
    IRCStelvaneSyncer* mirror() const;

    RCProject* m_project = nullptr;
};
