#include "mirror/RCVexaProgramManager.h"

#include "model/RCKeys.h"

RCVexaProgramManager::RCVexaProgramManager(QObject* parent) : QObject(parent) {}

const RCVexaProgramManager::KindSignals& RCVexaProgramManager::signalsOf(int kind)
{
    static const KindSignals table[kKindCount] = {
        {&RCVexaProgramManager::videoProgramListAdd, &RCVexaProgramManager::videoProgramListRemove,
         &RCVexaProgramManager::videoProgramAdd, &RCVexaProgramManager::videoProgramRemove},
        {&RCVexaProgramManager::audioProgramListAdd, &RCVexaProgramManager::audioProgramListRemove,
         &RCVexaProgramManager::audioProgramAdd, &RCVexaProgramManager::audioProgramRemove},
        {&RCVexaProgramManager::textProgramListAdd, &RCVexaProgramManager::textProgramListRemove,
         &RCVexaProgramManager::textProgramAdd, &RCVexaProgramManager::textProgramRemove},
    };
    return table[kind];
}

RCVexaProgramList* RCVexaProgramManager::addProgramList(int kind, QVariantMap params)
{
    return isKind(kind) ? insertProgramList(kind, params, m_lists[kind].count()) : nullptr;
}

RCVexaProgramList* RCVexaProgramManager::insertProgramList(int kind, QVariantMap params, int index)
{
    if (!isKind(kind))
        return nullptr;
    RCRecordCollection<RCVexaProgramList>& lists = m_lists[kind];
    const QString id = params.value(RCKeys::Id()).toString();
    if (RCVexaProgramList* existing = lists.find(id))
        return existing;
    if (id.isEmpty())
        return nullptr;
    auto* list = new RCVexaProgramList(params, this);
    const int at = lists.insert(id, list, index);
    const KindSignals& kindSignals = signalsOf(kind);
    connect(list, &RCMirrorRecord::propertyChanged, this,
            [this, list](const QString& sProName, const QVariant& value) {
                Q_EMIT programListPropertyChanged(list, sProName, value);
            });
    connect(list, &RCVexaProgramList::programPropertyChanged, this,
            [this, list](RCVexaProgram* program, const QString& sProName, const QVariant& value) {
                Q_EMIT programPropertyChanged(list, program, sProName, value);
            });
    connect(list, &RCVexaProgramList::programAdd, this,
            [this, list, kindSignals](RCVexaProgram* program, int index) {
                Q_EMIT(this->*kindSignals.programAdd)(list, program, index);
            });
    connect(list, &RCVexaProgramList::programRemove, this, [this, list, kindSignals](RCVexaProgram* program) {
        Q_EMIT(this->*kindSignals.programRemove)(list, program);
    });
    Q_EMIT(this->*kindSignals.listAdd)(list, at);
    return list;
}

void RCVexaProgramManager::removeProgramList(int kind, QString id)
{
    // Its programs go with it, unannounced.
    if (isKind(kind))
        m_lists[kind].remove(id, listRemoval(kind));
}

RCVexaProgramList* RCVexaProgramManager::findProgramList(int kind, QString id) const
{
    return isKind(kind) ? m_lists[kind].find(id) : nullptr;
}

QList<RCVexaProgramList*> RCVexaProgramManager::getProgramLists(int kind) const
{
    return isKind(kind) ? m_lists[kind].ordered() : QList<RCVexaProgramList*>();
}

RCVexaProgramList* RCVexaProgramManager::getPlayingProgramList(int kind) const
{
    for (RCVexaProgramList* list : getProgramLists(kind)) {
        const QList<RCVexaProgram*> programs = list->getPrograms();
        for (const RCVexaProgram* program : programs) {
            if (program->getState() != 0)
                return list;
        }
    }
    return nullptr;
}

RCVexaProgram* RCVexaProgramManager::getPlayingProgram(int kind) const
{
    RCVexaProgramList* list = getPlayingProgramList(kind);
    if (!list)
        return nullptr;
    const QList<RCVexaProgram*> programs = list->getPrograms();
    for (RCVexaProgram* program : programs) {
        if (program->getState() != 0)
            return program;
    }
    return nullptr;
}

RCVexaProgramList* RCVexaProgramManager::findProgramList(QString id) const
{
    const int kind = getProgramListType(id);
    return kind < 0 ? nullptr : m_lists[kind].find(id);
}

int RCVexaProgramManager::getProgramListType(QString id) const
{
    for (int kind = 0; kind < kKindCount; ++kind) {
        if (m_lists[kind].contains(id))
            return kind;
    }
    return -1;
}

void RCVexaProgramManager::clear()
{
    for (int kind = 0; kind < kKindCount; ++kind)
        m_lists[kind].clear(listRemoval(kind));
}

std::function<void(const QString&, RCVexaProgramList*, int)> RCVexaProgramManager::listRemoval(int kind)
{
    const auto removeSignal = signalsOf(kind).listRemove;
    return [this, removeSignal](const QString&, RCVexaProgramList* list, int) {
        Q_EMIT(this->*removeSignal)(list);
    };
}
