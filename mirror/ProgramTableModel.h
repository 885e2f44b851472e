#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <utility>

class IRCStelvaneSyncer;

// The table model behind the program-table view: a grid of texts with column headers (program
// ids) and row headers (layer ids); each cell holds the id of the node that occupies it, "" when
// empty. It stores texts only and tells attached views what changed; the view fills it from the
// mirror through the slots.
//
// The row and column counts are kept apart from the header lists: setTableInfo sets the counts
// and the cells, setHorizontalData and setVerticalData the headers. Slots and overrides refuse
// positions outside the counts and the lists (with a warning on Qt's message log) and announce
// only sections that exist, once they exist. The only role is Qt::DisplayRole, named "display".
//
// Given a mirror (mStelvaneSyncer, not owned), the model fills itself: in one step when the
// mirror is set and on every programTableUpdate, and by the slots above on the mirror's single
// changes, except between programTableReplaceBegin and the programTableUpdate that ends it, where
// the replacement's record signals are left to that one step. A fill is one reset when the table
// was or becomes empty; otherwise the columns and rows it gains or loses are inserted or removed
// at the ends, then one dataChanged over every cell and one headerDataChanged per orientation
// follow (a table view keeps its delegates). A fill keeps the cells only, and where the nodes lie is read from the mirror again
// on the first single change after it. Each cell shows the node that a full fill places there:
// the last, in the mirror's order (ascending ids), of the nodes whose layer and programs name it;
// so a node that leaves a cell uncovers the one beneath. A cell whose node changes its name, state
// or thumbnail, and a header whose program or layer changes, are set to "" and back so that
// delegates read the mirror again.
// Created by QML ("Rc.QmlComponents" 1.0), which owns it. GUI thread only.
class ProgramTableModel : public QAbstractTableModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(IRCStelvaneSyncer* mStelvaneSyncer READ stelvaneSyncer WRITE setStelvaneSyncer NOTIFY
                   mStelvaneSyncerChanged)
    // How often the model has been filled from the mirror. A delegate that reads the mirror by the
    // id it shows depends on it, so that it reads again after a fill that left it the same id.
    Q_PROPERTY(int mFillCount READ fillCount NOTIFY mFillCountChanged)

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

    IRCStelvaneSyncer* stelvaneSyncer() const;
    void setStelvaneSyncer(IRCStelvaneSyncer* mirror);
    int fillCount() const;

Q_SIGNALS:
    void mStelvaneSyncerChanged();
    void mFillCountChanged();

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
    // Where the mirror places a node: its layer (row) and its programs (columns).
    struct NodeCells
    {
        QString layer;
        QStringList programs;
    };
    using CellKey = std::pair<QString, QString>; // layer id, program id

    // Inserts or removes columns and rows at the ends until the grid is rows x columns.
    void resizeAtTheEnds(int rows, int columns);
    // Announces the header sections first..last that exist; nothing when none does.
    void announceHeaders(Qt::Orientation orientation, int first, int last);

    // Following the mirror.
    void fillFromMirror();
    NodeCells cellsOfMirror(const QString& nodeId) const;
    void indexCells(const QString& nodeId, const NodeCells& cells, bool add);
    bool ensureIndex(const QString& changedNodeId);
    QString occupantOf(const QString& layerId, const QString& programId);
    QString cellText(int row, int column) const;
    template <typename Fn> void forEachCell(const NodeCells& cells, Fn fn);
    void placeNode(const QString& nodeId);
    void unplaceNode(const QString& nodeId);
    void refreshNode(const QString& nodeId);
    void placeProgram(const QString& programId, int index);
    void placeLayer(const QString& layerId, int index);
    void placeWaitingNodes(Qt::Orientation orientation, const QString& id);
    void refreshProgramHeader(const QString& programId);
    void refreshLayerHeader(const QString& layerId);
    void onProgramRemove(const QString& programId);
    void onProgramLayerRemove(const QString& layerId);
    void onProgramNodePropertyChanged(const QString& nodeId, const QString& key);

    QPointer<IRCStelvaneSyncer> m_mirror;
    QList<QMetaObject::Connection> m_mirrorConnections;
    // Set from programTableReplaceBegin to the programTableUpdate that ends the replacement.
    bool m_replacing = false;
    // Where each node lies, and the nodes whose layer and programs name each cell; both valid (and
    // kept) only when the flag is set.
    QHash<QString, NodeCells> m_nodeCells;
    QHash<CellKey, QStringList> m_cellNodes;
    bool m_indexValid = false;
    int m_fillCount = 0;

    QStringList m_horizontalData;
    QStringList m_verticalData;
    QList<QStringList> m_cells;
    int m_rowCount = 0;
    int m_columnCount = 0;
};
