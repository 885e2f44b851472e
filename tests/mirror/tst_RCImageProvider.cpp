#include "mirror/RCImageProvider.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {
QImage filled(int width, int height, const QColor& color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}
} // namespace

class tst_RCImageProvider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stageImageStartsOpaqueBlack()
    {
        RCImageProvider provider(QQuickImageProvider::Image,
                                 QQuickImageProvider::ForceAsynchronousImageLoading);
        QCOMPARE(provider.getName(), QString("stelvaneImageProvider"));
        QSize size;
        const QImage stage = provider.requestImage(provider.getStageImageId(), &size, QSize());
        QCOMPARE(size, QSize(1920, 1080));
        QCOMPARE(stage.size(), QSize(1920, 1080));
        QCOMPARE(stage.pixelColor(0, 0), QColor(0, 0, 0, 255));
        QCOMPARE(stage.pixelColor(1919, 1079), QColor(0, 0, 0, 255));
    }
    // A stage set before anyone asked is what the first request gets, a null one too (missing).
    void stageImageSetBeforeFirstRequest_data()
    {
        QTest::addColumn<QImage>("stage");
        QTest::addColumn<QSize>("served");
        QTest::addColumn<QColor>("corner");
        QTest::newRow("an image") << filled(6, 4, Qt::cyan) << QSize(6, 4) << QColor(Qt::cyan);
        QTest::newRow("a null image") << QImage() << QSize(20, 20) << QColor(0, 0, 0, 0);
    }
    void stageImageSetBeforeFirstRequest()
    {
        QFETCH(QImage, stage);
        QFETCH(QSize, served);
        QFETCH(QColor, corner);
        RCImageProvider provider(QQuickImageProvider::Image,
                                 QQuickImageProvider::ForceAsynchronousImageLoading);
        provider.setStageImage(stage);
        QSize size;
        const QImage image = provider.requestImage(provider.getStageImageId(), &size, QSize());
        QCOMPARE(size, served);
        QCOMPARE(image.size(), served);
        QCOMPARE(image.pixelColor(0, 0), corner);
    }
    // Node ids become image ids that survive a URL; the engine loads each through its URL.
    void imageIds_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("imageId");
        const auto row = [](const char* id, const char* imageId) {
            QTest::newRow(id) << QString(id) << QString(imageId);
        };
        row("{3F2A-11}", "_3F2A-11_");
        row("a/b", "a_b");
        row("Az09-._~", "Az09-._~");
        row("a b?#%", "a_0020b_003f_0023_0025");
        row("节点", "_8282_70b9");
    }
    void imageIds()
    {
        QFETCH(QString, id);
        QFETCH(QString, imageId);
        QCOMPARE(RCImageProvider::toImageId(id), imageId);
        QQmlEngine engine;
        auto* provider = new RCImageProvider(QQuickImageProvider::Image,
                                             QQuickImageProvider::ForceAsynchronousImageLoading);
        engine.addImageProvider(provider->getName(), provider);
        const QString url = provider->addImage(id, filled(33, 17, Qt::yellow));
        QCOMPARE(url, QStringLiteral("image://stelvaneImageProvider/") + imageId);
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nImage { asynchronous: true; cache: false }", QUrl());
        std::unique_ptr<QObject> image(component.create());
        QVERIFY2(image, qPrintable(component.errorString()));
        image->setProperty("source", url);
        QTRY_COMPARE(image->property("status").toInt(), 1); // Image.Ready
        QCOMPARE(image->property("sourceSize").toSize(), QSize(33, 17));
    }
    void thumbnailsByUrlId()
    {
        QSize size;
        QCOMPARE(m_provider.requestImage("never", &size, QSize()).size(), QSize(20, 20));
        QCOMPARE(size, QSize(20, 20));
        const QString url = m_provider.addImage("{3F2A-11}", filled(4, 3, Qt::red));
        QCOMPARE(url, QString("image://stelvaneImageProvider/_3F2A-11_"));
        QCOMPARE(m_provider.addImage("{3F2A-11}", filled(4, 3, Qt::green)), url);
        QCOMPARE(m_provider.requestImage("_3F2A-11_", &size, QSize()).pixelColor(1, 1), QColor(Qt::green));
        QCOMPARE(m_provider.imageCount(), 1);
        m_provider.removeImage("{3F2A-11}");
        QCOMPARE(m_provider.requestImage("_3F2A-11_", &size, QSize()).size(), QSize(20, 20));
        // A stored null image counts as missing.
        m_provider.addImage("null", QImage());
        QCOMPARE(m_provider.requestImage("null", &size, QSize(5, 5)).size(), QSize(20, 20));
        m_provider.removeImage("null");
        QCOMPARE(m_provider.imageCount(), 0);
    }
    void thumbnailsTogetherAreBounded()
    {
        // Room for two 10 x 10 ARGB images of 400 bytes.
        RCImageProvider provider(QQuickImageProvider::Image,
                                 QQuickImageProvider::ForceAsynchronousImageLoading, 1000);
        QSize size;
        provider.addImage("a", filled(10, 10, Qt::red));
        provider.addImage("b", filled(10, 10, Qt::red));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("thumbnail of \"c\" dropped"));
        provider.addImage("c", filled(10, 10, Qt::red));
        QCOMPARE(provider.requestImage("c", &size, QSize()).size(), QSize(20, 20));
        // Replacing an image counts only the difference; removing one makes room.
        provider.addImage("b", filled(10, 10, Qt::green));
        QCOMPARE(provider.requestImage("b", &size, QSize()).pixelColor(1, 1), QColor(Qt::green));
        provider.removeImage("a");
        provider.addImage("c", filled(10, 10, Qt::blue));
        QCOMPARE(provider.requestImage("c", &size, QSize()).size(), QSize(10, 10));
    }
    void requestedSizes_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("answered");
        QTest::newRow("width only") << QSize(100, 0) << QSize(100, 300);
        QTest::newRow("none") << QSize() << QSize(400, 300);
        QTest::newRow("both") << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("negative width") << QSize(-5, 20) << QSize(400, 20);
        QTest::newRow("capped") << QSize(1000000, 50) << QSize(RCImageProvider::kMaxRequestedSide, 50);
    }
    void requestedSizes()
    {
        QFETCH(QSize, requested);
        QFETCH(QSize, answered);
        m_provider.addImage("t", filled(400, 300, Qt::blue));
        QSize size;
        QCOMPARE(m_provider.requestImage("t", &size, requested).size(), answered);
        QCOMPARE(size, QSize(400, 300));
    }
    void imageThreadWhileGuiThreadReplaces()
    {
        RCImageProvider provider(QQuickImageProvider::Image,
                                 QQuickImageProvider::ForceAsynchronousImageLoading);
        const QSize sizes[] = {QSize(64, 48), QSize(32, 24)};
        std::atomic<int> wrong{0};
        std::atomic<bool> started{false};
        std::atomic<bool> done{false};
        std::thread reader([&] {
            started = true;
            for (int i = 0; i < 100000 && !done; ++i) {
                QSize size;
                const QImage stage = provider.requestImage(provider.getStageImageId(), &size, QSize(16, 0));
                const QImage thumb = provider.requestImage("t", &size, QSize());
                if (stage.width() != 16 ||
                    (thumb.size() != sizes[0] && thumb.size() != sizes[1] && thumb.size() != QSize(20, 20)))
                    ++wrong;
            }
        });
        while (!started)
            std::this_thread::yield();
        for (int i = 0; i < 3000; ++i) {
            provider.setStageImage(filled(sizes[i % 2].width(), sizes[i % 2].height(), Qt::cyan));
            if (i % 3 == 0)
                provider.removeImage("t");
            else
                provider.addImage("t", filled(sizes[i % 2].width(), sizes[i % 2].height(), Qt::magenta));
        }
        done = true;
        reader.join();
        QCOMPARE(wrong.load(), 0);
    }

private:
    RCImageProvider m_provider{QQuickImageProvider::Image};
};

QTEST_MAIN(tst_RCImageProvider)
#include "tst_RCImageProvider.moc"
