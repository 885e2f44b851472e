#include "project/PhotoCache.h"
#include "project/PhotoSelection.h"
#include "project/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class tst_PhotoCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void picturesAreKeptOncePerContent();
    void clearKeepsFolderAndSubfolders();
    void selectionEmitsCachedPath();

private:
    static QImage picture(QRgb colour);

    std::unique_ptr<TemporaryHome> m_home;
};

QImage tst_PhotoCache::picture(QRgb colour)
{
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

void tst_PhotoCache::init()
{
    m_home = std::make_unique<TemporaryHome>();
    QVERIFY(m_home->isValid());
}

void tst_PhotoCache::cleanup()
{
    m_home.reset();
}

// One flat file per distinct picture, named by its content; an equal picture reuses the file
// without writing it again; a null picture gives no file.
void tst_PhotoCache::picturesAreKeptOncePerContent()
{
    PhotoCache cache; // its folder is made with its parents
    QCOMPARE(cache.cacheDirPath(), m_home->filePath(u"Documents/Tavix/photoCache"_s));
    const QString first = cache.cacheImage(picture(qRgb(10, 20, 30)));
    QVERIFY(QFileInfo(first).isFile());
    QCOMPARE(QFileInfo(first).absolutePath(), cache.cacheDirPath()); // flat: never a subfolder
    QVERIFY(QFileInfo(first).fileName().contains(QRegularExpression(u"^[0-9a-f]{32}\\.png$"_s)));
    QCOMPARE(QImage(first).pixel(0, 0), qRgb(10, 20, 30));
    const QDateTime written = QFileInfo(first).lastModified();

    QTest::qWait(20);
    QCOMPARE(cache.cacheImage(picture(qRgb(10, 20, 30))), first);
    QCOMPARE(QFileInfo(first).lastModified(), written); // not written again

    const QString other = cache.cacheImage(picture(qRgb(4, 5, 6)));
    QVERIFY(!other.isEmpty() && other != first);
    QCOMPARE(cache.cacheImage(QImage()), QString());
    QCOMPARE(QDir(cache.cacheDirPath()).entryList(QDir::Files).size(), 2);
}

void tst_PhotoCache::clearKeepsFolderAndSubfolders()
{
    PhotoCache cache;
    cache.clear(); // empty cache: nothing happens
    cache.cacheImage(picture(qRgb(7, 7, 7)));
    QFile hidden(cache.cacheDirPath() + u"/.hidden.png"_s);
    QVERIFY(hidden.open(QIODevice::WriteOnly));
    hidden.close();
    QVERIFY(QDir(cache.cacheDirPath()).mkdir(u"sub"_s));

    cache.clear();
    QVERIFY(QFileInfo(cache.cacheDirPath()).isDir());
    QCOMPARE(QDir(cache.cacheDirPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"sub"_s});

    QDir(cache.cacheDirPath()).removeRecursively();
    cache.clear(); // missing folder: nothing happens
}

void tst_PhotoCache::selectionEmitsCachedPath()
{
    PhotoSelection selection;
    QSignalSpy spy(&selection, &PhotoSelection::imageSelected);
    selection.onIosImageSelected(picture(qRgb(9, 9, 9)));
    selection.onIosImageSelected(QImage());
    QCOMPARE(spy.count(), 2);
    QVERIFY(QFileInfo(spy.at(0).at(0).toString()).isFile());
    QCOMPARE(spy.at(1).at(0).toString(), QString());
    QVERIFY(PhotoSelection::isAcceptedImageFile(u"/p/photo.tar.png"_s));
    QVERIFY(!PhotoSelection::isAcceptedImageFile(u"/p/photo.PNG"_s));
    QVERIFY(!PhotoSelection::isAcceptedImageFile(u"/p/photo.png.jpg"_s));
}

QTEST_MAIN(tst_PhotoCache)
#include "tst_PhotoCache.moc"
