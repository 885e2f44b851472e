#include "tools/mediaserver-standin/StandinState.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>

namespace {
QString stageImageBase64()
{
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(QColor(20, 90, 160));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return QString::fromLatin1(jpeg.toBase64());
}
} // namespace

QJsonObject StandinState::sample()
{
    const QJsonArray programs{QJsonObject{{"id", "p1"}, {"name", "Opening"}, {"playState", 0}},
                              QJsonObject{{"id", "p2"}, {"name", "Finale"}, {"playState", 0}}};
    const QJsonArray layers{QJsonObject{{"id", "l1"}, {"name", "Layer 1"}, {"programLayerType", 0}}};
    const QJsonArray nodes{QJsonObject{{"id", "n1"},
                                       {"name", "Intro clip"},
                                       {"playState", 0},
                                       {"length", 60000},
                                       {"progress", 0},
                                       {"programLayerId", "l1"},
                                       {"programIdArray", QJsonArray{"p1"}},
                                       {"programNodeTitle", "Intro"}}};
    const QJsonArray tracks{
        QJsonObject{{"name", "Track A"}, {"id", "t1"}, {"playState", 0}, {"progress", 0}},
        QJsonObject{{"name", "Track B"}, {"id", "t2"}, {"playState", 0}, {"progress", 0}}};
    const auto vexaList = [](const char* id, const char* name, const char* programId,
                             const char* programName) {
        return QJsonArray{QJsonObject{{"id", id},
                                      {"name", name},
                                      {"programArray", QJsonArray{QJsonObject{{"id", programId},
                                                                              {"name", programName},
                                                                              {"playState", 0},
                                                                              {"length", 120},
                                                                              {"progress", 0},
                                                                              {"beginPos", 0},
                                                                              {"endPos", 120}}}}}};
    };
    return QJsonObject{
        {"setVexaProgramManager",
         QJsonObject{{"videoProgramListArray", vexaList("v1", "Clips", "vp1", "Sunrise")},
                     {"audioProgramListArray", vexaList("a1", "Music", "ap1", "Theme")},
                     {"textProgramListArray", vexaList("x1", "Captions", "xp1", "Welcome")}}},
        {"setProgramTable",
         QJsonObject{{"programArray", programs}, {"programLayerArray", layers}, {"programNodeArray", nodes}}},
        {"setTrackManager", QJsonObject{{"trackArray", tracks}}},
        {"setStageImage", QJsonObject{{"stageImage", stageImageBase64()}}},
        {"globalProperties", QJsonObject{{"stageLink", false},
                                         {"standby", false},
                                         {"volume", 0.5},
                                         {"brightness", 80},
                                         {"displayOutputState", true}}},
        {"projects",
         QJsonObject{{"1", QJsonObject{{"name", "Sample show"},
                                       {"macAddress", "00:11:22:33:44:55"},
                                       {"trackArray", QJsonArray{QJsonObject{{"name", "Track A"}}}}}}}},
    };
}
