// The catalogue data. This file is one long table on purpose: every row of every kind stands here
// once, in the order in which it is added to the kind's template, so that the catalogue can be
// read and reviewed like a document.
#include "model/RCControlCatalogueTable.h"

#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"

#include <QtGlobal>

namespace {

using Row = RCControlCatalogueTable::Row;
using Value = RCControlCatalogueTable::Value;
using Choice = RCControlCatalogueTable::Choice;
using ChoiceList = RCControlCatalogueTable::ChoiceList;
using Kind = RCControlCatalogueTable::Kind;
using KeyFn = RCControlCatalogueTable::KeyFn;

constexpr int String = IRCPropertyDisplay::EIRCPropertyDisplayType_String;
constexpr int Icon = IRCPropertyDisplay::EIRCPropertyDisplayType_Icon;
constexpr int Int = IRCPropertyDisplay::EIRCPropertyDisplayType_Int;
constexpr int Double = IRCPropertyDisplay::EIRCPropertyDisplayType_Double;
constexpr int ComboBox = IRCPropertyDisplay::EIRCPropertyDisplayType_ComboBox;
constexpr int Bool = IRCPropertyDisplay::EIRCPropertyDisplayType_Bool;
constexpr int RadioButtonGroup = IRCPropertyDisplay::EIRCPropertyDisplayType_RadioButtonGroup;
constexpr int Ip = IRCPropertyDisplay::EIRCPropertyDisplayType_Ip;
constexpr int StringList = IRCPropertyDisplay::EIRCPropertyDisplayType_StringList;
constexpr int Script = IRCPropertyDisplay::EIRCPropertyDisplayType_Script;
constexpr int TrackCheckList = IRCPropertyDisplay::EIRCPropertyDisplayType_TrackCheckList;
constexpr int Color = IRCPropertyDisplay::EIRCPropertyDisplayType_Color;
constexpr int MacAddress = IRCPropertyDisplay::EIRCPropertyDisplayType_MacAddress;

// Typed defaults.
constexpr Value num(int i)
{
    return {Value::Int, i, 0.0, false, nullptr, nullptr};
}
constexpr Value real(double d)
{
    return {Value::Double, 0, d, false, nullptr, nullptr};
}
constexpr Value flag(bool b)
{
    return {Value::Bool, 0, 0.0, b, nullptr, nullptr};
}
constexpr Value str(const char* s)
{
    return {Value::String, 0, 0.0, false, s, nullptr};
}
constexpr Value trStr(const char* s)
{
    return {Value::TrString, 0, 0.0, false, s, nullptr};
}
constexpr Value kindName()
{
    return {Value::KindName, 0, 0.0, false, nullptr, nullptr};
}
constexpr Value keyList(const KeyFn* keys)
{
    return {Value::StringList, 0, 0.0, false, nullptr, keys};
}

// Row flags.
struct Flags
{
    bool readOnly;
    bool visible;
};
constexpr Flags RW{false, true};         // editable and shown
constexpr Flags RO_HIDDEN{true, false};  // fixed and not shown
constexpr Flags RW_HIDDEN{false, false}; // editable by the program, not shown

constexpr Row row(KeyFn key, const char* description, int display, Value value, Flags f = RW,
                  const ChoiceList* choices = nullptr)
{
    return {key, description, f.readOnly, f.visible, display, value, choices};
}

// Choice lists.
constexpr Choice kProgramListChoices[] = {
    {QT_TRANSLATE_NOOP("RCProject", "视频列表"), 0},
    {QT_TRANSLATE_NOOP("RCProject", "音频列表"), 1},
    {QT_TRANSLATE_NOOP("RCProject", "字幕"), 2},
};
constexpr ChoiceList kProgramList{kProgramListChoices, 3, true};

constexpr Choice kTcpIpChoices[] = {{"tcp", 0}, {"udp", 1}};
constexpr ChoiceList kTcpIp{kTcpIpChoices, 2, false};

constexpr Choice kHAlignChoices[] = {
    {QT_TRANSLATE_NOOP("RCProject", "靠左"), 0},
    {QT_TRANSLATE_NOOP("RCProject", "居中"), 1},
    {QT_TRANSLATE_NOOP("RCProject", "靠右"), 2},
};
constexpr ChoiceList kHAlign{kHAlignChoices, 3, true};

constexpr Choice kVAlignChoices[] = {
    {QT_TRANSLATE_NOOP("RCProject", "靠上"), 3},
    {QT_TRANSLATE_NOOP("RCProject", "居中"), 4},
    {QT_TRANSLATE_NOOP("RCProject", "靠下"), 5},
};
constexpr ChoiceList kVAlign{kVAlignChoices, 3, true};

constexpr Choice kShowTimeChoices[] = {
    {QT_TRANSLATE_NOOP("RCProject", "倒计时"), 0},
    {QT_TRANSLATE_NOOP("RCProject", "正计时"), 1},
    {QT_TRANSLATE_NOOP("RCProject", "倒计时、正计时"), 2},
};
constexpr ChoiceList kShowTime{kShowTimeChoices, 3, true};

constexpr Choice kLayoutChoices[] = {
    {QT_TRANSLATE_NOOP("RCProject", "横向"), 0},
    {QT_TRANSLATE_NOOP("RCProject", "竖向"), 1},
};
constexpr ChoiceList kLayout{kLayoutChoices, 2, true};

// Key lists of the command rows.
constexpr KeyFn kCustomCmdKeys[] = {RCKeys::CustomCmdTcpipType, RCKeys::CustomCmdToIp,
                                    RCKeys::CustomCmdToPort, RCKeys::CustomCmd, nullptr};
constexpr KeyFn kSecKeys[] = {RCKeys::Sec, nullptr};

// Standard rows shared by many kinds.
constexpr Row name()
{
    return row(RCKeys::Name, QT_TRANSLATE_NOOP("QObject", "名称"), String, kindName());
}
constexpr Row iconPath(const char* path, const char* description = QT_TRANSLATE_NOOP("QObject", "图标路径"))
{
    return row(RCKeys::IconPath, description, Icon, str(path));
}
constexpr Row cmdType(const char* command)
{
    return row(RCKeys::CmdType, QT_TRANSLATE_NOOP("QObject", "命令类型"), String, str(command), RO_HIDDEN);
}
constexpr Row actionType(int type)
{
    return row(RCKeys::ActionType, QT_TRANSLATE_NOOP("QObject", "动作类型"), Int, num(type), RO_HIDDEN);
}
constexpr Row cmdProNameList(const KeyFn* keys)
{
    return row(RCKeys::CmdProNameList, QT_TRANSLATE_NOOP("QObject", "命令属性列表"), StringList,
               keyList(keys), RO_HIDDEN);
}
constexpr Row clickAreaCheck()
{
    return row(RCKeys::ClickAreaCheck, QT_TRANSLATE_NOOP("QObject", "透明区域不触发"), Bool, flag(false));
}
constexpr Row programListType()
{
    return row(RCKeys::ProgramListType, QT_TRANSLATE_NOOP("QObject", "节目类型"), ComboBox, num(0), RW,
               &kProgramList);
}

// Action types that the buttons trigger (IRCAction::EActionType).
constexpr int SendCmd = 1;
constexpr int StartupMachine = 19;
constexpr int SwitchScene = 35;
constexpr int RandPlay = 41;
constexpr int StopMultipleTrack = 42;
constexpr int VexaPlayOrPauseProgram = 43;
constexpr int VexaStopProgram = 44;
constexpr int VexaPlayNextProgram = 45;
constexpr int VexaPlayPreProgram = 46;
constexpr int VexaSwitchOutput = 47;
constexpr int SwitchNetworkIp = 51;

#define TR(text) QT_TRANSLATE_NOOP("QObject", text)

// The tables keep one row per line; automatic formatting would pack them.
// clang-format off

// ---- Buttons and small kinds ----

constexpr Row kCustom[] = {
    name(),
    row(RCKeys::CustomCmdTcpipType, TR("网络类型"), RadioButtonGroup, num(0), RW, &kTcpIp),
    row(RCKeys::CustomCmdToIp, TR("Ip"), Ip, str("")),
    row(RCKeys::CustomCmdToPort, TR("Port"), Int, num(0)),
    row(RCKeys::CustomCmd, TR("命令"), String, str("")),
    iconPath("qrc:/control/custom.png"),
    cmdType("customCmd"),
    actionType(SendCmd),
    cmdProNameList(kCustomCmdKeys),
    clickAreaCheck(),
};

constexpr Row kStageLink[] = {
    name(),
    row(RCKeys::StageLinkIconPath, TR("舞台连线图标路径"), Icon, str("qrc:/control/stageLink.png")),
    row(RCKeys::StageDislinkIconPath, TR("舞台断线图标路径"), Icon, str("qrc:/control/cancelStageLink.png")),
    clickAreaCheck(),
};

constexpr Row kStandby[] = {
    name(),
    row(RCKeys::StandbyIconPath, TR("待命图标路径"), Icon, str("qrc:/control/standby.png")),
    row(RCKeys::ExecuteIconPath, TR("执行图标路径"), Icon, str("qrc:/control/standby.png")),
    clickAreaCheck(),
};

constexpr Row kPlayPre[] = {
    name(),
    iconPath("qrc:/control/playPre.png"),
    cmdType("playPreProgram"),
    actionType(SendCmd),
    clickAreaCheck(),
};

constexpr Row kPlayNext[] = {
    name(),
    iconPath("qrc:/control/playNext.png"),
    cmdType("playNextProgram"),
    actionType(SendCmd),
    clickAreaCheck(),
};

constexpr Row kStopAllProgram[] = {
    name(),
    iconPath("qrc:/control/stop.png"),
    cmdType("stopAllProgram"),
    actionType(SendCmd),
    clickAreaCheck(),
};

constexpr Row kFastForward[] = {
    name(),
    row(RCKeys::Sec, TR("秒"), Double, real(5.0)),
    iconPath("qrc:/control/fastForward.png"),
    cmdType("fastForwardCurrentProgram"),
    actionType(SendCmd),
    cmdProNameList(kSecKeys),
    clickAreaCheck(),
};

constexpr Row kFastBack[] = {
    name(),
    row(RCKeys::Sec, TR("秒"), Double, real(5.0)),
    iconPath("qrc:/control/fastBack.png"),
    cmdType("fastBackCurrentProgram"),
    actionType(SendCmd),
    cmdProNameList(kSecKeys),
    clickAreaCheck(),
};

constexpr Row kCurrentProgramState[] = {
    name(),
    row(RCKeys::PlayIconPath, TR("播放图标路径"), Icon, str("qrc:/control/play.png")),
    row(RCKeys::PauseIconPath, TR("暂停图标路径"), Icon, str("qrc:/control/pause.png")),
    clickAreaCheck(),
};

constexpr Row kOpenDisplay[] = {
    name(),
    iconPath("qrc:/control/openDisplay.png"),
    cmdType("openAllDisplay"),
    actionType(SendCmd),
    clickAreaCheck(),
};

// The open-state icon shows the action that a tap takes (closing), and the other way round.
constexpr Row kDisplayState[] = {
    name(),
    row(RCKeys::DisplayOpenIconPath, TR("打开时图标路径"), Icon, str("qrc:/control/closeDisplay.png")),
    row(RCKeys::DisplayCloseIconPath, TR("关闭时图标路径"), Icon, str("qrc:/control/openDisplay.png")),
    clickAreaCheck(),
};

constexpr Row kCloseDisplay[] = {
    name(),
    iconPath("qrc:/control/closeDisplay.png"),
    cmdType("closeAllDisplay"),
    actionType(SendCmd),
    clickAreaCheck(),
};

constexpr Row kTrackPlay[] = {
    name(),
    row(RCKeys::TrackName, TR("时间线名称"), String, str("")),
    row(RCKeys::PlayIconPath, TR("播放图标路径"), Icon, str("qrc:/control/trackPlay.png")),
    row(RCKeys::PauseIconPath, TR("暂停图标路径"), Icon, str("qrc:/control/trackPause.png")),
    clickAreaCheck(),
};

constexpr Row kTrackStop[] = {
    name(),
    row(RCKeys::TrackName, TR("时间线名称"), String, str("")),
    row(RCKeys::StopIconPath, TR("停止图标路径"), Icon, str("qrc:/control/trackStop.png")),
    row(RCKeys::RunIconPath, TR("运行图标路径"), Icon, str("qrc:/control/trackRun.png")),
    clickAreaCheck(),
};

constexpr Row kStartup[] = {
    name(),
    row(RCKeys::MacAddress, TR("Mac地址"), MacAddress, str("00-00-00-00-00-00")),
    iconPath("qrc:/control/startup.png"),
    actionType(StartupMachine),
    clickAreaCheck(),
};

constexpr Row kLabel[] = {
    name(),
    row(RCKeys::TextHAlignment, TR("横向对齐"), ComboBox, num(0), RW, &kHAlign),
    row(RCKeys::TextVAlignment, TR("竖向对齐"), ComboBox, num(4), RW, &kVAlign),
    iconPath(""),
    row(RCKeys::EnableClick, TR("允许点击"), Bool, flag(false), RO_HIDDEN),
    clickAreaCheck(),
};

constexpr Row kProgramTable[] = {
    name(),
};

constexpr Row kSwitchScene[] = {
    name(),
    iconPath("qrc:/control/switchScene.png", TR("图标")),
    row(RCKeys::SceneName, TR("场景名称"), String, str("")),
    actionType(SwitchScene),
};

// The script button runs its script itself; its action type is the one stored projects carry.
constexpr Row kScript[] = {
    name(),
    row(RCKeys::ScriptNoBusyingIconPath, TR("脚本不忙碌图标"), Icon, str("qrc:/control/script.png")),
    row(RCKeys::ScriptBusyingIconPath, TR("脚本忙碌图标"), Icon, str("qrc:/control/scriptBusying.png")),
    row(RCKeys::Script, TR("脚本"), Script, str("")),
    actionType(SwitchScene),
};

constexpr Row kNetLink[] = {
    name(),
    row(RCKeys::Title, TR("连接窗口标题"), String, trStr(TR("连接"))),
    row(RCKeys::StateInfoVisible, TR("显示状态信息"), Bool, flag(false)),
    row(RCKeys::NetLinkIconPath, TR("连接图标"), Icon, str("qrc:/control/connect.png")),
    row(RCKeys::NetDislinkIconPath, TR("断开图标"), Icon, str("qrc:/control/disconnect.png")),
    row(RCKeys::NetDownloadIconPath, TR("加载图标"), Icon, str("qrc:/control/download.png")),
    row(RCKeys::EnableClick, TR("允许点击"), Bool, flag(true)),
};

constexpr Row kExit[] = {
    name(),
    iconPath("qrc:/control/exit.png", TR("图标")),
};

constexpr Row kRandPlay[] = {
    name(),
    iconPath("qrc:/control/randPlay.png"),
    actionType(RandPlay),
    row(RCKeys::TrackNameList, TR("随机播放"), TrackCheckList, str("")),
    clickAreaCheck(),
};

constexpr Row kStopMultipleTrack[] = {
    name(),
    iconPath("qrc:/control/trackStop.png"),
    actionType(StopMultipleTrack),
    row(RCKeys::TrackNameList, TR("时间线列表"), TrackCheckList, str("")),
    clickAreaCheck(),
};

constexpr Row kVexaPlayOrPause[] = {
    name(),
    iconPath("qrc:/control/play.png"),
    actionType(VexaPlayOrPauseProgram),
    programListType(),
    clickAreaCheck(),
};

constexpr Row kVexaStop[] = {
    name(),
    iconPath("qrc:/control/stop.png"),
    actionType(VexaStopProgram),
    programListType(),
    clickAreaCheck(),
};

constexpr Row kVexaPlayPre[] = {
    name(),
    iconPath("qrc:/control/playPre.png"),
    actionType(VexaPlayPreProgram),
    programListType(),
    clickAreaCheck(),
};

constexpr Row kVexaPlayNext[] = {
    name(),
    iconPath("qrc:/control/playNext.png"),
    actionType(VexaPlayNextProgram),
    programListType(),
    clickAreaCheck(),
};

constexpr Row kVexaSwitchOutput[] = {
    name(),
    iconPath("qrc:/control/randPlay.png"),
    actionType(VexaSwitchOutput),
    clickAreaCheck(),
};

constexpr Row kSwitchNetwork[] = {
    name(),
    row(RCKeys::Ip, TR("IP"), String, trStr("")),
    iconPath("qrc:/control/custom.png"),
    actionType(SwitchNetworkIp),
    clickAreaCheck(),
};

constexpr Row kJoinProject[] = {
    name(),
    row(RCKeys::StateInfoVisible, TR("显示状态信息"), Bool, flag(false)),
    row(RCKeys::JoinProjectIconPath, TR("加入图标"), Icon, str("qrc:/control/joinProject.png")),
    row(RCKeys::ExitProjectIconPath, TR("未加入图标"), Icon, str("qrc:/control/exitProject.png")),
    row(RCKeys::EnableClick, TR("允许点击"), Bool, flag(true)),
};

// ---- Stage view and program views ----

constexpr Row kStageView[] = {
    name(),
    row(RCKeys::BackgroundColor, TR("背景颜色"), Color, str("#1a1a1c")),
    row(RCKeys::TitleBackgroundColor, TR("标题栏背景色"), Color, str("#3d3c3e")),
    row(RCKeys::TitleHeight, TR("标题栏高度"), Int, num(45)),
};

constexpr Row kProgramManager[] = {
    name(),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, str("#0343C4")),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(2)),
    row(RCKeys::FrameMargin, TR("边框边缘"), Int, num(2)),
    row(RCKeys::ProgramManager_BackgroundColor, TR("背景颜色"), Color, str("#1A1A1C")),
    row(RCKeys::ProgramManager_Node_FrameSize, TR("节点边框大小"), Int, num(1)),
    row(RCKeys::ProgramManager_Node_FrameColor, TR("节点边框颜色"), Color, str("#707070")),
    row(RCKeys::ProgramManager_Node_Width, TR("节点宽度"), Int, num(59)),
    row(RCKeys::ProgramManager_Node_Height, TR("节点高度"), Int, num(59)),
    row(RCKeys::ProgramManager_Node_Radius, TR("节点边角弧度"), Int, num(4)),
    row(RCKeys::ProgramManager_Node_HorSpaceing, TR("节点横向间距"), Int, num(13)),
    row(RCKeys::ProgramManager_Node_VerSpaceing, TR("节点纵向间距"), Int, num(13)),
    row(RCKeys::ProgramManager_Node_PlayColor, TR("节点播放颜色"), Color, str("#079BF9")),
    row(RCKeys::ProgramManager_Node_PauseColor, TR("节点暂停颜色"), Color, str("#1F41E7")),
    row(RCKeys::ProgramManager_Node_StopColor, TR("节点停止颜色"), Color, str("#E7341F")),
    row(RCKeys::ProgramManager_Node_TextPlayColor, TR("节点文本播放颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextPauseColor, TR("节点文本暂停颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextStopColor, TR("节点文本停止颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextSize, TR("节点文本大小"), Int, num(12)),
    row(RCKeys::ProgramManager_Tab_Visible, TR("Tab显示状态"), Bool, flag(false), RW_HIDDEN),
    row(RCKeys::ProgramManager_Tab_TextCheckedColor, TR("Tab文字选中颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Tab_TextSize, TR("Tab文字大小"), Int, num(12)),
    row(RCKeys::ProgramManager_Tab_TextColor, TR("Tab文字颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Tab_CheckedColor, TR("Tab选中颜色"), Color, str("#3F3E40")),
    row(RCKeys::ProgramManager_Tab_Color, TR("Tab颜色"), Color, str("#262627")),
    row(RCKeys::ProgramManager_Tab_Width, TR("Tab宽度"), Int, num(37)),
    row(RCKeys::ProgramManager_Tab_Height, TR("Tab高度"), Int, num(20)),
    row(RCKeys::ProgramManager_Tab_Radius, TR("Tab弧度"), Int, num(4)),
    row(RCKeys::ProgramManager_Tab_Spacing, TR("Tab间隔"), Int, num(7)),
    row(RCKeys::TitleBackgroundColor, TR("标题栏背景色"), Color, str("#3d3c3e")),
    row(RCKeys::TitleHeight, TR("标题栏高度"), Int, num(45)),
};

constexpr Row kPlayStateManager[] = {
    name(),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, str("#0343C4")),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(2)),
    row(RCKeys::FrameMargin, TR("边框边缘"), Int, num(0)),
    row(RCKeys::Spaceing, TR("状态间隔"), Int, num(5)),
    row(RCKeys::PlayStateManager_ProgressBar_Height, TR("进度条高度"), Int, num(39)),
    row(RCKeys::PlayStateManager_ProgressBar_WindowTextColor, TR("窗口字体颜色"), Color, str("white")),
    row(RCKeys::PlayStateManager_ProgressBar_WindowTextSize, TR("窗口字体大小"), Int, num(12)),
    row(RCKeys::PlayStateManager_ProgressBar_NodeTextColor, TR("节点字体颜色"), Color, str("white")),
    row(RCKeys::PlayStateManager_ProgressBar_NodeTextSize, TR("节点字体大小"), Int, num(12)),
    row(RCKeys::PlayStateManager_ProgressBar_TimeTextColor, TR("正计时字体颜色"), Color, str("green")),
    row(RCKeys::PlayStateManager_ProgressBar_TimeDownTextColor, TR("倒计时字体颜色"), Color, str("white")),
    row(RCKeys::PlayStateManager_ProgressBar_TimeTextSize, TR("时间字体大小"), Int, num(12)),
    row(RCKeys::PlayStateManager_ProgressBar_BackgroundColor, TR("进度条背景颜色"), Color, str("#707070")),
    row(RCKeys::PlayStateManager_ProgressBar_FrameSize, TR("进度条边框大小"), Int, num(0)),
    row(RCKeys::PlayStateManager_ProgressBar_FrameColor, TR("进度条边框颜色"), Color, str("transparent")),
    row(RCKeys::PlayStateManager_ProgressBar_Radius, TR("进度条边角弧度"), Int, num(4)),
    row(RCKeys::PlayStateManager_ProgressBar_HandleColor, TR("进度条渐变起始颜色"), Color, str("#079CF8")),
    row(RCKeys::PlayStateManager_ProgressBar_HandleColorEnd, TR("进度条渐变结束颜色"), Color, str("#0AD8C1")),
    row(RCKeys::PlayStateManager_ProgressBar_HandleOpacity, TR("进度条透明度"), Double, num(1)),
    row(RCKeys::PlayStateManager_ProgressBar_ShowTimeType, TR("显示正计时、倒计时"), ComboBox, num(0), RW,
        &kShowTime),
    row(RCKeys::PlayStateManager_ProgressBar_PlayIconPath, TR("播放图标"), Icon,
        str("qrc:/control/progressPlay.png")),
    row(RCKeys::PlayStateManager_ProgressBar_PauseIconPath, TR("暂停图标"), Icon,
        str("qrc:/control/progressPause.png")),
    row(RCKeys::PlayStateManager_ProgressBar_SliderIconPath, TR("滑块图标"), Icon,
        str("qrc:/control/progressSlider.png")),
    row(RCKeys::BackgroundColor, TR("背景颜色"), Color, str("#1a1a1c")),
    row(RCKeys::TitleBackgroundColor, TR("标题栏背景色"), Color, str("#3d3c3e")),
    row(RCKeys::TitleHeight, TR("标题栏高度"), Int, num(45)),
};

constexpr Row kVexaProgramManager[] = {
    name(),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, trStr(TR("gray"))),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(5)),
    row(RCKeys::FrameMargin, TR("边框边缘"), Int, num(5)),
    row(RCKeys::ProgramManager_BackgroundColor, TR("背景颜色"), Color, str("transparent")),
    row(RCKeys::ProgramManager_Tab_TextCheckedColor, TR("Tab文字选中颜色"), Color, str("black")),
    row(RCKeys::ProgramManager_Tab_TextSize, TR("Tab文字大小"), Int, num(24)),
    row(RCKeys::ProgramManager_Tab_TextColor, TR("Tab文字颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Tab_CheckedColor, TR("Tab选中颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Tab_Color, TR("Tab颜色"), Color, str("black")),
    row(RCKeys::ProgramManager_Tab_Width, TR("Tab宽度"), Int, num(60)),
    row(RCKeys::ProgramManager_Tab_Height, TR("Tab高度"), Int, num(30)),
    row(RCKeys::ProgramManager_Tab_Radius, TR("Tab弧度"), Int, num(5)),
    row(RCKeys::ProgramManager_Node_FrameSize, TR("节点边框大小"), Int, num(2)),
    row(RCKeys::ProgramManager_Node_FrameColor, TR("节点边框颜色"), Color, str("gray")),
    row(RCKeys::ProgramManager_Node_Width, TR("节点宽度"), Int, num(60)),
    row(RCKeys::ProgramManager_Node_Height, TR("节点高度"), Int, num(60)),
    row(RCKeys::ProgramManager_Node_Radius, TR("节点边角弧度"), Int, num(0)),
    row(RCKeys::ProgramManager_Node_HorSpaceing, TR("节点横向间距"), Int, num(10)),
    row(RCKeys::ProgramManager_Node_VerSpaceing, TR("节点纵向间距"), Int, num(10)),
    row(RCKeys::ProgramManager_Node_PlayColor, TR("节点播放颜色"), Color, str("green")),
    row(RCKeys::ProgramManager_Node_PauseColor, TR("节点暂停颜色"), Color, str("yellow")),
    row(RCKeys::ProgramManager_Node_StopColor, TR("节点停止颜色"), Color, str("red")),
    row(RCKeys::ProgramManager_Node_TextPlayColor, TR("节点文本播放颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextPauseColor, TR("节点文本暂停颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextStopColor, TR("节点文本停止颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextSize, TR("节点文本大小"), Int, num(12)),
    programListType(),
};

constexpr Row kQuenorProgramManager[] = {
    name(),
    row(RCKeys::TrackName, TR("时间线名称"), String, trStr("")),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, trStr(TR("gray"))),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(5)),
    row(RCKeys::FrameMargin, TR("边框边缘"), Int, num(5)),
    row(RCKeys::ProgramManager_BackgroundColor, TR("背景颜色"), Color, str("transparent")),
    row(RCKeys::ProgramManager_Node_FrameSize, TR("节点边框大小"), Int, num(2)),
    row(RCKeys::ProgramManager_Node_FrameColor, TR("节点边框颜色"), Color, str("gray")),
    row(RCKeys::ProgramManager_Node_Width, TR("节点宽度"), Int, num(60)),
    row(RCKeys::ProgramManager_Node_Height, TR("节点高度"), Int, num(60)),
    row(RCKeys::ProgramManager_Node_Radius, TR("节点边角弧度"), Int, num(0)),
    row(RCKeys::ProgramManager_Node_HorSpaceing, TR("节点横向间距"), Int, num(10)),
    row(RCKeys::ProgramManager_Node_VerSpaceing, TR("节点纵向间距"), Int, num(10)),
    row(RCKeys::ProgramManager_Node_PlayColor, TR("节点播放颜色"), Color, str("green")),
    row(RCKeys::ProgramManager_Node_PauseColor, TR("节点暂停颜色"), Color, str("yellow")),
    row(RCKeys::ProgramManager_Node_StopColor, TR("节点停止颜色"), Color, str("red")),
    row(RCKeys::ProgramManager_Node_TextPlayColor, TR("节点文本播放颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextPauseColor, TR("节点文本暂停颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextStopColor, TR("节点文本停止颜色"), Color, str("white")),
    row(RCKeys::ProgramManager_Node_TextSize, TR("节点文本大小"), Int, num(12)),
};

// ---- Sliders, lists and Vexa program displays ----

// The two sliders share one view; ProName names the global property of the media server.
constexpr Row kGlobalVolume[] = {
    name(),
    row(RCKeys::ProName, TR("属性名称"), String, str("Volume"), RO_HIDDEN),
    row(RCKeys::MaxIntValue, TR("最大值"), Int, num(100), RO_HIDDEN),
    row(RCKeys::MinIntValue, TR("最小值"), Int, num(0), RO_HIDDEN),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(0)),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, str("red")),
    row(RCKeys::Slider_BackgroundColor, TR("背景色"), Color, str("#707070")),
    row(RCKeys::Slider_HandlerColor, TR("进度条渐变起始颜色"), Color, str("#2E07DB")),
    row(RCKeys::Slider_HandlerColorEnd, TR("进度条渐变结束颜色"), Color, str("#079BF9")),
    row(RCKeys::Slider_HandlerOpacity, TR("进度条透明度"), Double, num(1)),
    row(RCKeys::Slider_HandlerIconPath, TR("滑块图标"), Icon, str("qrc:/control/progressSlider.png")),
    row(RCKeys::Slider_Radius, TR("边角弧度"), Int, num(4)),
    row(RCKeys::Slider_ResetIconPath, TR("重置图标"), Icon, str("qrc:/reset.png")),
    row(RCKeys::Slider_Default, TR("默认值"), Double, num(80)),
};

constexpr Row kGlobalBrightness[] = {
    name(),
    row(RCKeys::ProName, TR("属性名称"), String, str("Brightness"), RO_HIDDEN),
    row(RCKeys::MaxIntValue, TR("最大值"), Int, num(100)),
    row(RCKeys::MinIntValue, TR("最小值"), Int, num(-100)),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(0)),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, str("red")),
    row(RCKeys::Slider_BackgroundColor, TR("背景色"), Color, str("#707070")),
    row(RCKeys::Slider_HandlerColor, TR("进度条渐变起始颜色"), Color, str("#2E07DB")),
    row(RCKeys::Slider_HandlerColorEnd, TR("进度条渐变结束颜色"), Color, str("#079BF9")),
    row(RCKeys::Slider_HandlerOpacity, TR("进度条透明度"), Double, num(1)),
    row(RCKeys::Slider_HandlerIconPath, TR("滑块图标"), Icon, str("qrc:/control/progressSlider.png")),
    row(RCKeys::Slider_Radius, TR("边角弧度"), Int, num(4)),
    row(RCKeys::Slider_ResetIconPath, TR("重置图标"), Icon, str("qrc:/reset.png")),
    row(RCKeys::Slider_Default, TR("重置值"), Double, num(0)),
};

constexpr Row kVexaProgress[] = {
    row(RCKeys::Name, TR("名称"), String, trStr(TR("进度"))),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(1)),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, str("red")),
    row(RCKeys::Slider_BackgroundColor, TR("背景色"), Color, str("transparent")),
    row(RCKeys::Slider_Radius, TR("边角弧度"), Int, num(0)),
    row(RCKeys::Slider_HandlerColor, TR("进度颜色"), Color, str("red")),
    row(RCKeys::Slider_HandlerIconPath, TR("滑块图标"), Icon, str("qrc:/sliderHandler.png")),
    row(RCKeys::Slider_HandlerIconWidth, TR("滑块图标宽度"), Int, num(20)),
    row(RCKeys::Slider_HandlerIconHeight, TR("滑块图标高度"), Int, num(20)),
    programListType(),
};

// Elapsed time, playing name and remaining time differ only in their view file and name.
constexpr Row kVexaProgramText[] = {
    name(),
    row(RCKeys::BackgroundColor, TR("背景颜色"), Color, str("black")),
    programListType(),
};

constexpr Row kSceneList[] = {
    name(),
    row(RCKeys::TypeNameList, TR("场景列表"), String, str("")),
    row(RCKeys::SceneList_LayoutType, TR("布局"), ComboBox, num(0), RW, &kLayout),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, trStr(TR("gray"))),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(0)),
    row(RCKeys::FrameMargin, TR("边框边缘"), Int, num(5)),
    row(RCKeys::SceneList_BackgroundColor, TR("背景颜色"), Color, str("transparent")),
    row(RCKeys::SceneList_Node_Width, TR("节点宽度"), Int, num(60)),
    row(RCKeys::SceneList_Node_Height, TR("节点高度"), Int, num(60)),
    row(RCKeys::SceneList_Node_Spaceing, TR("节点间距"), Int, num(10)),
    row(RCKeys::SceneList_Node_FontSize, TR("节点文字大小"), Int, num(25)),
    row(RCKeys::SceneList_Node_FontColor, TR("节点文本颜色"), Color, str("#FA5611")),
};

constexpr Row kCatalog[] = {
    name(),
    row(RCKeys::TypeNameList, TR("场景列表"), String, str("")),
    row(RCKeys::FrameColor, TR("边框颜色"), Color, trStr(TR("gray"))),
    row(RCKeys::FrameSize, TR("边框大小"), Int, num(5)),
    row(RCKeys::FrameMargin, TR("边框边缘"), Int, num(5)),
    row(RCKeys::SceneList_Node_Width, TR("节点宽度"), Int, num(60)),
    row(RCKeys::SceneList_Node_Height, TR("节点高度"), Int, num(60)),
    row(RCKeys::SceneList_Node_Spaceing, TR("节点间距"), Int, num(10)),
    row(RCKeys::IndentInitFont, TR("根节点字体"), Int, num(24)),
    row(RCKeys::IndentSpacing, TR("缩进间距"), Int, num(10)),
    row(RCKeys::IndentFontSpacing, TR("缩进字体差"), Int, num(5)),
    row(RCKeys::CatalogRowSelectColor, TR("目录行选中颜色"), Color, str("blue")),
};

// ---- The kinds, in catalogue order ----

constexpr const char* M = "Mirel";
constexpr const char* Q = "Quenor";
constexpr const char* V = "Vexa";

#define ROWS(table) table, int(sizeof(table) / sizeof(table[0]))

constexpr Kind kKinds[] = {
    {1, TR("自定义"), {M, Q}, "qrc:/control/custom.png", 100, 50, ROWS(kCustom)},
    {2, TR("舞台回显"), {M, V}, "qrc:/control/stageView.png", 783, 395, ROWS(kStageView)},
    {3, TR("节目管理"), {M}, "qrc:/control/programManager.png", 783, 395, ROWS(kProgramManager)},
    {4, TR("播放状态"), {M}, "qrc:/control/playState.png", 783, 395, ROWS(kPlayStateManager)},
    {5, TR("连线"), {M}, "qrc:/control/stageLink.png", 100, 50, ROWS(kStageLink)},
    {6, TR("待命"), {M, V}, "qrc:/control/standby.png", 100, 50, ROWS(kStandby)},
    {7, TR("播放上一个"), {M}, "qrc:/control/playPre.png", 100, 50, ROWS(kPlayPre)},
    {8, TR("播放下一个"), {M}, "qrc:/control/playNext.png", 100, 50, ROWS(kPlayNext)},
    {9, TR("停止所有节目"), {M}, "qrc:/control/stop.png", 100, 50, ROWS(kStopAllProgram)},
    {10, TR("快进节目"), {M}, "qrc:/control/fastForward.png", 100, 50, ROWS(kFastForward)},
    {11, TR("快退节目"), {M}, "qrc:/control/fastBack.png", 100, 50, ROWS(kFastBack)},
    {12, TR("当前节目播放"), {M}, "qrc:/control/play.png", 100, 50, ROWS(kCurrentProgramState)},
    {15, TR("打开显示"), {M, Q, V}, "qrc:/control/openDisplay.png", 100, 50, ROWS(kOpenDisplay)},
    {43, TR("显示状态"), {V}, "qrc:/control/openDisplay.png", 100, 50, ROWS(kDisplayState)},
    {16, TR("关闭显示"), {M, Q, V}, "qrc:/control/closeDisplay.png", 100, 50, ROWS(kCloseDisplay)},
    {17, TR("全局音量"), {M, Q, V}, "qrc:/control/volume.png", 300, 50, ROWS(kGlobalVolume)},
    {18, TR("全局亮度"), {M, Q, V}, "qrc:/control/brightness.png", 300, 50, ROWS(kGlobalBrightness)},
    {13, TR("时间线播放"), {M, Q}, "qrc:/control/trackPlay.png", 100, 50, ROWS(kTrackPlay)},
    {14, TR("时间线停止"), {M, Q}, "qrc:/control/trackStop.png", 100, 50, ROWS(kTrackStop)},
    {19, TR("开机"), {M, Q}, "qrc:/control/startup.png", 100, 50, ROWS(kStartup)},
    {21, TR("标签"), {M, Q}, "qrc:/control/label.png", 100, 50, ROWS(kLabel)},
    {22, TR("节目表"), {M}, "qrc:/control/programTable.png", 1000, 500, ROWS(kProgramTable)},
    {26, TR("切换场景"), {M, Q}, "qrc:/control/switchScene.png", 100, 50, ROWS(kSwitchScene)},
    {27, TR("脚本"), {M, Q}, "qrc:/control/script.png", 100, 50, ROWS(kScript)},
    {23, TR("网络连接"), {M, Q}, "qrc:/control/network.png", 100, 50, ROWS(kNetLink)},
    {24, TR("退出程序"), {M, Q}, "qrc:/control/exit.png", 100, 50, ROWS(kExit)},
    {28, TR("场景列表"), {M, Q}, "qrc:/control/sceneList.png", 100, 50, ROWS(kSceneList)},
    {29, TR("节目管理"), {V}, "qrc:/control/programManager.png", 783, 395, ROWS(kVexaProgramManager)},
    {30, TR("随机播放"), {M}, "qrc:/control/randPlay.png", 100, 50, ROWS(kRandPlay)},
    {31, TR("停止多条时间线"), {M}, "qrc:/control/trackStop.png", 100, 50, ROWS(kStopMultipleTrack)},
    {32, TR("目录"), {M, Q}, "qrc:/control/sceneList.png", 100, 50, ROWS(kCatalog)},
    {33, TR("播放进度"), {V}, "qrc:/control/brightness.png", 300, 50, ROWS(kVexaProgress)},
    {34, TR("播放时间"), {V}, "qrc:/control/brightness.png", 300, 50, ROWS(kVexaProgramText)},
    {42, TR("播放节目名称"), {V}, "qrc:/control/brightness.png", 300, 50, ROWS(kVexaProgramText)},
    {35, TR("结束时间"), {V}, "qrc:/control/brightness.png", 300, 50, ROWS(kVexaProgramText)},
    {36, TR("播放/暂停"), {V}, "qrc:/control/play.png", 100, 50, ROWS(kVexaPlayOrPause)},
    {37, TR("停止"), {V}, "qrc:/control/stop.png", 100, 50, ROWS(kVexaStop)},
    {38, TR("播放上一个节目"), {V}, "qrc:/control/playPre.png", 100, 50, ROWS(kVexaPlayPre)},
    {39, TR("播放下一个节目"), {V}, "qrc:/control/playNext.png", 100, 50, ROWS(kVexaPlayNext)},
    {40, TR("切换输出"), {V}, "qrc:/control/randPlay.png", 100, 50, ROWS(kVexaSwitchOutput)},
    {44, TR("节目管理"), {Q}, "qrc:/control/programManager.png", 783, 395, ROWS(kQuenorProgramManager)},
    {45, TR("切换网络"), {M, V, Q}, "qrc:/control/custom.png", 100, 50, ROWS(kSwitchNetwork)},
    {46, TR("加入项目"), {M, V, Q}, "qrc:/control/joinProject.png", 100, 50, ROWS(kJoinProject)},
};

// clang-format on

#undef ROWS
#undef TR

} // namespace

const RCControlCatalogueTable::Kind* RCControlCatalogueTable::kinds()
{
    return kKinds;
}

int RCControlCatalogueTable::kindCount()
{
    return int(sizeof(kKinds) / sizeof(kKinds[0]));
}
