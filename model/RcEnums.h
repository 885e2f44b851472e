#pragma once

#include <QObject>

// Carries the enumerations whose values scene-item properties store as plain integers
// ("CustomCmdTcpipType", "SceneList_LayoutType", "TextHAlignment"/"TextVAlignment",
// "PlayStateManager_ProgressBar_ShowTimeType"), so that QML can name them as RcEnums.<value>.
class RcEnums : public QObject
{
    Q_OBJECT
public:
    enum EIRCTcpIpType
    {
        EIRCTcpIpType_tcp = 0,
        EIRCTcpIpType_udp = 1,
    };
    Q_ENUM(EIRCTcpIpType)

    enum EIRCLayoutType
    {
        EIRCLayoutType_Horizontal = 0,
        EIRCLayoutType_Vertical = 1,
    };
    Q_ENUM(EIRCLayoutType)

    enum EIRCTextAlignment
    {
        EIRCTextAlignment_Left = 0,
        EIRCTextAlignment_HCenter = 1,
        EIRCTextAlignment_Right = 2,
        EIRCTextAlignment_Top = 3,
        EIRCTextAlignment_VCenter = 4,
        EIRCTextAlignment_Bottom = 5,
    };
    Q_ENUM(EIRCTextAlignment)

    enum EIRCShowTimeType
    {
        EIRCShowTime_CountDown = 0,
        EIRCShowTime_CountUp = 1,
        EIRCShowTime_CountAll = 2,
    };
    Q_ENUM(EIRCShowTimeType)

    explicit RcEnums(QObject* parent = nullptr) : QObject(parent) {}
};
