#pragma once

#include "mirror/RCProgram.h"
#include "mirror/RCProgramLayer.h"
#include "mirror/RCProgramNode.h"
#include "mirror/RCRecordCollection.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The mirror's copy of the media server's program table: programs are the columns, layers the
// rows, and nodes the cells (a node lies in one layer and spans one or more programs). Records are
// filed by the "Id" they were added with (exact, case-sensitive); nodes have no order of their own
// beyond the ascending order of their ids. The cell index answers which node occupies a
// (program, layer) cell: when several nodes cover one cell, the one added there last.
//
// Unknown ids give neutral answers ("", 0, -1, null, empty, false) and change nothing; nothing is
// logged. Insert positions are clamped to 0..count and the signals report the real position.
// Owns its records. Child of the mirror; GUI thread only.
class RCProgramTable : public QObject
{
    Q_OBJECT

public:
    explicit RCProgramTable(QObject* parent = nullptr);
    // Removes the programs one at a time, each with programRemove.
    ~RCProgramTable() override;

    // Programs. An add or insert refuses an empty id and an id already filed.
    bool addProgram(QVariantMap params);
    bool insertProgram(int index, QVariantMap params);
    void removeProgram(QString sId);
    // Removes the program in column 0 until none is left.
    void clearProgram();
    int getProgramCount() const { return m_programs.count(); }
    QString getProgram(int i) const;
    int getProgramIndex(QString sId) const { return m_programs.indexOf(sId); }
    QString getProgramName(QString sId) const;
    int getProgramState(QString sId) const;
    void setProgramName(QString sId, QString name);
    void setProgramState(QString sId, int state);
    // "col" and the id with each ':', '-', '{', '}' and '.' replaced by '_'; a QString.
    static QVariant getProgramRole(QString sId);

    // Layers. An add or insert refuses only an id already filed (one layer may have the id "").
    bool addProgramLayer(QVariantMap params);
    bool insertProgramLayer(int index, QVariantMap params);
    void removeProgramLayer(QString sId);
    void clearProgramLayer();
    int getProgramLayerCount() const { return m_layers.count(); }
    QString getProgramLayer(int i) const;
    int getProgramLayerIndex(QString sId) const { return m_layers.indexOf(sId); }
    QString getProgramLayerName(QString sId) const;
    QVariant getProgramLayerPropertyValue(QString sId, QString sProName) const;
    void setProgramLayerName(QString sId, QString name);
    bool setProgramLayerPropertyValue(QString sId, QString sProName, QVariant value);

    // Nodes. An add refuses only an id already filed; the programs and layer it names need not
    // exist.
    bool addProgramNode(QVariantMap params);
    void removeProgramNode(QString sId);
    // Removes the node with the smallest id until none is left.
    void clearProgramNode();
    int getProgramNodeCount() const { return int(m_nodes.size()); }
    bool containsProgramNode(const QString& sId) const { return m_nodes.contains(sId); }
    // The i-th node id in ascending id order.
    QString getProgramNode(int i) const;
    QString findProgramNode(QString sProgramId, QString sProgramLayerId) const;
    QString getProgramNodeName(QString sId) const;
    int getProgramNodeState(QString sId) const;
    qlonglong getProgramNodeProgress(QString sId) const;
    QVariantList getProgramNodeProgramIdList(QString sId) const;
    QString getProgramNodeProgramLayerId(QString sId) const;
    QVariant getProgramNodePropertyValue(QString sId, QString sProName) const;
    // Row of the layer the node names; -1 when the node or that layer is unknown.
    int getProgramNodeRowIndex(QString sId) const;
    QStringList getProgramNodeTitleList() const;
    QStringList getProgramIdListByNodeTitle(QString programNodeTitle) const;
    void setProgramNodeName(QString sId, QString name);
    void setProgramNodeState(QString sId, int state);
    void setProgramNodeProgress(QString sId, qlonglong progress);
    // Stored and announced on every call, also with the list already stored.
    void setProgramNodeProgramIdList(QString sId, QStringList list);
    void setProgramNodeProgramLayerId(QString sId, QString layerId);
    bool setProgramNodePropertyValue(QString sId, QString sProName, QVariant value);

Q_SIGNALS:
    // params is the map given to the add, unfiltered.
    void programAdd(QString sId, QVariantMap params);
    void programInsert(QString sId, QVariantMap params, int index);
    void programRemove(QString sId, int index);
    void programPropertyChanged(QString sId, QString sProName, QVariant value);
    void programLayerAdd(QString sId, QVariantMap params);
    void programLayerInsert(QString sId, QVariantMap params, int index);
    void programLayerRemove(QString sId, int index);
    void programLayerPropertyChanged(QString sId, QString sProName, QVariant value);
    void programNodeAdd(QString sId, QVariantMap params);
    // row: the row of the node's layer at that moment (-1 when unknown).
    void programNodeRemove(QString sId, int row, QVariantList programIdList);
    void programNodePropertyChanged(QString sId, QString sProName, QVariant value);

private:
    // Sets a key of the node filed under nodeId, keeping its cells in step when the key places the
    // node; the change is announced after the cells follow it. Answers whether it stored.
    bool changeNode(const QString& nodeId, const QString& sProName, const QVariant& value,
                    bool onlyWhenDifferent);
    void addCells(const QString& nodeId, const RCProgramNode* node);
    void removeCells(const QString& nodeId, const RCProgramNode* node);
    int columnOf(const QString& programId) const;

    RCRecordCollection<RCProgram> m_programs;
    RCRecordCollection<RCProgramLayer> m_layers;
    QMap<QString, RCProgramNode*> m_nodes;
    // Program id, then layer id, to the ids of the nodes covering that cell in the order they
    // came there; the last one occupies the cell.
    QMap<QString, QMap<QString, QStringList>> m_cells;
    // Node ids in ascending order, rebuilt on demand after nodes come or go.
    mutable QStringList m_nodeIds;
    mutable bool m_nodeIdsValid = true;
};
