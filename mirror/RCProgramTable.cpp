#include "mirror/RCProgramTable.h"

#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// Files a new program or layer made from params under its "Id" and announces it: with an index
// through insertSignal at the position it took, without one (an append) through addSignal. The
// record's changes are relayed under the filing id. Answers false, changing nothing, when the id
// is taken or empty and refuseEmptyId.
template <typename T, typename AddSignal, typename InsertSignal, typename RelaySignal>
bool fileRecord(RCProgramTable* table, RCRecordCollection<T>& records, const QVariantMap& params,
                std::optional<int> index, bool refuseEmptyId, AddSignal addSignal, InsertSignal insertSignal,
                RelaySignal relay)
{
    const QString id = params.value(RCKeys::Id()).toString();
    if ((refuseEmptyId && id.isEmpty()) || records.contains(id))
        return false;
    auto* record = new T(params, table);
    QObject::connect(record, &RCMirrorRecord::propertyChanged, table,
                     [table, id, relay](const QString& sProName, const QVariant& value) {
                         Q_EMIT(table->*relay)(id, sProName, value);
                     });
    const int at = records.insert(id, record, index.value_or(records.count()));
    if (index)
        Q_EMIT(table->*insertSignal)(id, params, at);
    else
        Q_EMIT(table->*addSignal)(id, params);
    return true;
}

// The announcement of a removed program or layer: its filing id and the position it held.
template <typename T>
auto announceThrough(RCProgramTable* table, void (RCProgramTable::*removeSignal)(QString, int))
{
    return [table, removeSignal](const QString& id, T*, int index) {
        Q_EMIT(table->*removeSignal)(id, index);
    };
}

// Stores value under key when the record reads differently as type V; null records are skipped.
template <typename V> void setTyped(RCMirrorRecord* record, const QString& key, const V& value)
{
    if (record && record->getProperty(key).value<V>() != value)
        record->storeProperty(key, QVariant::fromValue(value));
}

QVariant valueOf(const RCMirrorRecord* record, const QString& key)
{
    return record ? record->getProperty(key) : QVariant();
}

} // namespace

RCProgramTable::RCProgramTable(QObject* parent) : QObject(parent) {}

RCProgramTable::~RCProgramTable()
{
    clearProgram();
}

// --- programs ----------------------------------------------------------------------------------

bool RCProgramTable::addProgram(QVariantMap params)
{
    return fileRecord(this, m_programs, params, std::nullopt, true, &RCProgramTable::programAdd,
                      &RCProgramTable::programInsert, &RCProgramTable::programPropertyChanged);
}

bool RCProgramTable::insertProgram(int index, QVariantMap params)
{
    return fileRecord(this, m_programs, params, index, true, &RCProgramTable::programAdd,
                      &RCProgramTable::programInsert, &RCProgramTable::programPropertyChanged);
}

void RCProgramTable::removeProgram(QString sId)
{
    m_programs.remove(sId, announceThrough<RCProgram>(this, &RCProgramTable::programRemove));
}

void RCProgramTable::clearProgram()
{
    m_programs.clear(announceThrough<RCProgram>(this, &RCProgramTable::programRemove));
}

QString RCProgramTable::getProgram(int i) const
{
    const RCProgram* program = m_programs.at(i);
    return program ? program->getId() : QString();
}

QString RCProgramTable::getProgramName(QString sId) const
{
    return valueOf(m_programs.find(sId), RCKeys::Name()).toString();
}

int RCProgramTable::getProgramState(QString sId) const
{
    return valueOf(m_programs.find(sId), RCKeys::State()).toInt();
}

void RCProgramTable::setProgramName(QString sId, QString name)
{
    setTyped(m_programs.find(sId), RCKeys::Name(), name);
}

void RCProgramTable::setProgramState(QString sId, int state)
{
    setTyped(m_programs.find(sId), RCKeys::State(), state);
}

QVariant RCProgramTable::getProgramRole(QString sId)
{
    QString role = QStringLiteral("col") + sId;
    for (QChar& c : role) {
        if (c == QLatin1Char(':') || c == QLatin1Char('-') || c == QLatin1Char('{') ||
            c == QLatin1Char('}') || c == QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    return QVariant(role);
}

// --- layers ------------------------------------------------------------------------------------

bool RCProgramTable::addProgramLayer(QVariantMap params)
{
    return fileRecord(this, m_layers, params, std::nullopt, false, &RCProgramTable::programLayerAdd,
                      &RCProgramTable::programLayerInsert, &RCProgramTable::programLayerPropertyChanged);
}

bool RCProgramTable::insertProgramLayer(int index, QVariantMap params)
{
    return fileRecord(this, m_layers, params, index, false, &RCProgramTable::programLayerAdd,
                      &RCProgramTable::programLayerInsert, &RCProgramTable::programLayerPropertyChanged);
}

void RCProgramTable::removeProgramLayer(QString sId)
{
    m_layers.remove(sId, announceThrough<RCProgramLayer>(this, &RCProgramTable::programLayerRemove));
}

void RCProgramTable::clearProgramLayer()
{
    m_layers.clear(announceThrough<RCProgramLayer>(this, &RCProgramTable::programLayerRemove));
}

QString RCProgramTable::getProgramLayer(int i) const
{
    const RCProgramLayer* layer = m_layers.at(i);
    return layer ? layer->getId() : QString();
}

QString RCProgramTable::getProgramLayerName(QString sId) const
{
    return valueOf(m_layers.find(sId), RCKeys::Name()).toString();
}

QVariant RCProgramTable::getProgramLayerPropertyValue(QString sId, QString sProName) const
{
    return valueOf(m_layers.find(sId), sProName);
}

void RCProgramTable::setProgramLayerName(QString sId, QString name)
{
    setTyped(m_layers.find(sId), RCKeys::Name(), name);
}

bool RCProgramTable::setProgramLayerPropertyValue(QString sId, QString sProName, QVariant value)
{
    RCProgramLayer* layer = m_layers.find(sId);
    return layer && layer->setProperty(sProName, value);
}

// --- nodes -------------------------------------------------------------------------------------

bool RCProgramTable::addProgramNode(QVariantMap params)
{
    const QString id = params.value(RCKeys::Id()).toString();
    if (m_nodes.contains(id))
        return false;
    auto* node = new RCProgramNode(params, this);
    m_nodes.insert(id, node);
    m_nodeIdsValid = false;
    addCells(id, node);
    connect(node, &RCMirrorRecord::propertyChanged, this,
            [this, id](const QString& sProName, const QVariant& value) {
                Q_EMIT programNodePropertyChanged(id, sProName, value);
            });
    Q_EMIT programNodeAdd(id, params);
    return true;
}

void RCProgramTable::removeProgramNode(QString sId)
{
    RCProgramNode* node = m_nodes.value(sId, nullptr);
    if (!node)
        return;
    const int row = getProgramNodeRowIndex(sId);
    const QVariantList programIds = getProgramNodeProgramIdList(sId);
    m_nodes.remove(sId);
    m_nodeIdsValid = false;
    removeCells(sId, node);
    Q_EMIT programNodeRemove(sId, row, programIds);
    delete node;
}

void RCProgramTable::clearProgramNode()
{
    while (!m_nodes.isEmpty())
        removeProgramNode(m_nodes.firstKey());
}

QString RCProgramTable::getProgramNode(int i) const
{
    if (!m_nodeIdsValid) {
        m_nodeIds = m_nodes.keys();
        m_nodeIdsValid = true;
    }
    return m_nodeIds.value(i);
}

QString RCProgramTable::findProgramNode(QString sProgramId, QString sProgramLayerId) const
{
    const auto program = m_cells.constFind(sProgramId);
    if (program == m_cells.constEnd())
        return QString();
    const auto cell = program->constFind(sProgramLayerId);
    return cell == program->constEnd() ? QString() : cell->constLast();
}

QString RCProgramTable::getProgramNodeName(QString sId) const
{
    return valueOf(m_nodes.value(sId, nullptr), RCKeys::Name()).toString();
}

int RCProgramTable::getProgramNodeState(QString sId) const
{
    return valueOf(m_nodes.value(sId, nullptr), RCKeys::State()).toInt();
}

qlonglong RCProgramTable::getProgramNodeProgress(QString sId) const
{
    return valueOf(m_nodes.value(sId, nullptr), RCKeys::Progress()).toLongLong();
}

QVariantList RCProgramTable::getProgramNodeProgramIdList(QString sId) const
{
    QVariantList ids;
    if (const RCProgramNode* node = m_nodes.value(sId, nullptr)) {
        const QStringList programIds = node->programIds();
        ids.reserve(programIds.size());
        for (const QString& programId : programIds)
            ids.append(programId);
    }
    return ids;
}

QString RCProgramTable::getProgramNodeProgramLayerId(QString sId) const
{
    return valueOf(m_nodes.value(sId, nullptr), RCKeys::ProgramLayerId()).toString();
}

QVariant RCProgramTable::getProgramNodePropertyValue(QString sId, QString sProName) const
{
    return valueOf(m_nodes.value(sId, nullptr), sProName);
}

int RCProgramTable::getProgramNodeRowIndex(QString sId) const
{
    const RCProgramNode* node = m_nodes.value(sId, nullptr);
    return node ? m_layers.indexOf(node->layerId()) : -1;
}

QStringList RCProgramTable::getProgramNodeTitleList() const
{
    // Each title is placed by the first node (in id order) that carries it.
    QSet<QString> seen;
    QList<QPair<int, QString>> firsts;
    for (const RCProgramNode* node : m_nodes) {
        const QString title = node->getProperty(RCKeys::ProgramNodeTitle()).toString();
        if (title.isEmpty() || seen.contains(title))
            continue;
        seen.insert(title);
        const QStringList programIds = node->programIds();
        firsts.append({programIds.isEmpty() ? -1 : columnOf(programIds.first()), title});
    }
    std::stable_sort(
        firsts.begin(), firsts.end(),
        [](const QPair<int, QString>& a, const QPair<int, QString>& b) { return a.first < b.first; });
    QStringList titles;
    titles.reserve(firsts.size());
    for (const auto& first : std::as_const(firsts))
        titles.append(first.second);
    return titles;
}

QStringList RCProgramTable::getProgramIdListByNodeTitle(QString programNodeTitle) const
{
    if (programNodeTitle.isEmpty())
        return QStringList();
    QMap<int, QString> columns;
    QSet<QString> taken;
    for (const RCProgramNode* node : m_nodes) {
        if (node->getProperty(RCKeys::ProgramNodeTitle()).toString() != programNodeTitle)
            continue;
        const QStringList programIds = node->programIds();
        for (const QString& programId : programIds) {
            if (programId.isEmpty() || taken.contains(programId))
                continue;
            // Ids that name no program share column -1; a later one replaces the earlier.
            const int column = columnOf(programId);
            const auto old = columns.constFind(column);
            if (old != columns.constEnd())
                taken.remove(old.value());
            columns.insert(column, programId);
            taken.insert(programId);
        }
    }
    return columns.values();
}

void RCProgramTable::setProgramNodeName(QString sId, QString name)
{
    setTyped(m_nodes.value(sId, nullptr), RCKeys::Name(), name);
}

void RCProgramTable::setProgramNodeState(QString sId, int state)
{
    setTyped(m_nodes.value(sId, nullptr), RCKeys::State(), state);
}

void RCProgramTable::setProgramNodeProgress(QString sId, qlonglong progress)
{
    setTyped(m_nodes.value(sId, nullptr), RCKeys::Progress(), progress);
}

void RCProgramTable::setProgramNodeProgramIdList(QString sId, QStringList list)
{
    changeNode(sId, RCKeys::ProgramIdList(), QVariant(list), false);
}

void RCProgramTable::setProgramNodeProgramLayerId(QString sId, QString layerId)
{
    if (getProgramNodeProgramLayerId(sId) != layerId)
        changeNode(sId, RCKeys::ProgramLayerId(), QVariant(layerId), false);
}

bool RCProgramTable::setProgramNodePropertyValue(QString sId, QString sProName, QVariant value)
{
    return changeNode(sId, sProName, value, true);
}

bool RCProgramTable::changeNode(const QString& nodeId, const QString& sProName, const QVariant& value,
                                bool onlyWhenDifferent)
{
    RCProgramNode* node = m_nodes.value(nodeId, nullptr);
    if (!node)
        return false;
    const bool places = sProName == RCKeys::ProgramIdList() || sProName == RCKeys::ProgramLayerId();
    if (places)
        removeCells(nodeId, node);
    const bool stored = node->assign(sProName, value, onlyWhenDifferent);
    if (places)
        addCells(nodeId, node);
    if (stored)
        Q_EMIT node->propertyChanged(sProName, value);
    return stored;
}

void RCProgramTable::addCells(const QString& nodeId, const RCProgramNode* node)
{
    const QString layerId = node->layerId();
    const QStringList programIds = node->programIds();
    for (const QString& programId : programIds)
        m_cells[programId][layerId].append(nodeId);
}

void RCProgramTable::removeCells(const QString& nodeId, const RCProgramNode* node)
{
    // Only the node's own entries go: a cell that another node also covers keeps that node.
    const QString layerId = node->layerId();
    const QStringList programIds = node->programIds();
    for (const QString& programId : programIds) {
        auto program = m_cells.find(programId);
        if (program == m_cells.end())
            continue;
        auto cell = program->find(layerId);
        if (cell == program->end())
            continue;
        cell->removeAll(nodeId);
        if (cell->isEmpty())
            program->erase(cell);
        if (program->isEmpty())
            m_cells.erase(program);
    }
}

int RCProgramTable::columnOf(const QString& programId) const
{
    return m_programs.indexOf(programId);
}
