#include "model/RCPropertyDisplay.h"

#include "model/RCScriptValue.h"
#include "model/RCTypedValue.h"

#include <QLoggingCategory>

namespace {

const QString kType = QStringLiteral("type");
const QString kData = QStringLiteral("data");

} // namespace

RCPropertyDisplay::RCPropertyDisplay(QObject* parent) : IRCPropertyDisplay(parent) {}

QString RCPropertyDisplay::qmlPathForType(int type)
{
    static const char* const files[] = {
        "RCPropertyRowString.qml",           // 0 String
        "RCPropertyRowIcon.qml",             // 1 Icon
        "RCPropertyRowInt.qml",              // 2 Int
        "RCPropertyRowDouble.qml",           // 3 Double
        "RCPropertyRowComboBox.qml",         // 4 ComboBox
        "RCPropertyRowBool.qml",             // 5 Bool
        "RCPropertyRowRadioButtonGroup.qml", // 6 RadioButtonGroup
        nullptr,                             // 7 Scene
        "RCPropertyRowIp.qml",               // 8 Ip
        "RCPropertyRowTrigger.qml",          // 9 Trigger
        nullptr,                             // 10 Image
        "RCPropertyRowStringList.qml",       // 11 StringList
        "RCPropertyRowScript.qml",           // 12 Script
        "RCPropertyRowTrackList.qml",        // 13 TrackCheckList
        "RCPropertyRowColor.qml",            // 14 Color
        "RCPropertyRowMacAddress.qml",       // 15 MacAddress
    };
    constexpr int count = int(sizeof(files) / sizeof(files[0]));
    if (type < 0 || type >= count || files[type] == nullptr) {
        return QString();
    }
    return QStringLiteral("qrc:/qml/propertyPanel/") + QLatin1String(files[type]);
}

bool RCPropertyDisplay::editsText(int type)
{
    switch (type) {
    case EIRCPropertyDisplayType_String:
    case EIRCPropertyDisplayType_Icon:
    case EIRCPropertyDisplayType_Image:
    case EIRCPropertyDisplayType_Script:
    case EIRCPropertyDisplayType_Ip:
    case EIRCPropertyDisplayType_MacAddress:
        return true;
    default:
        return false;
    }
}

QString RCPropertyDisplay::getQmlPath() const
{
    return qmlPathForType(int(m_type));
}

void RCPropertyDisplay::setType(IRCPropertyDisplay::EIRCPropertyDisplayType type)
{
    m_type = type;
}

IRCPropertyDisplay::EIRCPropertyDisplayType RCPropertyDisplay::getType() const
{
    return m_type;
}

void RCPropertyDisplay::setData(QString sKey, QVariant data)
{
    const QVariant plain = unwrapScriptValue(data);
    if (exceedsValueNesting(plain)) {
        qWarning().noquote() << "RCPropertyDisplay::setData refused data" << sKey << "nested deeper than"
                             << kMaxValueNesting << "levels";
        return;
    }
    m_data.insert(sKey, plain);
}

QVariant RCPropertyDisplay::getData(QString sKey) const
{
    return m_data.value(sKey);
}

QJsonObject RCPropertyDisplay::toJson() const
{
    QJsonObject data;
    for (auto it = m_data.cbegin(); it != m_data.cend(); ++it) {
        bool ok = true;
        const QJsonValue value = variantToJsonValue(it.value(), &ok);
        if (!ok) {
            qWarning().noquote() << "RCPropertyDisplay::toJson cannot write data" << it.key() << "of type"
                                 << it.value().typeName() << ", written as null";
        }
        data.insert(it.key(), ok ? value : QJsonValue(QJsonValue::Null));
    }
    QJsonObject record;
    record.insert(kData, data);
    record.insert(kType, int(m_type));
    return record;
}

void RCPropertyDisplay::fromJson(const QJsonObject& jsObj)
{
    const QJsonObject data = jsObj.value(kData).toObject();
    for (auto it = data.constBegin(); it != data.constEnd(); ++it) {
        bool ok = true;
        const QVariant value = jsonValueToVariant(it.value(), &ok);
        if (!ok) {
            qWarning().noquote() << "RCPropertyDisplay::fromJson cannot read data" << it.key() << ", skipped";
            continue;
        }
        m_data.insert(it.key(), value);
    }
    m_type = EIRCPropertyDisplayType(jsObj.value(kType).toInt());
}
