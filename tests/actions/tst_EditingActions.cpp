// The editing actions on the real presenters and the in-process clipboard: copy, paste, undo and
// redo, hostile clipboard bytes, alignments, distributions and arrow keys, each one undo step.
#include "ActionTestSupport.h"

#include "actions/RCSceneItemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRect>
#include <QTest>

using namespace ActionTest;
using Type = IRCAction::EActionType;

Q_DECLARE_METATYPE(QList<QRect>)

class tst_EditingActions : public QObject, private ActionFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { start(); }
    void cleanupTestCase() { stop(); }
    void init()
    {
        m_manager.reset(RCActionManager::create(m_project.get()));
        m_sceneId = freshScene();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { m_manager.reset(); }
    void copyPasteUndoRedo()
    {
        RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
        const QStringList copied = addBoxes({QRect(10, 20, 50, 50), QRect(100, 40, 30, 30)});
        addBoxes({QRect(300, 300, 5, 5)}, false);
        QCOMPARE(exec(Type::EActionType_CopySceneItem), 0);

        QStringList pasted;
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(exec(Type::EActionType_PasteSceneItem, QPoint(5, 5)), 0);
            const QStringList selected = items->getSelectItems(m_sceneId);
            QCOMPARE(selected.size(), 2);
            for (const QString& id : selected)
                QVERIFY(!copied.contains(id) && !pasted.contains(id));
            QCOMPARE(geometry(selected), QList<QRect>({QRect(20, 30, 50, 50), QRect(110, 50, 30, 30)}));
            pasted = selected;
        }
        QCOMPARE(itemCount(), 7);

        // One undo step per paste; redo brings back the same copies, offset included.
        Platform::instance()->undo();
        QCOMPARE(itemCount(), 5);
        QCOMPARE(exec(Type::EActionType_Redo), 0);
        QCOMPARE(itemCount(), 7);
        QCOMPARE(geometry(pasted), QList<QRect>({QRect(20, 30, 50, 50), QRect(110, 50, 30, 30)}));
        QCOMPARE(exec(Type::EActionType_Undo), 0);
        QCOMPARE(exec(Type::EActionType_Undo), 0);
        QCOMPARE(itemCount(), 3);

        // Removing the selection is one step too.
        for (const QString& id : copied)
            items->setPropertyValue(m_sceneId, id, RCKeys::Select(), true, false);
        QCOMPARE(exec(Type::EActionType_RemoveSelectSceneItem), 0);
        QCOMPARE(itemCount(), 1);
        Platform::instance()->undo();
        QCOMPARE(itemCount(), 3);
    }
    void hostileClipboard_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("pasted");
        const QJsonObject item = labelJson();
        auto binary = &RCSceneItemClipboard::encode;
        auto withRecord = [&item](const QString& name, const QJsonValue& value) {
            QJsonArray records = item.value("propertyArray").toArray();
            for (qsizetype i = 0; i < records.size(); ++i) {
                QJsonObject record = records.at(i).toObject();
                if (record.value("name").toString() == name) {
                    record.insert("value", value);
                    records.replace(i, record);
                }
            }
            QJsonObject changed = item;
            changed.insert("propertyArray", records);
            return changed;
        };
        const QByteArray valid = binary({item});

        QTest::addRow("one item") << valid << 1;
        QTest::addRow("nulls and numbers skipped")
            << binary({QJsonValue(), item, 3, "x", QJsonArray{item}}) << 1;
        QTest::addRow("empty array") << binary({}) << 0;
        QTest::addRow("text JSON")
            << QJsonDocument(QJsonObject{{"sceneItemArray", QJsonArray{item}}}).toJson() << 0;
        static const char kGarbage[] = "qbjs\x01\x00\x00\x00\xff\xff\xff\x7f garbage";
        QTest::addRow("garbage") << QByteArray(kGarbage, sizeof kGarbage - 1) << 0;
        QTest::addRow("truncated") << valid.left(valid.size() / 2) << 0;
        QTest::addRow("unknown view") << binary({withRecord("QmlPath", "file:///tmp/evil.qml")}) << 0;
        QTest::addRow("no view") << binary({withRecord("QmlPath", QJsonValue())}) << 0;
        QTest::addRow("position as text") << binary({withRecord("X", "10")}) << 0;
        QTest::addRow("position out of range") << binary({withRecord("Y", 1e300), item}) << 2;
        QTest::addRow("records not objects")
            << binary({QJsonObject{{"propertyArray", QJsonArray{1, 2}}}}) << 0;
    }
    // Only well-formed items are pasted; with none, the paste answers -1 and leaves the scene, its
    // selection and the undo history alone.
    void hostileClipboard()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, pasted);
        const QStringList selected = addBoxes({QRect(0, 0, 10, 10)});
        putOnClipboard(bytes);
        QCOMPARE(exec(Type::EActionType_PasteSceneItem), pasted ? 0 : -1);
        QCOMPARE(itemCount(), 1 + pasted);
        QCOMPARE(RCCommandManager::instance()->canUndo(), pasted > 0);
        const QStringList now = RCSceneItemPresenter::instance()->getSelectItems(m_sceneId);
        if (pasted)
            QVERIFY(now.size() == pasted && !now.contains(selected.first()));
        else
            QCOMPARE(now, selected);
        QCOMPARE(m_manager->execAction(QString(), QString(), Type::EActionType_PasteSceneItem, QVariant()),
                 -1);
    }
    void flippedBytesNeverCrash()
    {
        const QByteArray valid = RCSceneItemClipboard::encode({labelJson()});
        for (qsizetype i = 0; i < valid.size(); i += 3) {
            for (char flip : {char(0xff), char(0x80)}) {
                QByteArray bytes = valid;
                bytes[i] = char(bytes.at(i) ^ flip);
                const QList<QJsonObject> items = RCSceneItemClipboard::parseItems(bytes);
                QVERIFY(items.size() <= 1);
            }
        }
    }
    void arrange_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QList<QRect>>("before");
        QTest::addColumn<QList<QRect>>("after");
        using R = QRect;
        const QList<QRect> column{R(5, 40, 10, 10), R(20, 10, 10, 50), R(40, 25, 10, 5)};
        auto row = [](const char* name, int type, const QList<QRect>& before, const QList<QRect>& after,
                      const QVariant& data = QVariant()) {
            QTest::addRow("%s", name) << type << data << before << after;
        };
        row("top", Type::EActionType_TopAlignment, column,
            {R(5, 10, 10, 10), R(20, 10, 10, 50), R(40, 10, 10, 5)});
        row("bottom edges", Type::EActionType_BottomAlignment, column,
            {R(5, 50, 10, 10), R(20, 10, 10, 50), R(40, 55, 10, 5)});
        row("left", Type::EActionType_LeftAlignment, {R(30, 0, 10, 10), R(10, 0, 40, 10)},
            {R(10, 0, 10, 10), R(10, 0, 40, 10)});
        row("right edges", Type::EActionType_RightAlignment, {R(30, 0, 10, 10), R(10, 0, 40, 10)},
            {R(40, 0, 10, 10), R(10, 0, 40, 10)});
        row("centres on a horizontal line", Type::EActionType_HorCenterAlignment,
            {R(0, 0, 10, 10), R(0, 100, 10, 30)}, {R(0, 55, 10, 10), R(0, 45, 10, 30)});
        row("same top, other heights", Type::EActionType_HorCenterAlignment,
            {R(0, 0, 10, 10), R(0, 0, 10, 30)}, {R(0, 5, 10, 10), R(0, -5, 10, 30)});
        row("centres already in line", Type::EActionType_VerCenterAlignment,
            {R(0, 0, 10, 10), R(-10, 50, 30, 10)}, {R(0, 0, 10, 10), R(-10, 50, 30, 10)});
        row("centres on a vertical line", Type::EActionType_VerCenterAlignment,
            {R(0, 0, 10, 10), R(100, 9, 30, 10)}, {R(55, 0, 10, 10), R(45, 9, 30, 10)});
        row("one selected", Type::EActionType_TopAlignment, {R(0, 5, 1, 1)}, {R(0, 5, 1, 1)});
        row("distribute across", Type::EActionType_HorBisectorAlignment,
            {R(100, 0, 10, 10), R(50, 3, 20, 10), R(0, 0, 10, 10)},
            {R(100, 0, 10, 10), R(45, 3, 20, 10), R(0, 0, 10, 10)});
        row("distribute a remainder", Type::EActionType_HorBisectorAlignment,
            {R(0, 0, 10, 1), R(10, 0, 10, 1), R(30, 0, 11, 1)},
            {R(0, 0, 10, 1), R(15, 0, 10, 1), R(30, 0, 11, 1)});
        row("distribute keeps the last in place", Type::EActionType_VerBisectorAlignment,
            {R(0, 0, 1, 10), R(0, 5, 1, 10), R(0, 12, 1, 10), R(0, 40, 1, 10)},
            {R(0, 0, 1, 10), R(0, 13, 1, 10), R(0, 26, 1, 10), R(0, 40, 1, 10)});
        row("distribute two", Type::EActionType_VerBisectorAlignment, {R(0, 0, 1, 1), R(0, 9, 1, 1)},
            {R(0, 0, 1, 1), R(0, 9, 1, 1)});
        row("key down", Type::EActionType_SelectItemsMoveByKey, {R(0, 0, 5, 5), R(7, 7, 5, 5)},
            {R(0, 1, 5, 5), R(7, 8, 5, 5)}, int(Qt::Key_Down));
        row("unknown key", Type::EActionType_SelectItemsMoveByKey, {R(0, 0, 5, 5)}, {R(0, 0, 5, 5)},
            int(Qt::Key_A));
        row("shrink never below one", Type::EActionType_SelectItemsScaleByKey, {R(0, 0, 1, 5), R(0, 0, 4, 5)},
            {R(0, 0, 1, 5), R(0, 0, 3, 5)}, int(Qt::Key_Left));
        row("extreme positions stay in range", Type::EActionType_BottomAlignment,
            {R(0, 2147483000, 1, 600), R(0, 0, 1, 10)}, {R(0, 2147483000, 1, 600), R(0, 2147483590, 1, 10)});
    }
    void arrange()
    {
        QFETCH(int, type);
        QFETCH(QVariant, data);
        QFETCH(QList<QRect>, before);
        QFETCH(QList<QRect>, after);
        const QStringList ids = addBoxes(before);
        const bool changes = before != after;
        QCOMPARE(exec(type, data), changes ? 0 : -1);
        QCOMPARE(geometry(ids), after);
        // One undo step restores everything; an edit that changes nothing records nothing.
        QCOMPARE(RCCommandManager::instance()->canUndo(), changes);
        if (changes) {
            Platform::instance()->undo();
            QCOMPARE(geometry(ids), before);
            QVERIFY(!RCCommandManager::instance()->canUndo());
        }
    }

private:
    // Adds selected label items with these geometries; answers their ids.
    QStringList addBoxes(const QList<QRect>& boxes, bool selected = true)
    {
        QStringList ids;
        for (const QRect& box : boxes) {
            RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
            const QString id =
                addControl(m_project->getControlManager(), m_sceneId, IRCControl::EIRCControlType_Label);
            items->setPos(m_sceneId, id, box.topLeft(), false);
            items->setSize(m_sceneId, id, box.size(), false);
            items->setPropertyValue(m_sceneId, id, RCKeys::Select(), selected, false);
            ids.append(id);
        }
        return ids;
    }
    QList<QRect> geometry(const QStringList& ids) const
    {
        QList<QRect> boxes;
        for (const QString& id : ids) {
            RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
            boxes.append(QRect(items->getPos(m_sceneId, id), items->getSize(m_sceneId, id)));
        }
        return boxes;
    }
    int exec(int type, const QVariant& data = QVariant())
    {
        return m_manager->execAction(m_sceneId, QString(), type, data);
    }
    int itemCount() const { return RCSceneItemPresenter::instance()->getItemCount(m_sceneId); }
    static void putOnClipboard(const QByteArray& bytes)
    {
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("sceneItem"), bytes);
        QGuiApplication::clipboard()->setMimeData(mime);
    }
    QJsonObject labelJson()
    {
        m_sceneId = freshScene();
        return RCSceneItemPresenter::instance()
            ->getItemJson(m_sceneId, addBoxes({QRect(1, 2, 3, 4)}, false).first())
            .toObject();
    }
};

QTEST_MAIN(tst_EditingActions)
#include "tst_EditingActions.moc"
