#pragma once

#include <QObject>

// Base of every native object handed to QML. Construction marks the object
// QJSEngine::CppOwnership, so the QML engine never deletes it, even when QML receives it as the
// result of an invokable; its lifetime stays with its parent or its native owner.
class IRCCppObject : public QObject
{
    Q_OBJECT
public:
    explicit IRCCppObject(QObject* parent = nullptr);
    ~IRCCppObject() override;
};
