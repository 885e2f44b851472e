#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "project/RCInterface.h"

#include <QJsonArray>
#include <QJsonObject>

#include <QJSEngine>
#include <QTest>

class tst_RCInterface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void msecToString_data();
    void msecToString();
    void oneProcessWideObject();
    void sceneMembership_data();
    void sceneMembership();
    void unknownIdsReadAsEmptyTexts();
};

void tst_RCInterface::msecToString_data()
{
    QTest::addColumn<int>("msec");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << QStringLiteral("00:00:00");
    QTest::newRow("h m s") << 3723000 << QStringLiteral("01:02:03");
    QTest::newRow("ms dropped") << 1500 << QStringLiteral("00:00:01");
    QTest::newRow("just under a second") << 999 << QStringLiteral("00:00:00");
    QTest::newRow("just under a day") << 86399999 << QStringLiteral("23:59:59");
    QTest::newRow("a day does not wrap") << 86400000 << QStringLiteral("24:00:00");
    QTest::newRow("many hours") << 360000000 << QStringLiteral("100:00:00");
    QTest::newRow("int max") << std::numeric_limits<int>::max() << QStringLiteral("596:31:23");
    QTest::newRow("minus one second") << -1000 << QStringLiteral("-00:00:01");
    QTest::newRow("minus under a second") << -999 << QStringLiteral("00:00:00");
    QTest::newRow("int min") << std::numeric_limits<int>::min() << QStringLiteral("-596:31:23");
}

void tst_RCInterface::msecToString()
{
    QFETCH(int, msec);
    QFETCH(QString, text);
    QCOMPARE(RCInterface::instance()->msecToString(msec), text);
}

void tst_RCInterface::oneProcessWideObject()
{
    QCOMPARE(RCInterface::instance(), RCInterface::instance());
    QCOMPARE(QJSEngine::objectOwnership(RCInterface::instance()), QJSEngine::CppOwnership);
}

namespace {

// A scene list item (only its "TypeNameList" matters here) in a scene of its own.
QString addListItem(const QString& sceneId, const QString& typeNameList)
{
    const QJsonObject record{{QStringLiteral("name"), RCKeys::TypeNameList()},
                             {QStringLiteral("value"), typeNameList},
                             {QStringLiteral("visible"), true},
                             {QStringLiteral("display"), QJsonObject{{QStringLiteral("type"), 0}}}};
    return RCSceneItemPresenter::instance()->addItem(
        sceneId, QJsonObject{{QStringLiteral("propertyArray"), QJsonArray{record}}}, false);
}

} // namespace

void tst_RCInterface::sceneMembership_data()
{
    QTest::addColumn<QString>("typeNameList");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<bool>("member");
    QTest::newRow("full-width semicolon") << QStringLiteral("A\uFF1BB") << QStringLiteral("B") << true;
    QTest::newRow("plain semicolon") << QStringLiteral("A;B") << QStringLiteral("A") << true;
    QTest::newRow("blank kept") << QStringLiteral("A; B") << QStringLiteral("B") << false;
    QTest::newRow("blank matches blank") << QStringLiteral("A; B") << QStringLiteral(" B") << true;
    QTest::newRow("case counts") << QStringLiteral("Main") << QStringLiteral("main") << false;
    // A scene without a type name is in no list: an empty piece names no type.
    QTest::newRow("both empty") << QString() << QString() << false;
    QTest::newRow("empty between") << QStringLiteral("A;;B") << QString() << false;
    QTest::newRow("empty trailing") << QStringLiteral("A;") << QString() << false;
    QTest::newRow("no piece") << QStringLiteral("A;B") << QStringLiteral("C") << false;
}

void tst_RCInterface::sceneMembership()
{
    QFETCH(QString, typeNameList);
    QFETCH(QString, typeName);
    QFETCH(bool, member);
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QString self = scenes->addScene(QStringLiteral("list"), QString(), QString(), false);
    const QString dest = scenes->addScene(QStringLiteral("dest"), QString(), QString(), false);
    scenes->setPropertyValue(dest, RCKeys::TypeName(), typeName, false);
    const QString item = addListItem(self, typeNameList);
    QVERIFY(!item.isEmpty());
    QCOMPARE(RCInterface::instance()->sceneListItemContainScene(self, item, dest), member);
    QVERIFY(!RCInterface::instance()->sceneListItemContainScene(self, QString(), dest));
    scenes->removeScene(self, false);
    scenes->removeScene(dest, false);
}

void tst_RCInterface::unknownIdsReadAsEmptyTexts()
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    const QString self = scenes->addScene(QStringLiteral("list"), QString(), QString(), false);
    const QString item = addListItem(self, QStringLiteral("A;"));
    // An unknown destination scene is in no list, also not through the empty trailing piece.
    QVERIFY(!RCInterface::instance()->sceneListItemContainScene(self, item, QStringLiteral("{nothing}")));
    // An unknown item reads as an empty list: one empty piece, which no named scene matches.
    const QString dest = scenes->addScene(QStringLiteral("dest"), QString(), QString(), false);
    scenes->setPropertyValue(dest, RCKeys::TypeName(), QStringLiteral("A"), false);
    QVERIFY(!RCInterface::instance()->sceneListItemContainScene(self, QStringLiteral("{nothing}"), dest));
    scenes->removeScene(self, false);
    scenes->removeScene(dest, false);
}

QTEST_GUILESS_MAIN(tst_RCInterface)
#include "tst_RCInterface.moc"
