#pragma once

#include "editing/RCSceneItemPresenter.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QVariantMap>

class IRCObject;
class RCScene;

// The items of one scene as a list in scene order (the stacking order of their views), with what
// a view needs to be made and placed, for the scene canvas. Fed only from the item presenter's
// signals: a new scene is one reset, an item added or removed one inserted or removed row, and a
// batch move of the selection (RCSceneItemPresenter::moveSelectItems) one dataChanged with
// {XRole, YRole} per run of adjacent moved rows. Every other change of a shown item reaches the
// one row that shows it as one dataChanged naming the role that moved: the geometry's,
// QmlPathRole, SelectedRole ("Select"), AngleRole ("Angle"), or ValuesRole for any other property
// (a new "QmlPath" announces ValuesRole first, so that its view is made with the values as they
// are then). A change is announced at once, except in a burst: announcing a row costs the QML
// delegate model a pass over all its delegates, so past kImmediateRows announcements before the
// event loop turns (a select-all, a rubber band, a nudge of the whole selection) the changes are
// collected and announced once the current changes are through, as one dataChanged per run of
// adjacent rows whose same roles moved. Values are read from the document when asked for; the
// model keeps only the ids, and whether each item is selected, which the view layer asks of every
// row at each step of a rubber band. selectionBox follows the selected items' geometry; it is announced
// once the current changes are through. GUI thread only.
class RCSceneItemModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(RCSceneItemPresenter* presenter READ presenter WRITE setPresenter NOTIFY presenterChanged)
    // Setting the id of the scene shown, or setting it again after that scene was replaced by
    // another of the same id, resets the model.
    Q_PROPERTY(QString sceneId READ sceneId WRITE setSceneId NOTIFY sceneIdChanged)
    // What the canvas hands to the view of every row besides the row's own values (services, edit
    // state, zoom), given to every row as ViewPropertiesRole; a new value is one dataChanged of
    // that role over all rows. The model does not look into it.
    Q_PROPERTY(
        QVariantMap viewProperties READ viewProperties WRITE setViewProperties NOTIFY viewPropertiesChanged)
    // The bounding box of the shown scene's selected items, scene units (a negative size counts as
    // 0); 0 x 0 at (0, 0) when none is selected.
    Q_PROPERTY(QRect selectionBox READ selectionBox NOTIFY selectionBoxChanged)

public:
    enum Role
    {
        ItemIdRole = Qt::UserRole + 1, // QString, the item's id
        QmlPathRole,                   // QString, the view file ("QmlPath")
        XRole,                         // int, scene units ("X")
        YRole,                         // int, scene units ("Y")
        WidthRole,                     // int, scene units ("Width")
        HeightRole,                    // int, scene units ("Height")
        SceneIdRole,                   // QString, the scene's id (the model's sceneId)
        ValuesRole,                    // QVariantMap, every property of the item by name, read when asked
        ViewPropertiesRole,            // QVariantMap, the model's viewProperties
        SelectedRole,                  // bool, whether the item is selected ("Select")
        AngleRole                      // int, the item's turn in degrees ("Angle")
    };
    Q_ENUM(Role)

    explicit RCSceneItemModel(QObject* parent = nullptr);

    RCSceneItemPresenter* presenter() const;
    void setPresenter(RCSceneItemPresenter* presenter);
    QString sceneId() const;
    void setSceneId(const QString& sceneId);
    QVariantMap viewProperties() const;
    void setViewProperties(const QVariantMap& properties);
    QRect selectionBox() const;

    // The row of the item, -1 when the scene shown holds none of that id.
    Q_INVOKABLE int rowOf(const QString& itemId) const;
    Q_INVOKABLE QString itemIdAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void presenterChanged();
    void sceneIdChanged();
    void viewPropertiesChanged();
    void selectionBoxChanged();

private Q_SLOTS:
    void onItemAdded(const QString& sceneId, const QString& itemId);
    void onItemRemoved(const QString& sceneId, const QString& itemId);
    void onItemPropertyValueChanged(const QString& sceneId, const QString& itemId, const QString& name);
    void onItemsMoved(const QString& sceneId, const QStringList& itemIds);
    void onSceneDestroyed();

private:
    void reload();
    void reindexFrom(int row);
    // The role of the item's row moved: announced at once, or in a burst with the others once
    // the current changes are through.
    void markMoved(int row, int role);
    // selectionBox moved: announced once the current changes are through.
    void markSelectionBoxMoved();
    // Extends the edges of selectionBox by the place of item (none: nothing).
    void extendSelectionBox(const IRCObject* item) const;
    void scheduleAnnouncement();
    // Announces the rows that were collected, then the selection box; a new burst may begin.
    void announce();

    QPointer<RCSceneItemPresenter> m_presenter;
    QString m_sceneId;
    QPointer<RCScene> m_scene;
    QStringList m_ids;
    QHash<QString, int> m_rows;
    // Row -> whether its item is selected, as the scene said when the row came or when the item's
    // "Select" last changed.
    QList<char> m_selected;
    QVariantMap m_viewProperties;
    // Rows announced at once before the event loop turns; past it, changes are collected.
    static constexpr int kImmediateRows = 8;
    int m_immediateRows = 0;
    // Row -> the roles of that row that moved and wait to be announced, one bit per role (bit
    // role - Qt::UserRole). Empty while none wait; else as long as m_ids, its rows in step with
    // them as rows come and go.
    QList<quint32> m_moved;
    bool m_selectionBoxMoved = false;
    // The edges of selectionBox (none while nothing is selected): computed again at the first
    // read after an item left the selection or a change that may move a selected item; an item
    // that joins the selection extends them.
    struct Edges
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool any = false;
    };
    mutable Edges m_selectionEdges;
    mutable bool m_selectionBoxKnown = false;
    bool m_announcementPending = false;
};
