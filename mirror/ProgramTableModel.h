#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The table model behind the program-table view: a grid of texts with column headers (program
// ids) and row headers (layer ids); each cell holds the id of the node that occupies it, "" when
// empty. It stores texts only and tells attached views what changed; the view fills it from the
// mirror through the slots.
//
// The row and column counts are kept apart from the header lists: setTableInfo sets the counts
// and the cells, setHorizontalData and setVerticalData the headers. Slots and overrides refuse
// positions outside the counts and the lists (with a warning on Qt's message log) and announce
// only sections that exist, once they exist. The only role is Qt::DisplayRole, named "display".
// Created by QML ("Rc.QmlComponents" 1.0), which owns it. GUI thread only.
class ProgramTableModel : public QAbstractTableModel
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit ProgramTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool insertColumns(int column, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeColumns(int column, int count, const QModelIndex& parent = QModelIndex()) override;
    QHash<int, QByteArray> roleNames() const override;

public Q_SLOTS:
    void setHorizontalData(QStringList horizontalData);
    void setVerticalData(QStringList verticalData);
    void setTableItemData(int row, int col, QString value);
    // Resets the grid to row x col empty cells; negative sizes count as 0. Headers stay.
    void setTableInfo(int row, int col);
    int columnIndex(QString horizontalHeaderValue);
    int rowIndex(QString verticalHeaderValue);
    void appendColumn(QString headerData);
    void appendRow(QString headerData);
    // Before an existing column (index below both the header count and past no column).
    void insertColumn(int index, QString headerData);
    void removeColumn(int index);
    void insertRow(int index, QString headerData);
    void removeRow(int index);
    void updateHorizontalData(int colIndex, QString value);
    // Tell views that every cell of a row (column) changed.
    void trigleUpdateByRowIndex(int rowIndex);
    void trigleUpdateByColIndex(int colIndex);

private:
    // Announces the header sections first..last that exist; nothing when none does.
    void announceHeaders(Qt::Orientation orientation, int first, int last);

    QStringList m_horizontalData;
    QStringList m_verticalData;
    QList<QStringList> m_cells;
    int m_rowCount = 0;
    int m_columnCount = 0;
};
