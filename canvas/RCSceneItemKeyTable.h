#pragma once

#include <QJSValue>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <optional>
#include <vector>

class QJSEngine;
class QQuickItem;

// A scene item view's key table (its mKeyTable, see RCSceneItem.qml: rows of [item key, view
// property, default, kind]) as the view slot keeps it for every view of one view file, whose views
// all declare the same table. write() gives a view, before its completion, each row's value as the
// views' script (RCSceneItemShow.js readKeys) would: the item's value of the key, the default while
// it has none (no entry, undefined or null), and then as the kind takes it: "number" a finite
// number (not ""), "bool" a truth ("true" for text), "color" a text that names a colour, "text"
// any text; a value the kind does not take reads as the default. A number goes into a whole-number
// property as an assignment puts it: cut to a whole number, and the least one when out of range.
// GUI thread only.
class RCSceneItemKeyTable
{
public:
    // The table view declares, once it is complete (a row of another kind is text, as for the
    // script); none when it declares none, or one the slot cannot write the way the script does (a
    // row that is no [text, text, value, text] or names a property the view lacks): such views keep
    // writing their table themselves.
    static std::optional<RCSceneItemKeyTable> of(QQuickItem* view, QJSEngine* engine);

    // The value of key in values as the views' readProperty gives it: fallback for none (no entry,
    // undefined or null).
    static QJSValue readValue(QJSEngine* engine, const QVariantMap& values, const QString& key,
                              const QJSValue& fallback);

    bool isEmpty() const;
    // Writes every row into view (made from the same file) from the item's values.
    void write(QQuickItem* view, QJSEngine* engine, const QVariantMap& values) const;

private:
    enum class Kind
    {
        Text,
        Number,
        Bool,
        Color
    };
    struct Row
    {
        QString key;
        QString property;
        QMetaType type;
        QJSValue fallback;
        Kind kind;
    };

    static QVariant propertyValue(const Row& row, const QJSValue& value);

    std::vector<Row> m_rows;
};
