#pragma once

#include "editing/RCSceneItemPresenter.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

class RCScene;

// The items of one scene as a list in scene order (the stacking order of their views), with what
// a view needs to be made and placed, for the scene canvas. Fed only from the item presenter's
// signals: a new scene is one reset, an item added or removed one inserted or removed row, and a
// batch move of the selection (RCSceneItemPresenter::moveSelectItems) one dataChanged with
// {XRole, YRole} per run of adjacent moved rows. Every other property change of a shown item is
// passed on as itemPropertyChanged, so that the views follow their items through one connection.
// Values are read from the document when asked for; the model keeps only the ids. ValuesRole is
// what a view is made with: it is announced as changed only just before a new "QmlPath" (whose
// view is made with the values as they are then); the other changes reach the views as
// itemPropertyChanged. GUI thread only.
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
        ViewPropertiesRole             // QVariantMap, the model's viewProperties
    };
    Q_ENUM(Role)

    explicit RCSceneItemModel(QObject* parent = nullptr);

    RCSceneItemPresenter* presenter() const;
    void setPresenter(RCSceneItemPresenter* presenter);
    QString sceneId() const;
    void setSceneId(const QString& sceneId);
    QVariantMap viewProperties() const;
    void setViewProperties(const QVariantMap& properties);

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
    // A property other than "QmlPath", "X", "Y", "Width" and "Height" of a shown item changed.
    void itemPropertyChanged(QString itemId, QString name, QVariant value);

private Q_SLOTS:
    void onItemAdded(const QString& sceneId, const QString& itemId);
    void onItemRemoved(const QString& sceneId, const QString& itemId);
    void onItemPropertyValueChanged(const QString& sceneId, const QString& itemId, const QString& name,
                                    const QVariant& value);
    void onItemsMoved(const QString& sceneId, const QStringList& itemIds);
    void onSceneDestroyed();

private:
    void reload();
    void reindexFrom(int row);

    QPointer<RCSceneItemPresenter> m_presenter;
    QString m_sceneId;
    QPointer<RCScene> m_scene;
    QStringList m_ids;
    QHash<QString, int> m_rows;
    QVariantMap m_viewProperties;
};
