#include "editing/RCCommandGroup.h"

#include "editing/RCCommandManager.h"

namespace {

QString childEndMarker()
{
    return QStringLiteral("$$$$$");
}

} // namespace

RCCommandGroup::RCCommandGroup() = default;

RCCommandGroup::~RCCommandGroup()
{
    qDeleteAll(m_children);
}

bool RCCommandGroup::execute()
{
    for (RCCommand* child : m_children)
        child->execute();
    return true;
}

bool RCCommandGroup::undo()
{
    for (auto it = m_children.crbegin(); it != m_children.crend(); ++it)
        (*it)->undo();
    return true;
}

bool RCCommandGroup::fromParams(const RCCommandParams& params)
{
    QString childType;
    RCCommandParams childParams;
    int childKey = 0;
    for (const QJsonValue& value : params) {
        if (childType.isEmpty()) {
            childType = value.toString();
            continue;
        }
        if (value.isString() && value.toString() == childEndMarker()) {
            if (RCCommand* child = RCCommandManager::instance()->createCommand(childType, childParams))
                m_children.append(child);
            childType.clear();
            childParams.clear();
            childKey = 0;
            continue;
        }
        childParams.insert(childKey++, value);
    }
    return true;
}

void RCCommandGroup::toParams(RCCommandParams& params) const
{
    int key = 0;
    for (const RCCommand* child : m_children) {
        params.insert(key++, child->typeName());
        RCCommandParams childParams;
        child->toParams(childParams);
        for (const QJsonValue& value : std::as_const(childParams))
            params.insert(key++, value);
        params.insert(key++, childEndMarker());
    }
}

QString RCCommandGroup::typeName() const
{
    return QStringLiteral("StelvaneCommand_Group");
}

void RCCommandGroup::add(RCCommand* cmd, bool mayMerge)
{
    if (!cmd)
        return;
    if (mayMerge && !m_children.isEmpty() && RCCommandManager::instance()->tryMerge(m_children.last(), cmd))
        return;
    m_children.append(cmd);
}
