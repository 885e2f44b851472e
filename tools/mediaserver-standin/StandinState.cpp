#include "tools/mediaserver-standin/StandinState.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>

QString StandinState::jpegBase64(const QImage& image)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return QString::fromLatin1(jpeg.toBase64());
}

QJsonObject StandinState::sample()
{
    QImage stage(64, 36, QImage::Format_RGB32);
    stage.fill(QColor(20, 90, 160));
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
    return QJsonObject{
        {"setProgramTable",
         QJsonObject{{"programArray", programs}, {"programLayerArray", layers}, {"programNodeArray", nodes}}},
        {"setTrackManager", QJsonObject{{"trackArray", tracks}}},
        {"setStageImage", QJsonObject{{"stageImage", jpegBase64(stage)}}},
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
