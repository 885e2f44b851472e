#include "project/PhotoCache.h"
#include "project/PhotoSelection.h"
#include "project/TemporaryHome.h"
#include "support/ReadOnlyDialog.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QImage picture(QRgb colour)
{
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

} // namespace

class tst_PhotoCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One flat file per distinct picture, named by its content; an equal picture reuses the file
    // without writing it again; a null picture gives no file. Clearing empties the folder but
    // keeps it and its subfolders, and copes with an empty or missing folder.
    void picturesAreKeptOncePerContent()
    {
        TemporaryHome home;
        PhotoCache cache; // its folder is made with its parents
        cache.clear();
        QCOMPARE(cache.cacheDirPath(), home.filePath(u"Documents/Tavix/photoCache"_s));
        const QString first = cache.cacheImage(picture(qRgb(10, 20, 30)));
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

        QFile(cache.cacheDirPath() + u"/.hidden.png"_s).open(QIODevice::WriteOnly);
        QVERIFY(QDir(cache.cacheDirPath()).mkdir(u"sub"_s));
        cache.clear();
        QCOMPARE(QDir(cache.cacheDirPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{u"sub"_s});
        QDir(cache.cacheDirPath()).removeRecursively();
        cache.clear();
    }

    void selectionEmitsCachedPath()
    {
        TemporaryHome home;
        PhotoSelection selection;
        QSignalSpy spy(&selection, &PhotoSelection::imageSelected);
        selection.onIosImageSelected(picture(qRgb(9, 9, 9)));
        selection.onIosImageSelected(QImage());
        QCOMPARE(spy.count(), 2);
        QVERIFY(QFileInfo(spy.at(0).at(0).toString()).isFile());
        QCOMPARE(spy.at(1).at(0).toString(), QString());
        QVERIFY(PhotoSelection::isAcceptedImageFile(u"/p/photo.tar.png"_s));
        QVERIFY(PhotoSelection::isAcceptedImageFile(u"/p/photo.PNG"_s));
        QVERIFY(PhotoSelection::isAcceptedImageFile(u"/p/photo.Png"_s));
        QVERIFY(!PhotoSelection::isAcceptedImageFile(u"/p/photo.png.jpg"_s));
    }

    // A picked file that no view could show is refused with a text that names it.
    void picturesThatCannotBeShownAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal"); // a part of the text; "" for a picture that is taken
        QTest::newRow("ordinary") << u"ordinary"_s << QString();
        QTest::newRow("0 bytes") << u"empty"_s << u"无法读取"_s;
        QTest::newRow("cut after its header") << u"cut"_s << u"无法读取"_s;
        QTest::newRow("8000 x 8000, above the allocation limit") << u"huge"_s << u"太大"_s;
    }
    void picturesThatCannotBeShownAreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        TemporaryHome home;
        const QString path = home.filePath(kind + u".PNG"_s);
        QByteArray bytes;
        if (kind != QLatin1String("empty")) {
            // One bit per pixel keeps even the huge one a small file.
            QImage image(kind == QLatin1String("huge") ? 8000 : 16, kind == QLatin1String("huge") ? 8000 : 16,
                         QImage::Format_Mono);
            image.fill(1);
            QBuffer buffer(&bytes);
            QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "png"));
            if (kind == QLatin1String("cut"))
                bytes.truncate(40);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const QString text = PhotoSelection::refusalOf(path);
        if (refusal.isEmpty()) {
            QCOMPARE(text, QString());
        } else {
            QVERIFY2(text.contains(refusal) && text.contains(kind + u".PNG"_s), qPrintable(text));
        }
    }

    void pickerReadsOnlyAndStartsInThePacket_data()
    {
        QTest::addColumn<QString>("imageFolder"); // below the home folder; "" for none
        QTest::addColumn<bool>("hasPictures");    // whether the home holds a pictures folder
        QTest::addColumn<QString>("start");       // below the home folder
        QTest::newRow("packet's image folder") << u"show/image"_s << true << u"show/image"_s;
        QTest::newRow("no packet") << QString() << true << u"Pictures"_s;
        QTest::newRow("packet without image folder") << u"fresh/image"_s << true << u"Pictures"_s;
        QTest::newRow("no pictures folder") << QString() << false << QString();
    }
    // Configured on a real dialog that is never shown.
    void pickerReadsOnlyAndStartsInThePacket()
    {
        QFETCH(QString, imageFolder);
        QFETCH(bool, hasPictures);
        QFETCH(QString, start);
        TemporaryHome home;
        QVERIFY(QDir().mkpath(home.filePath(u"show/image"_s)));
        if (hasPictures)
            QVERIFY(QDir().mkpath(home.filePath(u"Pictures"_s)));
        QFileDialog dialog;
        PhotoSelection::configureDialog(dialog, imageFolder.isEmpty() ? QString() : home.filePath(imageFolder));

        QCOMPARE(QFileInfo(dialog.directory().absolutePath()).canonicalFilePath(),
                 QFileInfo(home.filePath(start)).canonicalFilePath());
        QCOMPARE(dialog.windowTitle(), u"选择图标"_s);
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.nameFilters(), QStringList{u"Images(*.png)"_s});
        verifyDialogReadsOnly(dialog);
    }
};

QTEST_MAIN(tst_PhotoCache)
#include "tst_PhotoCache.moc"
