#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>

// The inputs of the fuzz target's corpus fuzz/corpus/<name> in the source tree; an input that
// cannot be read comes as an empty one.
inline QList<QByteArray> fuzzCorpus(const QString& name)
{
    const QDir corpus(qEnvironmentVariable("TAVIX_SOURCE_DIR") + QStringLiteral("/fuzz/corpus/") + name);
    QList<QByteArray> inputs;
    for (const QString& file : corpus.entryList(QDir::Files)) {
        QFile input(corpus.filePath(file));
        inputs.append(input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray());
    }
    return inputs;
}
