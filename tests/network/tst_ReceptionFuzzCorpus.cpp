// Runs the packet-reception fuzz target over its corpus (fuzz/corpus/packet_reception) in the
// sanitized build. The target checks its oracle itself and ends the process when it breaks (as a
// sanitizer report does), so every input the fuzzer kept must run through; the corpus must hold
// inputs of both of its readings.
#include "support/FuzzCorpus.h"

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
        bool readings[2] = {false, false};
        for (const QByteArray& input : fuzzCorpus(QStringLiteral("packet_reception"))) {
            QVERIFY(!input.isEmpty());
            readings[input.at(0) & 1] |= input.size() > 2;
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
        }
        QVERIFY2(readings[0] && readings[1], "inputs of both readings");
    }
};

QTEST_GUILESS_MAIN(tst_ReceptionFuzzCorpus)
#include "tst_ReceptionFuzzCorpus.moc"
