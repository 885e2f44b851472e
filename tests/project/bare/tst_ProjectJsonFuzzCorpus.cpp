// Runs the project file parser's fuzz target over its corpus (fuzz/corpus/project_json) in the
// sanitized build. The target checks that the parse scene by scene gives what the whole parse
// gives and ends the process when it does not (as a sanitizer report does), so every input the
// fuzzer kept must run through; the corpus must hold inputs that are parsed in parts.
#include "support/FuzzCorpus.h"

#include <QTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

class tst_ProjectJsonFuzzCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void corpusRunsClean()
    {
        const QList<QByteArray> corpus = fuzzCorpus(QStringLiteral("project_json"));
        QVERIFY2(corpus.size() >= 4, "the corpus is missing");
        bool split = false;
        for (const QByteArray& input : corpus) {
            QVERIFY(!input.isEmpty());
            split |= input.count('\x1f') >= 2 && input.contains("sceneArray");
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
        }
        QVERIFY2(split, "inputs whose scenes are spread over threads");
    }
};

QTEST_GUILESS_MAIN(tst_ProjectJsonFuzzCorpus)
#include "tst_ProjectJsonFuzzCorpus.moc"
