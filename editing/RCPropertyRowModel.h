#pragma once

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointer>
#include <QStringList>

class IRCObject;

// The rows of the property panel: one per visible property that has an editor, of the object the
// panel shows, in property order.
//
// The object shown follows the selection on screen, whichever of the two changed last: the one
// selected item of the selected scene, or the focused object (focusId) when it is that scene or
// one of its items. A focus outside the selected scene gives way to the one selected item, else to
// the selected scene itself; with nothing focused only the one selected item is shown. Without a
// selected scene only a focused scene is shown.
//
// A change of the selection is followed once the event loop turns, however many items it took
// (selecting every item of a crowded scene changes the selection once per item). Another object
// shown is one reset; a change of a shown property (undo and redo included) is one
// dataChanged of ValueRole on its row, and nothing else reaches the rows. Values are read from the
// document when asked for; writes go through the presenters as recorded (undoable) updates. Fed
// by the presenters' signals only. GUI thread only.
//
// A model that is not shown (shown false, its panel hidden) has no rows and reads nothing of the
// document; it only keeps which of the focus and the selection changed last, and shows what the
// selection on screen says once it is shown again.
class RCPropertyRowModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(RCScenePresenter* scenePresenter READ scenePresenter WRITE setScenePresenter NOTIFY
                   scenePresenterChanged)
    Q_PROPERTY(RCSceneItemPresenter* sceneItemPresenter READ sceneItemPresenter WRITE setSceneItemPresenter
                   NOTIFY sceneItemPresenterChanged)
    // The id of the object with the editing focus, "" for none.
    Q_PROPERTY(QString focusId READ focusId WRITE setFocusId NOTIFY focusIdChanged)
    // The id of the scene or item whose rows these are, "" for none.
    Q_PROPERTY(QString objectId READ objectId NOTIFY objectChanged)
    // Whether the panel shows the rows; true unless told otherwise.
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)
    // How many items of the selected scene are selected (0 while not shown).
    Q_PROPERTY(int selectedItemCount READ selectedItemCount NOTIFY selectedItemCountChanged)

public:
    enum Role
    {
        PropertyNameRole = Qt::UserRole + 1, // QString, the property's name
        DescriptionRole,                     // QString, what the name cell shows
        ValueRole,                           // QVariant, the value the document holds now
        DisplayTypeRole,                     // int, IRCPropertyDisplay::EIRCPropertyDisplayType: the editor
        ChoiceNamesRole,                     // QStringList, the entries a choice row shows
        ChoiceValuesRole,                    // QVariantList, the values those entries write
        ObjectIdRole                         // QString, the objectId the row belongs to
    };
    Q_ENUM(Role)

    explicit RCPropertyRowModel(QObject* parent = nullptr);

    RCScenePresenter* scenePresenter() const;
    void setScenePresenter(RCScenePresenter* presenter);
    RCSceneItemPresenter* sceneItemPresenter() const;
    void setSceneItemPresenter(RCSceneItemPresenter* presenter);
    QString focusId() const;
    void setFocusId(const QString& id);
    QString objectId() const;
    bool shown() const;
    void setShown(bool shown);
    int selectedItemCount() const;

    // The row of the property, -1 when no row shows it.
    Q_INVOKABLE int rowOf(const QString& propertyName) const;
    // Writes value to the row's property as one undoable step; the document refuses a value equal
    // to the one it holds, which records nothing. Nothing is written unless objectId is the object
    // shown: a row of an object shown before (a delegate not yet deleted) writes nothing.
    Q_INVOKABLE void setValue(const QString& objectId, int row, const QVariant& value);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void scenePresenterChanged();
    void sceneItemPresenterChanged();
    void focusIdChanged();
    void objectChanged();
    void shownChanged();
    void selectedItemCountChanged();

private Q_SLOTS:
    void follow();
    void followPending();
    void onScenePropertyValueChanged(const QString& sceneId, const QString& name);
    void onItemPropertyValueChanged(const QString& sceneId, const QString& itemId, const QString& name);
    void onItemSelectChanged(const QString& sceneId);
    void onSceneSelectChanged();
    void onObjectDestroyed();

private:
    // Shows the scene sceneId, or its item itemId when that is not empty; a null object: no rows.
    void show(IRCObject* object, const QString& sceneId, const QString& itemId);
    void valueChanged(const QString& name);

    QPointer<RCScenePresenter> m_scenes;
    QPointer<RCSceneItemPresenter> m_items;
    QString m_focusId;
    bool m_shown = true;
    int m_selectedItemCount = 0;
    // Whether the selection changed after the focus: then the one selected item is shown, else
    // the focused object.
    bool m_selectionFirst = true;
    // Whether a change of the selection waits to be followed.
    bool m_followPending = false;
    // The object shown, its scene's id and, for an item, its id.
    QPointer<IRCObject> m_object;
    QString m_sceneId;
    QString m_itemId;
    QStringList m_names;
    QHash<QString, int> m_rows;
};
