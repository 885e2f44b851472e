#include "canvas/RCSceneItemViewSlot.h"

#include "canvas/RCSceneItemKeyTable.h"

#include "model/RCKeys.h"
#include "model/RCSceneItemViews.h"

#include <QColor>
#include <QHash>
#include <QJSEngine>
#include <QJSValue>
#include <QMetaMethod>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>

#include <cmath>
#include <optional>
#include <vector>

namespace {

// A view file: its component, made once per engine, a child of the engine; and the indices of the
// view properties the slot writes, found once per name (-1 for none), as every view made from one
// component is of one type.
struct ViewFile
{
    QPointer<QQmlComponent> component;
    QHash<QString, int> indices;
    // Whether its views are buttons (they declare every property of the button face): known
    // once the first view was made.
    bool faceKnown = false;
    bool isButton = false;
    // Its views' key table, known once the first view was complete; none when it cannot be
    // written from here (that view and those without one read their table themselves).
    bool keysKnown = false;
    std::optional<RCSceneItemKeyTable> keys;
};

// The view file at url in engine, its component made when there is none (any indices kept for an
// earlier one dropped); null without an engine. The entry stays where it is until the next call.
ViewFile* viewFileOf(QQmlEngine* engine, const QUrl& url)
{
    static QHash<QQmlEngine*, QHash<QUrl, ViewFile>> files;
    if (!engine)
        return nullptr;
    ViewFile& file = files[engine][url];
    if (!file.component) {
        file.component = new QQmlComponent(engine, url, QQmlComponent::PreferSynchronous, engine);
        file.indices.clear();
        file.faceKnown = false;
        file.keysKnown = false;
        file.keys.reset();
    }
    return &file;
}

// The property name of view, made from file; invalid (writes do nothing) for a view without it.
QMetaProperty propertyOf(ViewFile* file, const QQuickItem* view, const QString& name)
{
    const QMetaObject* type = view->metaObject();
    auto it = file->indices.constFind(name);
    if (it == file->indices.cend())
        it = file->indices.insert(name, type->indexOfProperty(name.toUtf8().constData()));
    return *it >= 0 ? type->property(*it) : QMetaProperty();
}

// readValue as text, the way readText gives it ("" for none).
QString readText(QJSEngine* engine, const QVariantMap& values, const QString& key)
{
    const QJSValue value = RCSceneItemKeyTable::readValue(engine, values, key, QJSValue(QString()));
    return value.isUndefined() || value.isNull() ? QString() : value.toString();
}

// The properties of a button's face but its icon, each read from the item the way the button's
// script reads it (RCSceneItemShow.js readButton): text as String(), truth as Boolean(), a colour
// as itself when it names one (else white), a size as a positive finite number (else 12).
enum class Kind
{
    Text,
    Bool,
    Color,
    Size
};
struct FaceRow
{
    QString key;
    QString property;
    Kind kind;
    QJSValue fallback;
};
const std::vector<FaceRow>& buttonFace()
{
    static const std::vector<FaceRow> rows = {
        {QStringLiteral("Name"), QStringLiteral("mName"), Kind::Text, QJSValue(QString())},
        {QStringLiteral("ClickAreaCheck"), QStringLiteral("mClickAreaCheck"), Kind::Bool, QJSValue(false)},
        {QStringLiteral("EnableClick"), QStringLiteral("mEnableClick"), Kind::Bool, QJSValue(true)},
        {QStringLiteral("TextColor"), QStringLiteral("mTextColor"), Kind::Color,
         QJSValue(QStringLiteral("white"))},
        {QStringLiteral("TextSize"), QStringLiteral("mTextSize"), Kind::Size, QJSValue(12)},
        {QStringLiteral("TextBold"), QStringLiteral("mTextBold"), Kind::Bool, QJSValue(false)},
    };
    return rows;
}

QVariant faceValue(Kind kind, const QJSValue& value)
{
    switch (kind) {
    case Kind::Text:
        return value.isUndefined() || value.isNull() ? QString() : value.toString();
    case Kind::Bool:
        return value.toBool();
    case Kind::Color: {
        const QString text = value.isUndefined() || value.isNull() ? QString() : value.toString();
        const QColor color = text.isEmpty() ? QColor() : QColor::fromString(text);
        return color.isValid() ? color : QColor(Qt::white);
    }
    case Kind::Size: {
        const double size = value.toNumber();
        return std::isfinite(size) && size > 0 ? size : 12.0;
    }
    }
    return QVariant();
}

// The properties a button declares beside its face rows.
const QString& iconKeyName()
{
    static const QString name = QStringLiteral("mIconKey");
    return name;
}

// path as images (the view's image manager, an RCImageManager) resolves it for loading: unchanged
// without a manager or for "".
QString resolvedIcon(QObject* images, const QString& path)
{
    if (!images || path.isEmpty())
        return path;
    static QHash<const QMetaObject*, QMetaMethod> methods;
    const QMetaObject* type = images->metaObject();
    auto it = methods.constFind(type);
    if (it == methods.cend())
        it = methods.insert(type, type->method(type->indexOfMethod("pathTransformation(QString)")));
    QString url;
    if (!it->isValid() ||
        !it->invoke(images, Qt::DirectConnection, Q_RETURN_ARG(QString, url), Q_ARG(QString, path)))
        return QString();
    return url;
}

} // namespace

RCSceneItemViewSlot::RCSceneItemViewSlot(QQuickItem* parent) : QQuickItem(parent) {}

QString RCSceneItemViewSlot::itemId() const
{
    return m_itemId;
}

void RCSceneItemViewSlot::setItemId(const QString& itemId)
{
    if (itemId == m_itemId)
        return;
    m_itemId = itemId;
    Q_EMIT itemIdChanged();
}

QString RCSceneItemViewSlot::sceneId() const
{
    return m_sceneId;
}

void RCSceneItemViewSlot::setSceneId(const QString& sceneId)
{
    if (sceneId == m_sceneId)
        return;
    m_sceneId = sceneId;
    Q_EMIT sceneIdChanged();
}

QString RCSceneItemViewSlot::qmlPath() const
{
    return m_qmlPath;
}

void RCSceneItemViewSlot::setQmlPath(const QString& qmlPath)
{
    if (qmlPath == m_qmlPath)
        return;
    m_qmlPath = qmlPath;
    Q_EMIT qmlPathChanged();
    if (isComponentComplete())
        makeView();
}

QVariantMap RCSceneItemViewSlot::values() const
{
    return m_values;
}

void RCSceneItemViewSlot::setValues(const QVariantMap& values)
{
    const QVariantMap before = m_values;
    m_values = values;
    if (m_view) {
        QVariantMap changed;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (RCSceneItemViews::inputOf(it.key()) == RCSceneItemViews::Input::Value &&
                before.value(it.key()) != it.value())
                changed.insert(it.key(), it.value());
        }
        if (!changed.isEmpty())
            m_changedValuesProperty.write(m_view, changed);
    }
    Q_EMIT valuesChanged();
}

QVariantMap RCSceneItemViewSlot::viewProperties() const
{
    return m_viewProperties;
}

void RCSceneItemViewSlot::setViewProperties(const QVariantMap& properties)
{
    if (properties == m_viewProperties)
        return;
    const QVariantMap before = m_viewProperties;
    m_viewProperties = properties;
    if (m_view) {
        for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
            if (before.value(it.key()) != it.value())
                QQmlProperty::write(m_view, it.key(), it.value());
        }
        // the image references of the project resolve elsewhere now
        const QString resolution = QStringLiteral("mImageResolution");
        if (m_button && before.value(resolution) != properties.value(resolution))
            writeIcon(m_view);
    }
    Q_EMIT viewPropertiesChanged();
}

bool RCSceneItemViewSlot::selected() const
{
    return m_selected;
}

void RCSceneItemViewSlot::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (m_view)
        m_selectProperty.write(m_view, selected);
    Q_EMIT selectedChanged();
}

int RCSceneItemViewSlot::angle() const
{
    return m_angle;
}

void RCSceneItemViewSlot::setAngle(int angle)
{
    if (angle == m_angle)
        return;
    m_angle = angle;
    if (m_view)
        m_angleProperty.write(m_view, angle);
    Q_EMIT angleChanged();
}

int RCSceneItemViewSlot::itemX() const
{
    return m_itemRect.x();
}

void RCSceneItemViewSlot::setItemX(int x)
{
    if (x == m_itemRect.x())
        return;
    m_itemRect.moveLeft(x);
    place();
}

int RCSceneItemViewSlot::itemY() const
{
    return m_itemRect.y();
}

void RCSceneItemViewSlot::setItemY(int y)
{
    if (y == m_itemRect.y())
        return;
    m_itemRect.moveTop(y);
    place();
}

int RCSceneItemViewSlot::itemWidth() const
{
    return m_itemRect.width();
}

void RCSceneItemViewSlot::setItemWidth(int width)
{
    if (width == m_itemRect.width())
        return;
    m_itemRect.setWidth(width);
    place();
}

int RCSceneItemViewSlot::itemHeight() const
{
    return m_itemRect.height();
}

void RCSceneItemViewSlot::setItemHeight(int height)
{
    if (height == m_itemRect.height())
        return;
    m_itemRect.setHeight(height);
    place();
}

QPointF RCSceneItemViewSlot::origin() const
{
    return m_origin;
}

void RCSceneItemViewSlot::setOrigin(const QPointF& origin)
{
    if (origin == m_origin)
        return;
    m_origin = origin;
    place();
}

qreal RCSceneItemViewSlot::divisor() const
{
    return m_divisor;
}

void RCSceneItemViewSlot::setDivisor(qreal divisor)
{
    if (divisor == m_divisor || !(divisor > 0))
        return;
    m_divisor = divisor;
    place();
}

void RCSceneItemViewSlot::place()
{
    setPosition(m_origin + QPointF(m_itemRect.x(), m_itemRect.y()) / m_divisor);
    setSize(QSizeF(qMax(0, m_itemRect.width()), qMax(0, m_itemRect.height())) / m_divisor);
    Q_EMIT placeChanged();
}

QQuickItem* RCSceneItemViewSlot::item() const
{
    return m_view;
}

bool RCSceneItemViewSlot::showsVeil() const
{
    return m_view && m_veilDeclared && m_inEditState;
}

void RCSceneItemViewSlot::readEditState()
{
    m_inEditState = m_view && m_editStateProperty.read(m_view).toBool();
}

void RCSceneItemViewSlot::componentComplete()
{
    QQuickItem::componentComplete();
    makeView();
}

void RCSceneItemViewSlot::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (m_view && newGeometry.size() != oldGeometry.size())
        m_view->setSize(newGeometry.size());
}

void RCSceneItemViewSlot::makeView()
{
    dropView();
    if (m_qmlPath.isEmpty())
        return;
    const QUrl url(m_qmlPath);
    // no other view is made before completeCreate, so the entry stays put until then
    ViewFile* file = viewFileOf(qmlEngine(this), url);
    if (!file)
        return;
    QQmlComponent* component = file->component;
    if (component->isLoading()) {
        connect(component, &QQmlComponent::statusChanged, this, &RCSceneItemViewSlot::makeView,
                Qt::SingleShotConnection);
        return;
    }
    QObject* object = component->isReady() ? component->beginCreate(qmlContext(this)) : nullptr;
    auto* view = qobject_cast<QQuickItem*>(object);
    if (!view) {
        if (object)
            component->completeCreate();
        delete object;
        qWarning("sceneItemQml is null %s %s", qPrintable(m_qmlPath), qPrintable(component->errorString()));
        return;
    }
    view->setObjectName(QStringLiteral("sceneItemView_") + m_itemId);
    view->setParent(this);
    view->setParentItem(this);
    view->setSize(size());
    // The inputs a view declares hold plain defaults, no bindings, so a write before
    // completeCreate is what an initial property is; a view without one is left alone. The
    // selection and turn are the slot's own, which may have moved since the values were given.
    propertyOf(file, view, QStringLiteral("mSceneId")).write(view, m_sceneId);
    propertyOf(file, view, QStringLiteral("mSceneItemId")).write(view, m_itemId);
    m_selectProperty = propertyOf(file, view, QStringLiteral("mSelect"));
    m_angleProperty = propertyOf(file, view, QStringLiteral("mAngle"));
    m_changedValuesProperty = propertyOf(file, view, QStringLiteral("mChangedValues"));
    m_editStateProperty = propertyOf(file, view, QStringLiteral("mInEditState"));
    for (auto it = m_viewProperties.cbegin(); it != m_viewProperties.cend(); ++it)
        propertyOf(file, view, it.key()).write(view, it.value());
    // after the edit state, which a handler of the selection may read
    m_selectProperty.write(view, m_selected);
    m_angleProperty.write(view, m_angle);
    if (!file->faceKnown) {
        file->faceKnown = true;
        file->isButton = propertyOf(file, view, iconKeyName()).isValid();
        for (const FaceRow& row : buttonFace())
            file->isButton = file->isButton && propertyOf(file, view, row.property).isValid();
    }
    m_button = file->isButton;
    if (m_button) {
        QJSEngine* engine = qmlEngine(this);
        for (const FaceRow& row : buttonFace())
            propertyOf(file, view, row.property)
                .write(view, faceValue(row.kind, RCSceneItemKeyTable::readValue(engine, m_values, row.key,
                                                                                row.fallback)));
        writeIcon(view);
    }
    // The key table's values as initial properties too: the view's bindings then start from them
    // rather than from the defaults it would replace once complete.
    if (file->keys && !file->keys->isEmpty()) {
        file->keys->write(view, qmlEngine(this), m_values);
        propertyOf(file, view, QStringLiteral("mKeysGiven")).write(view, true);
    }
    component->completeCreate();
    // a view made while this one completed may have moved the entry
    file = viewFileOf(qmlEngine(this), url);
    if (!file->keysKnown) {
        file->keysKnown = true;
        file->keys = RCSceneItemKeyTable::of(view, qmlEngine(this));
    }
    m_view = view;
    const QMetaProperty veil = propertyOf(file, view, QStringLiteral("mSelectVeil"));
    m_veilDeclared = veil.isValid() && veil.read(view).toBool();
    if (m_editStateProperty.hasNotifySignal()) {
        static const QMetaMethod readEditState =
            staticMetaObject.method(staticMetaObject.indexOfSlot("readEditState()"));
        connect(view, m_editStateProperty.notifySignal(), this, readEditState);
    }
    readEditState();
    Q_EMIT itemChanged();
}

void RCSceneItemViewSlot::writeIcon(QQuickItem* view)
{
    ViewFile* file = viewFileOf(qmlEngine(this), QUrl(m_qmlPath));
    if (!file)
        return;
    // the key as the view holds it now: a key the view binds to its state is not there before
    // completion, and the view reads its icon again when the key changes
    const QString key = propertyOf(file, view, iconKeyName()).read(view).toString();
    const QString path = key.isEmpty() ? QString() : readText(qmlEngine(this), m_values, key);
    propertyOf(file, view, QStringLiteral("mIconCached")).write(view, path.startsWith(QLatin1String("qrc:")));
    propertyOf(file, view, QStringLiteral("mIconUrl"))
        .write(view,
               resolvedIcon(m_viewProperties.value(QStringLiteral("mImageManager")).value<QObject*>(), path));
    propertyOf(file, view, QStringLiteral("mIconPath")).write(view, path);
}

void RCSceneItemViewSlot::dropView()
{
    if (!m_view)
        return;
    // the view may be the one whose tap changed its file: it goes later
    disconnect(m_view, nullptr, this, nullptr);
    m_view->setVisible(false);
    QQmlProperty::write(m_view, QStringLiteral("mSceneItemPresenter"),
                        QVariant::fromValue<QObject*>(nullptr));
    m_view->deleteLater();
    m_view = nullptr;
    Q_EMIT itemChanged();
}
