#pragma once

#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QVariant>

class IRCObject;

// Parameters of a command: JSON values under running integer keys, read in ascending key order.
using RCCommandParams = QMap<int, QJsonValue>;

// Base of every undoable change of the document. Not a QObject.
//
// A command belongs to whoever created it until it is pushed to RCCommandManager; from then on to
// the history or group that holds it. Commands hold ids and values, never object pointers, and look
// their objects up at each run. The time stamp (monotonic milliseconds, taken from the manager's
// clock at construction) decides whether a newer command may merge into this one.
class RCCommand
{
public:
    RCCommand();
    virtual ~RCCommand();

    // Applies the change; false when it could not be applied.
    virtual bool execute();
    // Reverts the change; false when it could not be reverted.
    virtual bool undo();
    // Rebuilds the command's state from params.
    virtual bool fromParams(const RCCommandParams& params);
    // Writes the command's state into params.
    virtual void toParams(RCCommandParams& params) const;
    // The name under which the command type is registered with the manager.
    virtual QString typeName() const = 0;
    // Absorbs the newer command other into this one; false leaves both untouched.
    virtual bool mergeWith(const RCCommand* other);

    qint64 timeStamp() const { return m_timeStamp; }
    void setTimeStamp(qint64 msecs) { m_timeStamp = msecs; }

protected:
    // Sets the property name of object to value and keeps the value it replaced in old. False, and
    // old untouched, when object is null, already holds value, or refuses it (read-only or unknown).
    static bool changeProperty(IRCObject* object, const QString& name, const QVariant& value, QVariant& old);

private:
    qint64 m_timeStamp;

    RCCommand(const RCCommand&) = delete;
    RCCommand& operator=(const RCCommand&) = delete;
};
