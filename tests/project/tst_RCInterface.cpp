#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "project/RCInterface.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_RCInterface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void msecToString_data()
    {
        QTest::addColumn<int>("msec");
        QTest::addColumn<QString>("text");
        QTest::newRow("h m s") << 3723000 << u"01:02:03"_s;
        QTest::newRow("ms dropped") << 1500 << u"00:00:01"_s;
        QTest::newRow("just under a day") << 86399999 << u"23:59:59"_s;
        QTest::newRow("a day does not wrap") << 86400000 << u"24:00:00"_s;
        QTest::newRow("int max") << std::numeric_limits<int>::max() << u"596:31:23"_s;
        QTest::newRow("minus one second") << -1000 << u"-00:00:01"_s;
        QTest::newRow("minus under a second") << -999 << u"00:00:00"_s;
        QTest::newRow("int min") << std::numeric_limits<int>::min() << u"-596:31:23"_s;
    }
    void msecToString()
    {
        QFETCH(int, msec);
        QFETCH(QString, text);
        QCOMPARE(RCInterface::instance()->msecToString(msec), text);
    }

    // The folder the save dialog and the project picker start in, beside a packet.
    void parentFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("parent");
        QTest::newRow("packet") << u"/home/user/演出/第一场"_s << u"/home/user/演出"_s;
        QTest::newRow("trailing separator") << u"/home/user/show/"_s << u"/home/user"_s;
        QTest::newRow("unclean") << u"/home/./user/x/../show"_s << u"/home/user"_s;
        QTest::newRow("top-level packet") << u"/show"_s << u"/"_s;
        QTest::newRow("root") << u"/"_s << QString();
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("relative") << u"show"_s << QString();
    }
    void parentFolder()
    {
        QFETCH(QString, path);
        QFETCH(QString, parent);
        QCOMPARE(RCInterface::instance()->parentFolder(path), parent);
    }

    // Paths compared as the folders they lead to, on real folders: "lnk" is a symbolic link to
    // "Tavix", "Tavix/downloadProject" exists, "Tavix/new" does not yet.
    void pathsCompareResolved_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("same");
        QTest::addColumn<bool>("inside");
        QTest::newRow("through the link") << u"lnk/downloadProject"_s << u"Tavix/downloadProject"_s << true << true;
        QTest::newRow("below, through the link") << u"lnk/downloadProject/x"_s << u"Tavix/downloadProject"_s
                                                 << false << true;
        QTest::newRow("not made yet, through the link") << u"lnk/new/a"_s << u"Tavix/new"_s << false << true;
        QTest::newRow("folder named through the link") << u"Tavix/downloadProject"_s << u"lnk"_s << false
                                                       << true;
        QTest::newRow("trailing separator") << u"lnk/"_s << u"Tavix"_s << true << true;
        QTest::newRow("neighbour") << u"Tavix/downloadProject2"_s << u"lnk/downloadProject"_s << false
                                   << false;
        QTest::newRow("outside") << u"other"_s << u"lnk"_s << false << false;
    }
    void pathsCompareResolved()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(bool, same);
        QFETCH(bool, inside);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QVERIFY(QDir(root.path()).mkpath(u"Tavix/downloadProject"_s));
        QVERIFY(QDir(root.path()).mkpath(u"other"_s));
        QVERIFY(QFile::link(root.filePath(u"Tavix"_s), root.filePath(u"lnk"_s)));
        RCInterface* paths = RCInterface::instance();
        QCOMPARE(paths->isSamePath(root.filePath(path), root.filePath(folder)), same);
        QCOMPARE(paths->isInsideFolder(root.filePath(path), root.filePath(folder)), inside);
    }

    void sceneMembership_data()
    {
        QTest::addColumn<QString>("typeNameList");
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<bool>("member");
        QTest::newRow("full-width semicolon") << u"A\uFF1BB"_s << u"B"_s << true;
        QTest::newRow("plain semicolon") << u"A;B"_s << u"A"_s << true;
        QTest::newRow("blank kept") << u"A; B"_s << u"B"_s << false;
        QTest::newRow("blank matches blank") << u"A; B"_s << u" B"_s << true;
        QTest::newRow("case counts") << u"Main"_s << u"main"_s << false;
        // A scene without a type name is in no list: an empty piece names no type.
        QTest::newRow("both empty") << QString() << QString() << false;
        QTest::newRow("empty between") << u"A;;B"_s << QString() << false;
        QTest::newRow("empty trailing") << u"A;"_s << QString() << false;
        QTest::newRow("no piece") << u"A;B"_s << u"C"_s << false;
    }
    void sceneMembership()
    {
        QFETCH(QString, typeNameList);
        QFETCH(QString, typeName);
        QFETCH(bool, member);
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString self = scenes->addScene(u"list"_s, QString(), QString(), false);
        const QString dest = scenes->addScene(u"dest"_s, QString(), QString(), false);
        scenes->setPropertyValue(dest, RCKeys::TypeName(), typeName, false);
        // A scene list item: only its "TypeNameList" matters here.
        const QJsonObject record{{u"name"_s, RCKeys::TypeNameList()},
                                 {u"value"_s, typeNameList},
                                 {u"visible"_s, true},
                                 {u"display"_s, QJsonObject{{u"type"_s, 0}}}};
        const QString item = RCSceneItemPresenter::instance()->addItem(
            self, QJsonObject{{u"propertyArray"_s, QJsonArray{record}}}, false);
        QVERIFY(!item.isEmpty());
        QCOMPARE(RCInterface::instance()->sceneListItemContainScene(self, item, dest), member);
        // An empty or unknown item, or an unknown destination, is never a member.
        QVERIFY(!RCInterface::instance()->sceneListItemContainScene(self, QString(), dest));
        QVERIFY(!RCInterface::instance()->sceneListItemContainScene(self, u"{nothing}"_s, dest));
        QVERIFY(!RCInterface::instance()->sceneListItemContainScene(self, item, u"{nothing}"_s));
        scenes->removeScene(self, false);
        scenes->removeScene(dest, false);
    }
};

QTEST_GUILESS_MAIN(tst_RCInterface)
#include "tst_RCInterface.moc"
