#include "actions/RCAction_SwitchNetworkIp.h"

#include "model/RCKeys.h"
#include "project/IRCProject.h"

#include <QRegularExpression>

bool RCAction_SwitchNetworkIp::isIpv4Address(const QString& text)
{
    static const QRegularExpression kPattern(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = kPattern.match(text);
    if (!match.hasMatch())
        return false;
    for (int group = 1; group <= 4; ++group) {
        if (match.capturedView(group).toInt() > 255)
            return false;
    }
    return true;
}

int RCAction_SwitchNetworkIp::execute(const QString& sceneId, const QString& sceneItemId,
                                      const QVariant& /*data*/)
{
    IRCSetting* setting = project() ? project()->getSetting() : nullptr;
    if (!setting)
        return -1;
    const QString ip = itemValue(sceneId, sceneItemId, RCKeys::Ip()).toString().trimmed();
    if (!ip.isEmpty() && !isIpv4Address(ip)) {
        qWarning("Switch network refused: \"%s\" is not a dotted IPv4 address; the link stays as it is",
                 qUtf8Printable(ip));
        return -1;
    }
    setting->setValue(RCKeys::DefaultIp(), ip);
    return 0;
}
