#include "mirror/ProgramTableModel.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"

#include <QDebug>

#include <algorithm>

ProgramTableModel::ProgramTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int ProgramTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ProgramTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant ProgramTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= m_cells.size())
        return QVariant();
    const QStringList& cells = m_cells.at(index.row());
    if (index.column() >= cells.size())
        return QVariant();
    return cells.at(index.column());
}

QVariant ProgramTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    const QStringList& headers = orientation == Qt::Horizontal ? m_horizontalData : m_verticalData;
    if (section < 0 || section >= headers.size())
        return QVariant();
    return headers.at(section);
}

bool ProgramTableModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row > m_rowCount)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    const int at = int(std::min<qsizetype>(row, m_cells.size()));
    for (int i = 0; i < count; ++i)
        m_cells.insert(at, QStringList(m_columnCount, QString()));
    m_rowCount += count;
    endInsertRows();
    return true;
}

bool ProgramTableModel::insertColumns(int column, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || column < 0 || column > m_columnCount)
        return false;
    beginInsertColumns(parent, column, column + count - 1);
    for (QStringList& cells : m_cells) {
        const int at = int(std::min<qsizetype>(column, cells.size()));
        for (int i = 0; i < count; ++i)
            cells.insert(at, QString());
    }
    m_columnCount += count;
    endInsertColumns();
    return true;
}

bool ProgramTableModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > m_rowCount)
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    if (row < m_cells.size())
        m_cells.remove(row, std::min<qsizetype>(count, m_cells.size() - row));
    m_rowCount -= count;
    endRemoveRows();
    return true;
}

bool ProgramTableModel::removeColumns(int column, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count < 1 || column < 0 || column + count > m_columnCount)
        return false;
    beginRemoveColumns(parent, column, column + count - 1);
    for (QStringList& cells : m_cells) {
        if (column < cells.size())
            cells.remove(column, std::min<qsizetype>(count, cells.size() - column));
    }
    m_columnCount -= count;
    endRemoveColumns();
    return true;
}

QHash<int, QByteArray> ProgramTableModel::roleNames() const
{
    return {{Qt::DisplayRole, QByteArrayLiteral("display")}};
}

void ProgramTableModel::announceHeaders(Qt::Orientation orientation, int first, int last)
{
    const int sections = orientation == Qt::Horizontal ? m_columnCount : m_rowCount;
    last = std::min(last, sections - 1);
    if (first >= 0 && first <= last)
        Q_EMIT headerDataChanged(orientation, first, last);
}

void ProgramTableModel::setHorizontalData(QStringList horizontalData)
{
    m_horizontalData = horizontalData;
    announceHeaders(Qt::Horizontal, 0, int(m_horizontalData.size()) - 1);
}

void ProgramTableModel::setVerticalData(QStringList verticalData)
{
    m_verticalData = verticalData;
    announceHeaders(Qt::Vertical, 0, int(m_verticalData.size()) - 1);
}

void ProgramTableModel::setTableItemData(int row, int col, QString value)
{
    if (row < 0 || row >= m_rowCount || col < 0 || col >= m_columnCount || row >= m_cells.size() ||
        col >= m_cells.at(row).size()) {
        qWarning() << "ProgramTableModel::setTableItemData" << row << col << value;
        return;
    }
    m_cells[row][col] = value;
    const QModelIndex cell = index(row, col);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

void ProgramTableModel::setTableInfo(int row, int col)
{
    row = std::max(row, 0);
    col = std::max(col, 0);
    beginResetModel();
    m_cells = QList<QStringList>(row, QStringList(col, QString()));
    m_rowCount = row;
    m_columnCount = col;
    endResetModel();
}

int ProgramTableModel::columnIndex(QString horizontalHeaderValue)
{
    return int(m_horizontalData.indexOf(horizontalHeaderValue));
}

int ProgramTableModel::rowIndex(QString verticalHeaderValue)
{
    return int(m_verticalData.indexOf(verticalHeaderValue));
}

void ProgramTableModel::appendColumn(QString headerData)
{
    m_horizontalData.append(headerData);
    insertColumns(m_columnCount, 1);
    const int last = int(m_horizontalData.size()) - 1;
    announceHeaders(Qt::Horizontal, last, last);
}

void ProgramTableModel::appendRow(QString headerData)
{
    m_verticalData.append(headerData);
    insertRows(m_rowCount, 1);
    const int last = int(m_verticalData.size()) - 1;
    announceHeaders(Qt::Vertical, last, last);
}

void ProgramTableModel::insertColumn(int index, QString headerData)
{
    if (index < 0 || index >= m_horizontalData.size() || index > m_columnCount) {
        qWarning() << "ProgramTableModel::insertColumn"
                   << "invalid args" << index << headerData;
        return;
    }
    qDebug() << "ProgramTableModel::insertColumn" << index << headerData;
    m_horizontalData.insert(index, headerData);
    insertColumns(index, 1);
    announceHeaders(Qt::Horizontal, index, int(m_horizontalData.size()) - 1);
}

void ProgramTableModel::removeColumn(int index)
{
    if (index < 0 || index >= m_horizontalData.size() || index >= m_columnCount) {
        qWarning() << "ProgramTableModel::removeColumn"
                   << "invalid args" << index;
        return;
    }
    m_horizontalData.removeAt(index);
    removeColumns(index, 1);
    announceHeaders(Qt::Horizontal, index, int(m_horizontalData.size()) - 1);
}

void ProgramTableModel::insertRow(int index, QString headerData)
{
    if (index < 0 || index >= m_verticalData.size() || index > m_rowCount) {
        qWarning() << "ProgramTableModel::insertRow"
                   << "invalid index" << index << headerData;
        return;
    }
    m_verticalData.insert(index, headerData);
    insertRows(index, 1);
    announceHeaders(Qt::Vertical, index, int(m_verticalData.size()) - 1);
}

void ProgramTableModel::removeRow(int index)
{
    if (index < 0 || index >= m_rowCount || index >= m_verticalData.size()) {
        qWarning() << "ProgramTableModel::removeRow"
                   << "invalid index" << index << m_rowCount;
        return;
    }
    m_verticalData.removeAt(index);
    removeRows(index, 1);
    announceHeaders(Qt::Vertical, index, int(m_verticalData.size()) - 1);
}

void ProgramTableModel::updateHorizontalData(int colIndex, QString value)
{
    if (colIndex < 0 || colIndex >= m_horizontalData.size()) {
        qWarning() << "ProgramTableModel::updateHorizontalData"
                   << "invalid colIndex" << colIndex << m_columnCount << m_horizontalData.size();
        return;
    }
    qDebug() << "ProgramTableModel::updateHorizontalData" << colIndex << value;
    m_horizontalData[colIndex] = value;
    announceHeaders(Qt::Horizontal, colIndex, colIndex);
}

void ProgramTableModel::trigleUpdateByRowIndex(int rowIndex)
{
    if (rowIndex < 0 || rowIndex >= m_rowCount) {
        qWarning() << "ProgramTableModel::trigleUpdateByRowIndex"
                   << "invalid rowIndex" << rowIndex;
        return;
    }
    if (m_columnCount > 0)
        Q_EMIT dataChanged(index(rowIndex, 0), index(rowIndex, m_columnCount - 1), {Qt::DisplayRole});
}

void ProgramTableModel::trigleUpdateByColIndex(int colIndex)
{
    if (colIndex < 0 || colIndex >= m_columnCount) {
        qWarning() << "ProgramTableModel::trigleUpdateByColIndex"
                   << "invalid colIndex" << colIndex;
        return;
    }
    if (m_rowCount > 0)
        Q_EMIT dataChanged(index(0, colIndex), index(m_rowCount - 1, colIndex), {Qt::DisplayRole});
}

// --- following the mirror -----------------------------------------------------------------------

IRCStelvaneSyncer* ProgramTableModel::stelvaneSyncer() const
{
    return m_mirror;
}

void ProgramTableModel::setStelvaneSyncer(IRCStelvaneSyncer* mirror)
{
    if (m_mirror == mirror)
        return;
    for (const QMetaObject::Connection& connection : std::as_const(m_mirrorConnections))
        disconnect(connection);
    m_mirrorConnections.clear();
    m_mirror = mirror;
    m_replacing = false;
    if (mirror) {
        using S = IRCStelvaneSyncer;
        // Single changes apply unless a replacement is under way.
        const auto follow = [this, mirror](auto signal, auto apply) {
            m_mirrorConnections.append(connect(mirror, signal, this, [this, apply](auto... args) {
                if (!m_replacing)
                    apply(args...);
            }));
        };
        m_mirrorConnections.append(
            connect(mirror, &S::programTableReplaceBegin, this, [this] { m_replacing = true; }));
        m_mirrorConnections.append(connect(mirror, &S::programTableUpdate, this, [this] {
            m_replacing = false;
            fillFromMirror();
        }));
        follow(&S::programAdd,
               [this](const QString& id, const QVariantMap&) { placeProgram(id, m_columnCount); });
        follow(&S::programInsert,
               [this](const QString& id, const QVariantMap&, int index) { placeProgram(id, index); });
        follow(&S::programRemove, [this](const QString& id, int) { onProgramRemove(id); });
        follow(&S::programPropertyChanged, [this](const QString& id, const QString& key, const QVariant&) {
            if (key == RCKeys::Name() || key == RCKeys::State())
                refreshProgramHeader(id);
        });
        follow(&S::programLayerAdd,
               [this](const QString& id, const QVariantMap&) { placeLayer(id, m_rowCount); });
        follow(&S::programLayerInsert,
               [this](const QString& id, const QVariantMap&, int index) { placeLayer(id, index); });
        follow(&S::programLayerRemove, [this](const QString& id, int) { onProgramLayerRemove(id); });
        follow(&S::programLayerPropertyChanged,
               [this](const QString& id, const QString&, const QVariant&) { refreshLayerHeader(id); });
        follow(&S::programNodeAdd, [this](const QString& id, const QVariantMap&) {
            unplaceNode(id);
            placeNode(id);
        });
        follow(&S::programNodeRemove,
               [this](const QString& id, int, const QVariantList&) { unplaceNode(id); });
        follow(&S::programNodePropertyChanged,
               [this](const QString& id, const QString& key, const QVariant&) {
                   onProgramNodePropertyChanged(id, key);
               });
        fillFromMirror();
    }
    Q_EMIT mStelvaneSyncerChanged();
}

void ProgramTableModel::fillFromMirror()
{
    IRCStelvaneSyncer* mirror = m_mirror;
    if (!mirror)
        return;
    const int programCount = std::max(mirror->getProgramCount(), 0);
    const int layerCount = std::max(mirror->getProgramLayerCount(), 0);
    // Qt Quick's TableView makes every delegate anew on a reset; a table that stays non-empty keeps
    // them and has them take the new values, the columns and rows it gains or loses inserted or
    // removed at the ends first.
    const bool keepDelegates = programCount > 0 && layerCount > 0 && m_columnCount > 0 && m_rowCount > 0 &&
                               m_cells.size() == m_rowCount;
    if (keepDelegates)
        resizeAtTheEnds(layerCount, programCount);
    else
        beginResetModel();
    m_horizontalData.clear();
    m_verticalData.clear();
    m_nodeCells.clear();
    m_cellNodes.clear();
    m_indexValid = false;
    QHash<QString, int> columns;
    for (int p = 0; p < programCount; ++p)
        m_horizontalData.append(mirror->getProgram(p));
    // From the back, so that a repeated id names its first column (as columnIndex does).
    for (int p = programCount - 1; p >= 0; --p)
        columns.insert(m_horizontalData.at(p), p);
    QHash<QString, int> rows;
    for (int l = 0; l < layerCount; ++l)
        m_verticalData.append(mirror->getProgramLayer(l));
    for (int l = layerCount - 1; l >= 0; --l)
        rows.insert(m_verticalData.at(l), l);
    m_columnCount = programCount;
    m_rowCount = layerCount;
    m_cells = QList<QStringList>(layerCount, QStringList(programCount, QString()));
    const int nodeCount = mirror->getProgramNodeCount();
    for (int n = 0; n < nodeCount; ++n) {
        const QString nodeId = mirror->getProgramNode(n);
        const NodeCells cells = cellsOfMirror(nodeId);
        const int row = rows.value(cells.layer, -1);
        for (const QString& programId : cells.programs) {
            const int column = columns.value(programId, -1);
            if (row >= 0 && column >= 0)
                m_cells[row][column] = nodeId;
        }
    }
    ++m_fillCount;
    if (keepDelegates) {
        Q_EMIT dataChanged(index(0, 0), index(layerCount - 1, programCount - 1), {Qt::DisplayRole});
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, programCount - 1);
        Q_EMIT headerDataChanged(Qt::Vertical, 0, layerCount - 1);
    } else {
        endResetModel();
    }
    Q_EMIT mFillCountChanged();
}

void ProgramTableModel::resizeAtTheEnds(int rows, int columns)
{
    if (columns > m_columnCount)
        insertColumns(m_columnCount, columns - m_columnCount);
    else if (columns < m_columnCount)
        removeColumns(columns, m_columnCount - columns);
    if (rows > m_rowCount)
        insertRows(m_rowCount, rows - m_rowCount);
    else if (rows < m_rowCount)
        removeRows(rows, m_rowCount - rows);
}

int ProgramTableModel::fillCount() const
{
    return m_fillCount;
}

ProgramTableModel::NodeCells ProgramTableModel::cellsOfMirror(const QString& nodeId) const
{
    NodeCells cells;
    cells.layer = m_mirror->getProgramNodeProgramLayerId(nodeId);
    const QVariantList programs = m_mirror->getProgramNodeProgramIdList(nodeId);
    cells.programs.reserve(programs.size());
    for (const QVariant& programId : programs)
        cells.programs.append(programId.toString());
    return cells;
}

void ProgramTableModel::indexCells(const QString& nodeId, const NodeCells& cells, bool add)
{
    for (const QString& programId : cells.programs) {
        const CellKey key{cells.layer, programId};
        QStringList& nodes = m_cellNodes[key];
        nodes.removeAll(nodeId);
        if (add)
            nodes.append(nodeId);
        if (nodes.isEmpty())
            m_cellNodes.remove(key);
    }
}

// A fill keeps the cells only: the index is read from the mirror on the first single change after
// it, and kept up to date from then on. By then the mirror has applied that change, so the node
// it moves, adds or removes (changedNodeId, "" for none) is left out of the index; unplaceNode
// frees the cells that show it. Answers whether it read the index now.
bool ProgramTableModel::ensureIndex(const QString& changedNodeId)
{
    if (m_indexValid)
        return false;
    m_indexValid = true;
    m_nodeCells.clear();
    m_cellNodes.clear();
    const int nodeCount = m_mirror ? m_mirror->getProgramNodeCount() : 0;
    m_nodeCells.reserve(std::max(nodeCount, 0));
    for (int n = 0; n < nodeCount; ++n) {
        const QString nodeId = m_mirror->getProgramNode(n);
        if (nodeId != changedNodeId)
            indexCells(nodeId, *m_nodeCells.insert(nodeId, cellsOfMirror(nodeId)), true);
    }
    return true;
}

QString ProgramTableModel::occupantOf(const QString& layerId, const QString& programId)
{
    ensureIndex(QString());
    const QStringList nodes = m_cellNodes.value(CellKey{layerId, programId});
    const auto last = std::max_element(nodes.cbegin(), nodes.cend());
    return last == nodes.cend() ? QString() : *last;
}

QString ProgramTableModel::cellText(int row, int column) const
{
    return data(index(row, column)).toString();
}

// Calls fn(row, column, program id) for each of the cells that the table has.
template <typename Fn> void ProgramTableModel::forEachCell(const NodeCells& cells, Fn fn)
{
    const int row = rowIndex(cells.layer);
    if (row < 0)
        return;
    for (const QString& programId : cells.programs) {
        const int column = columnIndex(programId);
        if (column >= 0)
            fn(row, column, programId);
    }
}

void ProgramTableModel::placeNode(const QString& nodeId)
{
    ensureIndex(nodeId);
    const NodeCells cells = cellsOfMirror(nodeId);
    m_nodeCells.insert(nodeId, cells);
    indexCells(nodeId, cells, true);
    forEachCell(cells, [&](int row, int column, const QString&) { setTableItemData(row, column, nodeId); });
}

void ProgramTableModel::unplaceNode(const QString& nodeId)
{
    const bool leftOut = ensureIndex(nodeId);
    const auto found = m_nodeCells.constFind(nodeId);
    if (found == m_nodeCells.constEnd()) {
        // A node the index has always known nothing of shows nowhere; one it left out is uncovered
        // wherever it shows.
        for (int row = 0; leftOut && !nodeId.isEmpty() && row < m_cells.size(); ++row) {
            for (int column = 0; column < m_cells.at(row).size(); ++column) {
                if (m_cells.at(row).at(column) == nodeId)
                    setTableItemData(row, column,
                                     occupantOf(m_verticalData.value(row), m_horizontalData.value(column)));
            }
        }
        return;
    }
    const NodeCells cells = *found;
    m_nodeCells.erase(found);
    indexCells(nodeId, cells, false);
    forEachCell(cells, [&](int row, int column, const QString& programId) {
        if (cellText(row, column) == nodeId)
            setTableItemData(row, column, occupantOf(cells.layer, programId));
    });
}

void ProgramTableModel::refreshNode(const QString& nodeId)
{
    ensureIndex(QString());
    const auto found = m_nodeCells.constFind(nodeId);
    if (found == m_nodeCells.constEnd())
        return;
    forEachCell(*found, [&](int row, int column, const QString&) {
        if (cellText(row, column) == nodeId) {
            setTableItemData(row, column, QString());
            setTableItemData(row, column, nodeId);
        }
    });
}

// A program at a position the server gave: appended at or past the end (insertColumn takes only
// a position before an existing column), clamped at the front; then the nodes waiting for it.
void ProgramTableModel::placeProgram(const QString& programId, int index)
{
    if (index >= m_columnCount)
        appendColumn(programId);
    else
        insertColumn(std::max(0, index), programId);
    placeWaitingNodes(Qt::Horizontal, programId);
}

void ProgramTableModel::placeLayer(const QString& layerId, int index)
{
    if (index >= m_rowCount)
        appendRow(layerId);
    else
        insertRow(std::max(0, index), layerId);
    placeWaitingNodes(Qt::Vertical, layerId);
}

// Fills a new column (Qt::Horizontal, a program id) or row (Qt::Vertical, a layer id) with what a
// fill shows there.
void ProgramTableModel::placeWaitingNodes(Qt::Orientation orientation, const QString& id)
{
    ensureIndex(QString());
    const bool column = orientation == Qt::Horizontal;
    for (auto it = m_nodeCells.cbegin(); it != m_nodeCells.cend(); ++it) {
        const NodeCells& cells = it.value();
        if (column ? !cells.programs.contains(id) : cells.layer != id)
            continue;
        forEachCell(cells, [&](int row, int col, const QString& programId) {
            if (!column || programId == id)
                setTableItemData(row, col, occupantOf(cells.layer, programId));
        });
    }
}

void ProgramTableModel::refreshProgramHeader(const QString& programId)
{
    const int column = columnIndex(programId);
    if (column < 0)
        return;
    updateHorizontalData(column, QString());
    updateHorizontalData(column, programId);
    trigleUpdateByColIndex(column);
}

void ProgramTableModel::refreshLayerHeader(const QString& layerId)
{
    const int row = rowIndex(layerId);
    if (row < 0)
        return;
    m_verticalData[row] = QString();
    announceHeaders(Qt::Vertical, row, row);
    m_verticalData[row] = layerId;
    announceHeaders(Qt::Vertical, row, row);
    trigleUpdateByRowIndex(row);
}

void ProgramTableModel::onProgramRemove(const QString& programId)
{
    const int column = columnIndex(programId);
    if (column >= 0)
        removeColumn(column);
}

void ProgramTableModel::onProgramLayerRemove(const QString& layerId)
{
    const int row = rowIndex(layerId);
    if (row >= 0)
        removeRow(row);
}

void ProgramTableModel::onProgramNodePropertyChanged(const QString& nodeId, const QString& key)
{
    if (key == RCKeys::ProgramLayerId() || key == RCKeys::ProgramIdList()) {
        unplaceNode(nodeId);
        placeNode(nodeId);
    } else if (key == RCKeys::Name() || key == RCKeys::State() || key == RCKeys::ThumbnailPath()) {
        refreshNode(nodeId);
    }
}
