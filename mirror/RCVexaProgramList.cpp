#include "mirror/RCVexaProgramList.h"

#include "model/RCKeys.h"

RCVexaProgramList::RCVexaProgramList(const QVariantMap& params, QObject* parent)
    : RCMirrorRecord({RCKeys::Name(), RCKeys::Id(), RCKeys::ProgramListType()}, params, parent)
{
}

RCVexaProgram* RCVexaProgramList::addProgram(QVariantMap params)
{
    return fileProgram(params, m_programs.count(), false);
}

RCVexaProgram* RCVexaProgramList::insertProgram(QVariantMap params, int index)
{
    return fileProgram(params, index, true);
}

RCVexaProgram* RCVexaProgramList::fileProgram(const QVariantMap& params, int index, bool updateExisting)
{
    const QString id = params.value(RCKeys::Id()).toString();
    if (RCVexaProgram* existing = m_programs.find(id)) {
        if (updateExisting) {
            for (auto it = params.constBegin(); it != params.constEnd(); ++it)
                existing->setProperty(it.key(), it.value());
        }
        return existing;
    }
    if (id.isEmpty())
        return nullptr;
    return fileChildRecord(this, m_programs, id, params, index, &RCVexaProgramList::programPropertyChanged,
                           &RCVexaProgramList::programAdd);
}

void RCVexaProgramList::removeProgram(QString id)
{
    m_programs.remove(id,
                      [this](const QString&, RCVexaProgram* program, int) { Q_EMIT programRemove(program); });
}
