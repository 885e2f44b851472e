#pragma once

#include <QLatin1String>

// Parameter keys of the commands the media server sends, as they stand on the wire (lower camel
// case; the mirror's own keys are those of RCKeys). Compared exactly.
namespace RCCmdKeys {
inline constexpr QLatin1String id{"id"};
inline constexpr QLatin1String name{"name"};
inline constexpr QLatin1String index{"index"};
inline constexpr QLatin1String playState{"playState"};
inline constexpr QLatin1String length{"length"};
inline constexpr QLatin1String progress{"progress"};
inline constexpr QLatin1String programLayerType{"programLayerType"};
inline constexpr QLatin1String programLayerId{"programLayerId"};
inline constexpr QLatin1String programIdArray{"programIdArray"};
inline constexpr QLatin1String programNodeTitle{"programNodeTitle"};
inline constexpr QLatin1String thumbnail{"thumbnail"};
inline constexpr QLatin1String programArray{"programArray"};
inline constexpr QLatin1String programLayerArray{"programLayerArray"};
inline constexpr QLatin1String programNodeArray{"programNodeArray"};
inline constexpr QLatin1String stageImage{"stageImage"};
inline constexpr QLatin1String stageLink{"stageLink"};
inline constexpr QLatin1String standby{"standby"};
inline constexpr QLatin1String volume{"volume"};
inline constexpr QLatin1String brightness{"brightness"};
inline constexpr QLatin1String displayOutputState{"displayOutputState"};
inline constexpr QLatin1String trackArray{"trackArray"};
inline constexpr QLatin1String trackId{"trackId"};
inline constexpr QLatin1String countdownTime{"countdownTime"};
inline constexpr QLatin1String macAddress{"macAddress"};
inline constexpr QLatin1String programListId{"programListId"};
inline constexpr QLatin1String programListType{"programListType"};
inline constexpr QLatin1String beginPos{"beginPos"};
inline constexpr QLatin1String endPos{"endPos"};
inline constexpr QLatin1String videoProgramListArray{"videoProgramListArray"};
inline constexpr QLatin1String audioProgramListArray{"audioProgramListArray"};
inline constexpr QLatin1String textProgramListArray{"textProgramListArray"};
} // namespace RCCmdKeys
