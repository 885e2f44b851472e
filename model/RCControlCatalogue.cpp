#include "model/RCControlCatalogue.h"

#include "model/IRCControlInstantiationParam.h"
#include "model/IRCControlManager.h"
#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControlCatalogueTable.h"
#include "model/RCKeys.h"
#include "model/RCPropertyDisplay.h"
#include "model/RCSceneItemViews.h"

#include <QCoreApplication>
#include <QHash>
#include <QSize>
#include <QStringList>
#include <QVariantList>

namespace {

using Table = RCControlCatalogueTable;

QString trObject(const char* text)
{
    return QCoreApplication::translate("QObject", text);
}

QVariant defaultValue(const Table::Value& value, const QString& kindName)
{
    switch (value.type) {
    case Table::Value::Int:
        return value.i;
    case Table::Value::Double:
        return value.d;
    case Table::Value::Bool:
        return value.b;
    case Table::Value::String:
        return QString::fromUtf8(value.s);
    case Table::Value::TrString:
        return trObject(value.s);
    case Table::Value::KindName:
        return kindName;
    case Table::Value::StringList: {
        QStringList keys;
        for (const Table::KeyFn* key = value.keys; key && *key; ++key)
            keys.append((*key)());
        return keys;
    }
    }
    return QVariant();
}

void setChoices(IRCProperty* property, const Table::ChoiceList& list)
{
    IRCPropertyDisplay* display = property ? property->getDisplay() : nullptr;
    if (!display)
        return;
    QVariantList names;
    QVariantList values;
    for (int i = 0; i < list.count; ++i) {
        const Table::Choice& choice = list.choices[i];
        names.append(list.translateNames ? QCoreApplication::translate("RCProject", choice.name)
                                         : QString::fromUtf8(choice.name));
        values.append(choice.value);
    }
    display->setData(RCKeys::ComboBoxItemNameList(), names);
    display->setData(RCKeys::ComboBoxItemDataList(), values);
}

bool declaresText(const Table::Row& row)
{
    switch (row.value.type) {
    case Table::Value::String:
    case Table::Value::TrString:
    case Table::Value::KindName:
        return RCPropertyDisplay::editsText(row.displayType);
    default:
        return false;
    }
}

QHash<int, QSet<QString>> textRowsByKind()
{
    QHash<int, QSet<QString>> byKind;
    const Table::Kind* kinds = Table::kinds();
    for (int k = 0; k < Table::kindCount(); ++k) {
        QSet<QString>& names = byKind[kinds[k].id];
        for (int r = 0; r < kinds[k].rowCount; ++r) {
            if (declaresText(kinds[k].rows[r]))
                names.insert(kinds[k].rows[r].key());
        }
    }
    return byKind;
}

} // namespace

QSet<QString> RCControlCatalogue::textRows(int controlType)
{
    static const QHash<int, QSet<QString>> byKind = textRowsByKind();
    return byKind.value(controlType);
}

int RCControlCatalogue::build(IRCControlManager* manager)
{
    if (!manager)
        return 0;

    int added = 0;
    const Table::Kind* kinds = Table::kinds();
    for (int k = 0; k < Table::kindCount(); ++k) {
        const Table::Kind& kind = kinds[k];
        const QString kindName = trObject(kind.name);
        QStringList groups;
        for (const char* group : kind.groups) {
            if (group)
                groups.append(QString::fromLatin1(group));
        }

        IRCControl* control = manager->addControl(IRCControl::EIRCControlType(kind.id), kindName, groups,
                                                  QString::fromLatin1(kind.icon));
        IRCControlInstantiationParam* param = control ? control->getInstantiationParam() : nullptr;
        if (!param)
            continue;

        param->setQmlPath(RCSceneItemViews::viewPathForControlType(kind.id));
        param->setSize(QSize(kind.width, kind.height));
        for (int r = 0; r < kind.rowCount; ++r) {
            const Table::Row& row = kind.rows[r];
            IRCProperty* property =
                param->addProperty(row.key(), trObject(row.description), row.readOnly, row.visible, QString(),
                                   row.displayType, defaultValue(row.value, kindName));
            if (row.choices)
                setChoices(property, *row.choices);
        }
        ++added;
    }
    return added;
}
