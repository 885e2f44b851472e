// Runs the command-dispatch fuzz target over its corpus (fuzz/corpus/cmd_dispatch) in the
// sanitized build, so that every input the fuzzer found stays harmless. After each input the link
// has dropped, so the mirror holds no programs, layers, nodes or tracks and is idle again, the
// document and the undo history are empty, and the dispatch still applies a command: a volume
// sent as the next input reaches the mirror.
#include "editing/RCCommandManager.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"
#include "model/RCSceneManager.h"

#include <QDir>
#include <QTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
IRCStelvaneSyncer* fuzzDispatchMirror();

namespace {
void runInput(const QByteArray& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
}
} // namespace

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
        for (qsizetype i = 0; i < inputs.size(); ++i) {
            const QString& name = inputs.at(i);
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            runInput(file.readAll());

            IRCStelvaneSyncer* mirror = fuzzDispatchMirror();
            const QList<int> left{mirror->getProgramCount(), mirror->getProgramLayerCount(),
                                  mirror->getProgramNodeCount(), mirror->getTrackCount()};
            QVERIFY2(left == QList<int>({0, 0, 0, 0}), qPrintable(name));
            QVERIFY2(mirror->getState() == IRCStelvaneSyncer::EState_Idel, qPrintable(name));
            QVERIFY2(RCSceneManager::instance()->getSceneCount() == 0, qPrintable(name));
            QVERIFY2(!RCCommandManager::instance()->canUndo(), qPrintable(name));

            // A volume no input of the corpus sends.
            const double volume = 1000.25 + double(i);
            runInput(QByteArrayLiteral("setGlobalProperty {\"volume\": ") + QByteArray::number(volume) + '}');
            QVERIFY2(mirror->getGlobalProperty(RCKeys::Volume()).toDouble() == volume,
                     qPrintable(name + QStringLiteral(": the dispatch no longer applies a command")));
        }
    }
};

QTEST_MAIN(tst_DispatchFuzzCorpus)
#include "tst_DispatchFuzzCorpus.moc"
