#pragma once

#include <QMetaMethod>
#include <QSignalSpy>

#include <map>
#include <memory>

namespace test_support {

// A spy on each signal that an object declares beyond QObject's own, found by its name.
class SignalSpies
{
public:
    explicit SignalSpies(QObject* object)
    {
        const QMetaObject* meta = object->metaObject();
        for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal)
                m_spies[QString::fromLatin1(method.name())] = std::make_unique<QSignalSpy>(object, method);
        }
    }

    // Emissions of the signal of that name since the last resetCounts().
    int count(const QString& signal) const { return int(m_spies.at(signal)->size()); }
    QSignalSpy& spy(const QString& signal) { return *m_spies.at(signal); }
    // Emissions of all the signals since the last resetCounts().
    int total() const
    {
        int all = 0;
        for (const auto& entry : m_spies)
            all += int(entry.second->size());
        return all;
    }
    void resetCounts()
    {
        for (auto& entry : m_spies)
            entry.second->clear();
    }

private:
    std::map<QString, std::unique_ptr<QSignalSpy>> m_spies;
};

} // namespace test_support
