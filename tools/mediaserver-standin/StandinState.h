#pragma once

#include <QImage>
#include <QJsonObject>
#include <QString>

// The scripted state a stand-in answers from. Keys:
//   "setProgramTable", "setTrackManager", "setStageImage", "setVexaProgramManager":
//       the parameters of the command of that name (the last one is sent after
//       "connected" when present);
//   "globalProperties": {"stageLink", "standby", "volume", "brightness",
//       "displayOutputState"}, answered one by one to "getGlobalProperty";
//   "projects": {"<id>": parameters of "setProject"}, answered to "getProject".
class StandinState
{
public:
    // A small sample: two programs, a layer, a node, two tracks, global
    // properties, a 64x36 stage image and one project.
    static QJsonObject sample();
    // image as a JPEG in Base64 text, as "setStageImage" and node thumbnails carry it.
    static QString jpegBase64(const QImage& image);
};
