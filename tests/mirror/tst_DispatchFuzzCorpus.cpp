// Runs the command-dispatch fuzz target over its corpus (fuzz/corpus/cmd_dispatch) in the
// sanitized build, so that every input the fuzzer found stays harmless.
#include <QDir>
#include <QTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

class tst_DispatchFuzzCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void corpusRunsClean()
    {
        const QDir corpus(qEnvironmentVariable("TAVIX_SOURCE_DIR") +
                          QStringLiteral("/fuzz/corpus/cmd_dispatch"));
        const QStringList inputs = corpus.entryList(QDir::Files);
        QVERIFY(!inputs.isEmpty());
        for (const QString& name : inputs) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray input = file.readAll();
            QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()),
                                            size_t(input.size())),
                     0);
        }
    }
};

QTEST_MAIN(tst_DispatchFuzzCorpus)
#include "tst_DispatchFuzzCorpus.moc"
