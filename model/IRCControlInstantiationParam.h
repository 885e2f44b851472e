#pragma once

#include "model/IRCObject.h"

#include <QSize>
#include <QString>
#include <QVariant>

class IRCProperty;

// Interface of a control's template: the view file, default size and property rows that a scene
// item made from the control starts with. QML uses only the IRCObject operations on it (toJson
// above all). GUI thread only.
class IRCControlInstantiationParam : public IRCObject
{
    Q_OBJECT
public:
    explicit IRCControlInstantiationParam(QObject* parent = nullptr);
    ~IRCControlInstantiationParam() override;

    virtual void setQmlPath(QString sQmlPath);
    virtual QString getQmlPath() const;
    virtual void setSize(QSize size);
    virtual QSize getSize() const;
    // Appends a row; a row of the same key is replaced and the new one goes to the end. The row is
    // owned by the template.
    virtual IRCProperty* addProperty(QString key, QString description, bool readOnly, bool visible,
                                     QString unit, int displayType, QVariant value);
};
