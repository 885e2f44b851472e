// The veils of the selected views, all drawn by one item over the view layer, look exactly as a
// blue Rectangle at opacity 0.3 filling each view did (whole and fractional pixels, turned views,
// a canvas at a fraction of a pixel, selected after the window was drawn), only in edit mode, only
// over views that ask for one; and they follow the selection.
#include "canvas/RCSceneItemVeilLayer.h"
#include "canvas/RCSceneItemViewLayer.h"

#include <QFile>
#include <QLoggingCategory>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// A view filled with a colour; with `own`, a veil of its own as scene views drew them; otherwise one
// the veil layer draws ("mSelectVeil").
QByteArray viewQml(bool own)
{
    return QByteArray("import QtQuick\nItem {\n    property bool mSelect: false\n    property int mAngle: 0\n"
                      "    property bool mInEditState: false\n    rotation: mAngle\n") +
           (own ? "" : "    readonly property bool mSelectVeil: true\n") +
           "    Rectangle { anchors.fill: parent; color: \"#c08040\" }\n" +
           (own ? "    Rectangle { anchors.fill: parent; color: \"blue\"; opacity: 0.3; "
                  "visible: parent.mSelect && parent.mInEditState }\n"
                : "") +
           "}\n";
}

// The roles of the test's rows, from Qt::UserRole on: itemId, qmlPath, itemX, itemY, itemWidth,
// itemHeight, angle, selected, viewProperties.
void setRoles(QStandardItemModel& model)
{
    const QByteArrayList names{"itemId",     "qmlPath", "itemX",    "itemY",         "itemWidth",
                               "itemHeight", "angle",   "selected", "viewProperties"};
    QHash<int, QByteArray> roles;
    for (int i = 0; i < names.size(); ++i)
        roles.insert(Qt::UserRole + i, names.at(i));
    model.setItemRoleNames(roles);
}

// x, y, width, height, angle (scene units, degrees), selected
using Place = QList<int>;

// The most two images of one size differ by in any channel of any pixel; 256 for images of
// different sizes or none.
int levelsApart(const QImage& first, const QImage& second)
{
    if (first.isNull() || first.size() != second.size())
        return 256;
    int apart = 0;
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            apart = std::max({apart, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return apart;
}

} // namespace

class TestSceneItemVeilLayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // the layer's selection lines, thousands in a crowd
        QLoggingCategory::setFilterRules(u"qml.debug=false"_s);
    }

    void looksLikeAVeilPerView_data()
    {
        QTest::addColumn<qreal>("divisor");
        QTest::addColumn<QPointF>("origin");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QList<Place>>("places");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("whole pixels")
            << 1.0 << QPointF(10, 10) << true
            << QList<Place>{{0, 0, 40, 30, 0, 1}, {50, 0, 30, 20, 0, 0}, {100, 40, 25, 50, 0, 1}} << 0;
        QList<Place> grid;
        for (int i = 0; i < 60; ++i)
            grid.append({20 * (i % 12), 12 * (i / 12), 16, 10, 0, i % 3 != 1});
        QTest::newRow("zoomed out, fractions") << 5.0 << QPointF(10.5, 7.25) << true << grid << 0;
        QTest::newRow("zoomed, fractions") << 2.5 << QPointF(3, 4) << true << grid.mid(0, 20) << 0;
        QTest::newRow("turned") << 1.0 << QPointF(0, 0) << true
                                << QList<Place>{{10, 10, 40, 20, 90, 1},
                                                {70, 10, 40, 20, 30, 1},
                                                {130, 10, 30, 20, 180, 1},
                                                {10, 60, 30, 20, 360, 1},
                                                {70, 60, 30, 20, 270, 0}}
                                << 1;
        QTest::newRow("turned and zoomed")
            << 2.5 << QPointF(5.5, 5) << true
            << QList<Place>{{20, 20, 100, 60, 45, 1}, {200, 20, 90, 50, 90, 1}} << 1;
        // more than a thousand veils come and go at once (select all, then a click that clears it)
        QList<Place> crowd;
        for (int i = 0; i < 1600; ++i)
            crowd.append({20 * (i % 40), 12 * (i / 40), 16, 10, 0, i % 7 != 1});
        QTest::newRow("many at once") << 5.0 << QPointF(10.5, 7.25) << true << crowd << 0;
        // apart enough that no two overlap, however turned
        QList<Place> turned;
        for (int i = 0; i < 1200; ++i)
            turned.append(
                {24 * (i % 40), 24 * (i / 40), 16, 10, i % 4 ? 0 : 90 * (i % 3) + 30 * (i % 8 / 4), 1});
        QTest::newRow("many at once, turned") << 2.5 << QPointF(3, 4) << true << turned << 1;
        QTest::newRow("not in edit mode") << 1.0 << QPointF(10, 10) << false
                                          << QList<Place>{{0, 0, 40, 30, 0, 1}, {50, 0, 30, 20, 0, 1}} << 0;
    }
    void looksLikeAVeilPerView()
    {
        QFETCH(qreal, divisor);
        QFETCH(QPointF, origin);
        QFETCH(bool, edit);
        QFETCH(QList<Place>, places);
        QFETCH(int, tolerance);
        QTemporaryDir dir;
        QString urls[2];
        for (bool own : {false, true}) {
            QFile file(dir.filePath(own ? u"Own.qml"_s : u"Veiled.qml"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(viewQml(own)) > 0);
            urls[own] = QUrl::fromLocalFile(file.fileName()).toString();
        }
        QImage shots[2];
        QImage cleared[2];
        int veils[2] = {-1, -1};
        for (bool own : {false, true}) {
            QStandardItemModel model;
            setRoles(model);
            for (int i = 0; i < places.size(); ++i) {
                auto* row = new QStandardItem;
                row->setData(QString::number(i), Qt::UserRole);
                row->setData(urls[own], Qt::UserRole + 1);
                for (int k = 0; k < 6; ++k)
                    row->setData(k >= 4 ? QVariant(0) : QVariant(places[i][k]), Qt::UserRole + 2 + k);
                row->setData(QVariantMap{{u"mInEditState"_s, edit}}, Qt::UserRole + 8);
                model.appendRow(row);
            }
            QQmlEngine engine;
            QQuickWindow window;
            window.setColor(QColor(0x20, 0x60, 0xa0));
            window.resize(320, 200);
            // the canvas's layers sit inside it, here at a fraction of a pixel; it clips them, as
            // the scene panel's does
            QQuickItem canvas(window.contentItem());
            canvas.setPosition(QPointF(-180.5, -120.25));
            canvas.setSize(QSizeF(1000, 1000));
            canvas.setClip(true);
            RCSceneItemViewLayer views(&canvas);
            views.setPosition(QPointF(200, 140));
            QQmlEngine::setContextForObject(&views, engine.rootContext());
            views.setSize(QSizeF(320, 200));
            views.setOrigin(origin);
            views.setDivisor(divisor);
            views.setModel(&model);
            RCSceneItemVeilLayer layer(&canvas);
            layer.setPosition(views.position());
            layer.setViews(&views);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            (void)window.grabWindow();
            // turned and selected once shown: the test's views show what the layer writes, not
            // their values; the window draws only what changed
            for (int i = 0; i < places.size(); ++i) {
                model.item(i)->setData(places[i][4], Qt::UserRole + 6);
                model.item(i)->setData(places[i][5] != 0, Qt::UserRole + 7);
            }
            shots[own] = window.grabWindow();
            veils[own] = layer.count();
            // a few leave and come back, one by one: the window looks as before
            for (int i = 0; i < qMin(3, int(places.size())); ++i) {
                model.item(i)->setData(false, Qt::UserRole + 7);
                (void)window.grabWindow();
            }
            for (int i = 0; i < qMin(3, int(places.size())); ++i) {
                model.item(i)->setData(places[i][5] != 0, Qt::UserRole + 7);
                (void)window.grabWindow();
            }
            QCOMPARE(levelsApart(window.grabWindow(), shots[own]), 0);
            // all move 3 units right and back, as a drag moves them, a frame each: the window
            // looks as before
            for (int dx : {3, 0}) {
                for (int i = 0; i < places.size(); ++i)
                    model.item(i)->setData(places[i][0] + dx, Qt::UserRole + 2);
                (void)window.grabWindow();
            }
            QCOMPARE(levelsApart(window.grabWindow(), shots[own]), 0);
            // the veils follow the selection, and leave nothing behind
            for (int i = 0; i < places.size(); ++i)
                model.item(i)->setData(false, Qt::UserRole + 7);
            cleared[own] = window.grabWindow();
            QCOMPARE(layer.count(), 0);
        }
        int selected = 0;
        for (const Place& place : places)
            selected += edit && place[5] ? 1 : 0;
        QCOMPARE(veils[0], selected);
        QCOMPARE(veils[1], 0);
        QCOMPARE(shots[0] != cleared[0], selected > 0);
        // antialiased edges of views turned by other than quarter turns may be a level apart
        QCOMPARE_LE(levelsApart(shots[0], shots[1]), tolerance);
        QCOMPARE_LE(levelsApart(cleared[0], cleared[1]), tolerance);
    }

    // Many veils drawn at once, then moved out of the clipping canvas they are in: nothing of them
    // shows outside it.
    void nothingOutsideTheClip()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(u"Veiled.qml"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(viewQml(false)) > 0);
        file.close();
        QStandardItemModel model;
        setRoles(model);
        for (int i = 0; i < 1100; ++i) {
            auto* row = new QStandardItem;
            const QVariantList values{QString::number(i),
                                      QUrl::fromLocalFile(file.fileName()).toString(),
                                      3 * (i % 33),
                                      3 * (i / 33),
                                      2,
                                      2,
                                      0,
                                      false,
                                      QVariantMap{{u"mInEditState"_s, true}}};
            for (int k = 0; k < values.size(); ++k)
                row->setData(values.at(k), Qt::UserRole + k);
            model.appendRow(row);
        }
        QQmlEngine engine;
        QQuickWindow window;
        window.setColor(Qt::white);
        window.resize(320, 200);
        QQuickItem canvas(window.contentItem());
        canvas.setSize(QSizeF(100, 100));
        canvas.setClip(true);
        RCSceneItemViewLayer views(&canvas);
        QQmlEngine::setContextForObject(&views, engine.rootContext());
        views.setSize(QSizeF(100, 100));
        views.setModel(&model);
        RCSceneItemVeilLayer layer(&canvas);
        layer.setViews(&views);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        (void)window.grabWindow();
        for (int i = 0; i < model.rowCount(); ++i)
            model.item(i)->setData(true, Qt::UserRole + 7);
        (void)window.grabWindow();
        QCOMPARE(layer.count(), 1100);
        for (qreal x : {150.0, 200.0}) {
            views.setX(x);
            layer.setX(x);
            const QImage shot = window.grabWindow().convertToFormat(QImage::Format_RGB32);
            int tinted = 0;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 100; x < shot.width(); ++x)
                    tinted += shot.pixel(x, y) != qRgb(255, 255, 255);
            }
            QCOMPARE(tinted, 0);
        }
    }
};

QTEST_MAIN(TestSceneItemVeilLayer)
#include "tst_scene_item_veil_layer.moc"
