#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// One record of the media-server mirror (program, layer, node, track, track program, Vexa program
// list, Vexa program): a key-to-value map whose key set is fixed when the record is made. Every key
// of the set takes the value that the given map holds under it (a null value when it holds none);
// other keys of the given map are dropped. Values keep the type they were given.
// Owned by its collection (QObject parent); GUI thread only.
class RCMirrorRecord : public QObject
{
    Q_OBJECT

public:
    RCMirrorRecord(const QStringList& keys, const QVariantMap& params, QObject* parent);

    // "Id" as text.
    QString getId() const;
    bool hasKey(const QString& sProName) const { return m_properties.contains(sProName); }
    // The value under the key; a null value for a key outside the record's set.
    QVariant getProperty(const QString& sProName) const { return m_properties.value(sProName); }
    // Stores and announces the value when the key is one of the record's and the stored value
    // differs (QVariant equality). Answers whether it stored.
    bool setProperty(const QString& sProName, const QVariant& value);
    // Stores and announces the value whenever the key is one of the record's, also when it equals
    // the stored one. Answers whether it stored.
    bool storeProperty(const QString& sProName, const QVariant& value);
    // Stores without announcing: when the key is one of the record's and, with onlyWhenDifferent,
    // the stored value differs. Answers whether it stored; the caller then emits propertyChanged.
    bool assign(const QString& sProName, const QVariant& value, bool onlyWhenDifferent);

Q_SIGNALS:
    void propertyChanged(QString sProName, QVariant value);

private:
    QVariantMap m_properties;
};
