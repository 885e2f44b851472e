#include "mirror/ProgramTableModel.h"

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
