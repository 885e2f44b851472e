#pragma once

#include <QMetaProperty>
#include <QPointer>
#include <QQuickItem>
#include <QRect>
#include <QUrl>
#include <QVariantMap>

// The place of one scene item's view on the scene canvas, made by the view layer
// (RCSceneItemViewLayer) for a row of the canvas's item model: it makes the view from the item's
// view file (qmlPath) once it is complete, a child filling it, with what every view gets
// (viewProperties: the panel's, handed on by the model) and the row's own as initial properties:
// objectName "sceneItemView_<itemId>", mSceneId, mSceneItemId, mSelect and mAngle (the item's
// values the view reads itself when it needs them, RCSceneItemShow.js). A button view (one that
// declares mIconKey and the caption's properties, as RCSceneItemButton does) gets its face as
// initial properties too, read from the row's values the way its script reads them later: mName
// ("Name" as text), mClickAreaCheck, mEnableClick, mTextBold (truths), mTextColor ("TextColor" when
// it names a colour, else white), mTextSize (a positive number, else 12) and its icon: mIconPath,
// the value of the item property that the view's mIconKey names before completion, mIconCached
// (whether that is a "qrc:" URL) and mIconUrl (the path as the view's image manager resolves it),
// written again when the panel's count of resolutions (mImageResolution) changes. A view with a key
// table (mKeyTable) gets the table's values as initial properties (RCSceneItemKeyTable) and
// mKeysGiven true, once an earlier view of its file showed the slot its table.
// Later changes of the row reach the view as property writes, without a script step: viewProperties
// key by key, converted as QML assigns them (edit state, zoom; a service, or null, to a property of
// the service's type), selected as mSelect, angle as mAngle, and new values as mChangedValues, the
// map of the values that differ from the ones before (only those RCSceneItemViews::inputOf takes
// for values; the others have roles of their own). A later view file replaces the view: the view
// before is hidden at once, no longer follows its item (its presenter taken) and is deleted later,
// as it may be the one whose tap changed the file; the new one is made with the values as they are
// then. A view whose row goes is deleted with its slot, which the view layer deletes later. The
// slot places itself on the canvas: at origin plus the item's place (itemX, itemY, scene units)
// divided by the zoom divisor, as large as the item's size (itemWidth, itemHeight; a negative side
// counts as 0) divided by it. The components of the view files are made once per engine and kept.
// GUI thread only.
class RCSceneItemViewSlot : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QString itemId READ itemId WRITE setItemId NOTIFY itemIdChanged)
    Q_PROPERTY(QString sceneId READ sceneId WRITE setSceneId NOTIFY sceneIdChanged)
    Q_PROPERTY(QString qmlPath READ qmlPath WRITE setQmlPath NOTIFY qmlPathChanged)
    Q_PROPERTY(QVariantMap values READ values WRITE setValues NOTIFY valuesChanged)
    Q_PROPERTY(QVariantMap viewProperties READ viewProperties WRITE setViewProperties NOTIFY
                   viewPropertiesChanged)
    Q_PROPERTY(bool selected READ selected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(int angle READ angle WRITE setAngle NOTIFY angleChanged)
    Q_PROPERTY(int itemX READ itemX WRITE setItemX NOTIFY placeChanged)
    Q_PROPERTY(int itemY READ itemY WRITE setItemY NOTIFY placeChanged)
    Q_PROPERTY(int itemWidth READ itemWidth WRITE setItemWidth NOTIFY placeChanged)
    Q_PROPERTY(int itemHeight READ itemHeight WRITE setItemHeight NOTIFY placeChanged)
    // The canvas point of the scene's top-left, and the zoom divisor (scene units per canvas pixel,
    // above 0), the same for every row of the model.
    Q_PROPERTY(QPointF origin READ origin WRITE setOrigin NOTIFY placeChanged)
    Q_PROPERTY(qreal divisor READ divisor WRITE setDivisor NOTIFY placeChanged)
    // The view made from qmlPath, null while there is none (no file, or one that does not load).
    Q_PROPERTY(QQuickItem* item READ item NOTIFY itemChanged)

public:
    explicit RCSceneItemViewSlot(QQuickItem* parent = nullptr);

    QString itemId() const;
    void setItemId(const QString& itemId);
    QString sceneId() const;
    void setSceneId(const QString& sceneId);
    QString qmlPath() const;
    void setQmlPath(const QString& qmlPath);
    QVariantMap values() const;
    void setValues(const QVariantMap& values);
    QVariantMap viewProperties() const;
    void setViewProperties(const QVariantMap& properties);
    bool selected() const;
    void setSelected(bool selected);
    int angle() const;
    void setAngle(int angle);
    int itemX() const;
    void setItemX(int x);
    int itemY() const;
    void setItemY(int y);
    int itemWidth() const;
    void setItemWidth(int width);
    int itemHeight() const;
    void setItemHeight(int height);
    QPointF origin() const;
    void setOrigin(const QPointF& origin);
    qreal divisor() const;
    void setDivisor(qreal divisor);
    QQuickItem* item() const;
    // Whether the view is veiled while selected now: its type declares "mSelectVeil" true (read once,
    // when the view is made) and it is in edit mode ("mInEditState", followed through its change
    // signal). False without a view. Asked for every view at every frame a veil changes in, so it
    // reads no QML property.
    bool showsVeil() const;

Q_SIGNALS:
    void itemIdChanged();
    void sceneIdChanged();
    void qmlPathChanged();
    void valuesChanged();
    void viewPropertiesChanged();
    void selectedChanged();
    void angleChanged();
    void placeChanged();
    void itemChanged();

protected:
    void componentComplete() override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void makeView();
    void dropView();
    // Writes the icon of view, a button, from the values and its mIconKey.
    void writeIcon(QQuickItem* view);
    // Sets the slot's place and size from the item's and the canvas's.
    void place();

private Q_SLOTS:
    // The view's mInEditState changed.
    void readEditState();

private:
    QString m_itemId;
    QString m_sceneId;
    QString m_qmlPath;
    QVariantMap m_values;
    QVariantMap m_viewProperties;
    bool m_selected = false;
    int m_angle = 0;
    QRect m_itemRect;
    QPointF m_origin;
    qreal m_divisor = 1;
    QPointer<QQuickItem> m_view;
    // Whether the view is a button, whose face the slot writes.
    bool m_button = false;
    // The view's mSelect, mAngle and mChangedValues (invalid for a view without one).
    QMetaProperty m_selectProperty;
    QMetaProperty m_angleProperty;
    QMetaProperty m_changedValuesProperty;
    // The view's mInEditState (invalid for a view without one); whether its type declares
    // mSelectVeil true, and its mInEditState as last read.
    QMetaProperty m_editStateProperty;
    bool m_veilDeclared = false;
    bool m_inEditState = false;
};
