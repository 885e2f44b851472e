#pragma once

#include "mirror/RCMirrorRecord.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <algorithm>

// Records of one kind, filed by the id they were added with and kept in display order. Does not
// own the records: the collection's QObject owner parents and deletes them. Every record is in
// the map under its filing id and in the order exactly once.
template <typename T> class RCRecordCollection
{
public:
    int count() const { return int(m_order.size()); }
    bool contains(const QString& id) const { return m_byId.contains(id); }
    T* find(const QString& id) const { return m_byId.value(id, nullptr); }
    // The record at position i; null unless 0 <= i < count().
    T* at(int i) const { return i >= 0 && i < m_order.size() ? m_order.at(i) : nullptr; }
    // Position of the record filed under id; -1 when none is.
    int indexOf(const QString& id) const
    {
        T* record = find(id);
        return record ? int(m_order.indexOf(record)) : -1;
    }
    const QList<T*>& ordered() const { return m_order; }

    // Files record under id before position index, which is clamped to 0..count() (count()
    // appends). Answers the position it now holds. The id must not be filed yet.
    int insert(const QString& id, T* record, int index)
    {
        const int at = std::clamp(index, 0, count());
        m_byId.insert(id, record);
        m_order.insert(at, record);
        m_ids.insert(at, id);
        return at;
    }

    // Takes the record filed under id out of the collection and answers it with the position it
    // held; null (and -1) when none is filed there.
    T* take(const QString& id, int* index = nullptr)
    {
        T* record = m_byId.take(id);
        const int at = record ? int(m_order.indexOf(record)) : -1;
        if (record) {
            m_order.removeAt(at);
            m_ids.removeAt(at);
        }
        if (index)
            *index = at;
        return record;
    }

    // The filing id of the record at position i; "" unless 0 <= i < count().
    QString idAt(int i) const { return m_ids.value(i); }

    // Takes the record filed under id out, hands id, the record and the position it held to
    // announce (while the record still exists) and deletes it. Nothing happens when no record is
    // filed under id.
    template <typename Announce> void remove(const QString& id, Announce announce)
    {
        int index = -1;
        T* record = take(id, &index);
        if (!record)
            return;
        announce(id, record, index);
        delete record;
    }

    // Removes the first record, as remove() does, until none is left.
    template <typename Announce> void clear(Announce announce)
    {
        while (count() > 0)
            remove(idAt(0), announce);
    }

private:
    QMap<QString, T*> m_byId;
    QList<T*> m_order;
    // The filing ids, parallel to m_order.
    QStringList m_ids;
};

// Makes a child record of owner from params, files it under id before position index (clamped to
// 0..count), relays its property changes through owner's relay signal and announces it through
// owner's added signal with the position it took. Answers the new record.
template <typename T, typename Owner>
T* fileChildRecord(Owner* owner, RCRecordCollection<T>& children, const QString& id,
                   const QVariantMap& params, int index, void (Owner::*relay)(T*, QString, QVariant),
                   void (Owner::*added)(T*, int))
{
    auto* child = new T(params, owner);
    const int at = children.insert(id, child, index);
    QObject::connect(child, &RCMirrorRecord::propertyChanged, owner,
                     [owner, child, relay](const QString& sProName, const QVariant& value) {
                         Q_EMIT(owner->*relay)(child, sProName, value);
                     });
    Q_EMIT(owner->*added)(child, at);
    return child;
}
