// Runs the packet-reception fuzz target over its corpus (fuzz/corpus/packet_reception) in the
// sanitized build. The target checks its oracle itself and ends the process when it breaks (as a
// sanitizer report does), so every input the fuzzer kept must run through; the corpus must hold
// inputs of both of its readings.
#include <QDir>
#include <QTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

class tst_ReceptionFuzzCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void corpusRunsClean()
    {
        const QDir corpus(qEnvironmentVariable("TAVIX_SOURCE_DIR") +
                          QStringLiteral("/fuzz/corpus/packet_reception"));
        const QStringList inputs = corpus.entryList(QDir::Files);
        bool readings[2] = {false, false};
        for (const QString& name : inputs) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray input = file.readAll();
            if (input.size() > 2)
                readings[input.at(0) & 1] = true;
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
        }
        QVERIFY2(readings[0] && readings[1], "inputs of both readings");
    }
};

QTEST_GUILESS_MAIN(tst_ReceptionFuzzCorpus)
#include "tst_ReceptionFuzzCorpus.moc"
