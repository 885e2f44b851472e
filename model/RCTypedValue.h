#pragma once

#include <QJsonValue>
#include <QString>
#include <QVariant>

// The one pair of conversions between property values (QVariant) and their JSON form, used by the
// property record, the settings file and the action layer.
//
// Values JSON holds natively are written natively; every other supported type is written as the
// typed text "#<TypeName>#<value text>". A JSON number always reads back as a double.
//
// Failure contract: nothing here throws or aborts. A conversion that cannot be done logs a warning
// carrying "Not Implemented", sets *ok to false (when ok is given) and returns:
//   - variantToJsonValue: JSON null (the caller keeps or drops the value as it sees fit);
//   - jsonValueToVariant: the JSON string unchanged, as a plain QString;
//   - stringToVariant:    an invalid QVariant.
// GUI thread only; the type-name table is filled lazily without a lock.
//
// Nesting bound: a value may nest arrays and objects at most kMaxValueNesting levels deep. A
// document places values some ten levels down and its reader refuses text nested more than 1024
// levels, so a deeper value, once held, could be written but never read back. jsonValueToVariant
// fails (as above) for a JSON value, or a typed text, that would read as a deeper value.

constexpr int kMaxValueNesting = 64;

// True when value nests arrays, lists or objects more than kMaxValueNesting levels deep.
bool exceedsValueNesting(const QVariant& value);

QJsonValue variantToJsonValue(const QVariant& value, bool* ok = nullptr);
QVariant jsonValueToVariant(const QJsonValue& json, bool* ok = nullptr);

// Reads json for a holder (a property, a setting) whose own value is text. A JSON string is the
// text as it stands, also when it looks like typed text ("#Size#10", "$sl$a"): text is written as
// it is, so what a text holder wrote reads back unchanged. Anything else reads as
// jsonValueToVariant does.
QVariant jsonValueToText(const QJsonValue& json, bool* ok = nullptr);

// Reads the text of a typed value whose "#<TypeName>#" prefix has already been removed.
QVariant stringToVariant(const QString& text, int typeId, bool* ok = nullptr);

// "#<TypeName>#" for a type of the table, an empty string for any other type.
QString variantTypePrefix(int typeId);

// When text begins with "#", a type name of the table and "#", removes that prefix from text and
// returns the type id; otherwise returns 0 and leaves text unchanged.
int parseVariantTypePrefix(QString& text);

// Fills the type-name table on first use; later calls return at once.
void initVariantTypeTables();
