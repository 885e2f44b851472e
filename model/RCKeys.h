#pragma once

#include <QString>
#include <QStringList>

// The shared table of key names used for document properties, display data, settings, project and
// template lists, mirror records and media-server command parameters. Each key is spelled exactly
// once, here; unusual spellings ("Spaceing", "ProjectJoinPasswrod", ...) are what stored projects,
// templates and settings files hold and must not be corrected.
//
// Every key is an accessor returning a QString built from static literal data: no allocation, no
// global object, and therefore safe to call from any static initialiser before main() runs.
// Keys are compared exactly (case-sensitive) everywhere.

// clang-format off
// X-macro of the whole table, in ascending order of the key text by character code.
#define RC_KEYS_TABLE(RC_KEY) \
    RC_KEY(ActionType) \
    RC_KEY(Angle) \
    RC_KEY(AspectRatio) \
    RC_KEY(BackgroundColor) \
    RC_KEY(BackgroundImg) \
    RC_KEY(BeginPos) \
    RC_KEY(Brightness) \
    RC_KEY(ButtonImage) \
    RC_KEY(ButtonImageHover) \
    RC_KEY(ButtonImagePressed) \
    RC_KEY(ButtonType) \
    RC_KEY(CatalogRowSelectColor) \
    RC_KEY(ClickAreaCheck) \
    RC_KEY(CloudCmdToUserList) \
    RC_KEY(CloudRelayUrl) \
    RC_KEY(CmdList) \
    RC_KEY(CmdParam) \
    RC_KEY(CmdProNameList) \
    RC_KEY(CmdType) \
    RC_KEY(ComboBoxItemDataList) \
    RC_KEY(ComboBoxItemNameList) \
    RC_KEY(ControlGroupNameList) \
    RC_KEY(ControlType) \
    RC_KEY(CountdownTime) \
    RC_KEY(CurrentProgramId) \
    RC_KEY(CustomCmd) \
    RC_KEY(CustomCmdTcpipType) \
    RC_KEY(CustomCmdToIp) \
    RC_KEY(CustomCmdToPort) \
    RC_KEY(DefaultIp) \
    RC_KEY(DefaultPassword) \
    RC_KEY(DefaultSize) \
    RC_KEY(Description) \
    RC_KEY(DisplayCloseIconPath) \
    RC_KEY(DisplayOpen) \
    RC_KEY(DisplayOpenIconPath) \
    RC_KEY(DisplayType) \
    RC_KEY(DomainName) \
    RC_KEY(EnableClick) \
    RC_KEY(EndPos) \
    RC_KEY(ExecuteIconPath) \
    RC_KEY(ExitProjectIconPath) \
    RC_KEY(Focus) \
    RC_KEY(FrameColor) \
    RC_KEY(FrameMargin) \
    RC_KEY(FrameSize) \
    RC_KEY(Height) \
    RC_KEY(IconPath) \
    RC_KEY(Id) \
    RC_KEY(Image) \
    RC_KEY(IndentFontSpacing) \
    RC_KEY(IndentInitFont) \
    RC_KEY(IndentLevel) \
    RC_KEY(IndentSpacing) \
    RC_KEY(Ip) \
    RC_KEY(JoinProjectIconPath) \
    RC_KEY(Length) \
    RC_KEY(MacAddress) \
    RC_KEY(MaxIntValue) \
    RC_KEY(MinIntValue) \
    RC_KEY(Name) \
    RC_KEY(NetDislinkIconPath) \
    RC_KEY(NetDownloadIconPath) \
    RC_KEY(NetLinkIconPath) \
    RC_KEY(ObjectName) \
    RC_KEY(OldValue) \
    RC_KEY(PauseIconPath) \
    RC_KEY(PlayIconPath) \
    RC_KEY(PlayStateManager_ProgressBar_BackgroundColor) \
    RC_KEY(PlayStateManager_ProgressBar_FrameColor) \
    RC_KEY(PlayStateManager_ProgressBar_FrameSize) \
    RC_KEY(PlayStateManager_ProgressBar_HandleColor) \
    RC_KEY(PlayStateManager_ProgressBar_HandleColorEnd) \
    RC_KEY(PlayStateManager_ProgressBar_HandleOpacity) \
    RC_KEY(PlayStateManager_ProgressBar_Height) \
    RC_KEY(PlayStateManager_ProgressBar_NodeTextColor) \
    RC_KEY(PlayStateManager_ProgressBar_NodeTextSize) \
    RC_KEY(PlayStateManager_ProgressBar_PauseIconPath) \
    RC_KEY(PlayStateManager_ProgressBar_PlayIconPath) \
    RC_KEY(PlayStateManager_ProgressBar_Radius) \
    RC_KEY(PlayStateManager_ProgressBar_ShowTimeType) \
    RC_KEY(PlayStateManager_ProgressBar_SliderIconPath) \
    RC_KEY(PlayStateManager_ProgressBar_TimeDownTextColor) \
    RC_KEY(PlayStateManager_ProgressBar_TimeTextColor) \
    RC_KEY(PlayStateManager_ProgressBar_TimeTextSize) \
    RC_KEY(PlayStateManager_ProgressBar_WindowTextColor) \
    RC_KEY(PlayStateManager_ProgressBar_WindowTextSize) \
    RC_KEY(Pressed) \
    RC_KEY(ProName) \
    RC_KEY(ProgramId) \
    RC_KEY(ProgramIdList) \
    RC_KEY(ProgramLayerId) \
    RC_KEY(ProgramLayerType) \
    RC_KEY(ProgramListType) \
    RC_KEY(ProgramManager_BackgroundColor) \
    RC_KEY(ProgramManager_Node_FrameColor) \
    RC_KEY(ProgramManager_Node_FrameSize) \
    RC_KEY(ProgramManager_Node_Height) \
    RC_KEY(ProgramManager_Node_HorSpaceing) \
    RC_KEY(ProgramManager_Node_PauseColor) \
    RC_KEY(ProgramManager_Node_PlayColor) \
    RC_KEY(ProgramManager_Node_Radius) \
    RC_KEY(ProgramManager_Node_StopColor) \
    RC_KEY(ProgramManager_Node_TextPauseColor) \
    RC_KEY(ProgramManager_Node_TextPlayColor) \
    RC_KEY(ProgramManager_Node_TextSize) \
    RC_KEY(ProgramManager_Node_TextStopColor) \
    RC_KEY(ProgramManager_Node_VerSpaceing) \
    RC_KEY(ProgramManager_Node_Width) \
    RC_KEY(ProgramManager_Tab_CheckedColor) \
    RC_KEY(ProgramManager_Tab_Color) \
    RC_KEY(ProgramManager_Tab_Height) \
    RC_KEY(ProgramManager_Tab_Radius) \
    RC_KEY(ProgramManager_Tab_Spacing) \
    RC_KEY(ProgramManager_Tab_TextCheckedColor) \
    RC_KEY(ProgramManager_Tab_TextColor) \
    RC_KEY(ProgramManager_Tab_TextSize) \
    RC_KEY(ProgramManager_Tab_Visible) \
    RC_KEY(ProgramManager_Tab_Width) \
    RC_KEY(ProgramNodeTitle) \
    RC_KEY(Progress) \
    RC_KEY(ProjectFilePath) \
    RC_KEY(ProjectJoinPasswrod) \
    RC_KEY(ProjectJoinUid) \
    RC_KEY(ProjectName) \
    RC_KEY(ProjectPacketPath) \
    RC_KEY(QmlPath) \
    RC_KEY(ReadOnly) \
    RC_KEY(RunIconPath) \
    RC_KEY(SceneId) \
    RC_KEY(SceneItemName) \
    RC_KEY(SceneListVisible) \
    RC_KEY(SceneList_BackgroundColor) \
    RC_KEY(SceneList_LayoutType) \
    RC_KEY(SceneList_Node_FontColor) \
    RC_KEY(SceneList_Node_FontSize) \
    RC_KEY(SceneList_Node_FrameColor) \
    RC_KEY(SceneList_Node_FrameSize) \
    RC_KEY(SceneList_Node_Height) \
    RC_KEY(SceneList_Node_PauseColor) \
    RC_KEY(SceneList_Node_PlayColor) \
    RC_KEY(SceneList_Node_Radius) \
    RC_KEY(SceneList_Node_Spaceing) \
    RC_KEY(SceneList_Node_StopColor) \
    RC_KEY(SceneList_Node_TextPauseColor) \
    RC_KEY(SceneList_Node_TextPlayColor) \
    RC_KEY(SceneList_Node_TextSize) \
    RC_KEY(SceneList_Node_TextStopColor) \
    RC_KEY(SceneList_Node_Width) \
    RC_KEY(SceneName) \
    RC_KEY(Script) \
    RC_KEY(ScriptBusyingIconPath) \
    RC_KEY(ScriptNoBusyingIconPath) \
    RC_KEY(Sec) \
    RC_KEY(Select) \
    RC_KEY(SingleSelection) \
    RC_KEY(Slider_BackgroundColor) \
    RC_KEY(Slider_Default) \
    RC_KEY(Slider_HandlerColor) \
    RC_KEY(Slider_HandlerColorEnd) \
    RC_KEY(Slider_HandlerIconHeight) \
    RC_KEY(Slider_HandlerIconPath) \
    RC_KEY(Slider_HandlerIconWidth) \
    RC_KEY(Slider_HandlerOpacity) \
    RC_KEY(Slider_Radius) \
    RC_KEY(Slider_ResetIconHeight) \
    RC_KEY(Slider_ResetIconPath) \
    RC_KEY(Slider_ResetIconWidth) \
    RC_KEY(Spaceing) \
    RC_KEY(StageDislinkIconPath) \
    RC_KEY(StageImagePath) \
    RC_KEY(StageLink) \
    RC_KEY(StageLinkIconPath) \
    RC_KEY(Standby) \
    RC_KEY(StandbyIconPath) \
    RC_KEY(State) \
    RC_KEY(StateInfoVisible) \
    RC_KEY(StopIconPath) \
    RC_KEY(SubProgramId) \
    RC_KEY(TextBold) \
    RC_KEY(TextColor) \
    RC_KEY(TextHAlignment) \
    RC_KEY(TextSize) \
    RC_KEY(TextVAlignment) \
    RC_KEY(Thumbnail) \
    RC_KEY(ThumbnailPath) \
    RC_KEY(Title) \
    RC_KEY(TitleBackgroundColor) \
    RC_KEY(TitleHeight) \
    RC_KEY(TouchProjectName) \
    RC_KEY(TrackId) \
    RC_KEY(TrackName) \
    RC_KEY(TrackNameList) \
    RC_KEY(TypeName) \
    RC_KEY(TypeNameList) \
    RC_KEY(Unit) \
    RC_KEY(Value) \
    RC_KEY(Visible) \
    RC_KEY(Volume) \
    RC_KEY(Width) \
    RC_KEY(X) \
    RC_KEY(Y)
// clang-format on

class RCKeys
{
public:
#define RC_KEYS_ACCESSOR(name)                                                                               \
    static QString name()                                                                                    \
    {                                                                                                        \
        return QStringLiteral(#name);                                                                        \
    }
    RC_KEYS_TABLE(RC_KEYS_ACCESSOR)
#undef RC_KEYS_ACCESSOR

    // Every key of the table, in table order.
    static QStringList allKeys();

    RCKeys() = delete;
};
