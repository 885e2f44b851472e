#pragma once

#include "mirror/RCCmdProcesserManager.h"
#include "mirror/RCImageProvider.h"
#include "support/FakeProject.h"
#include "support/SignalSpies.h"
#include "tools/mediaserver-standin/StandinState.h"

#include <QJsonDocument>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <memory>

// The command dispatch on a FakeProject whose mirror serves its images through a QML engine, with
// commands written as text and the mirror read back through short probes.
namespace DispatchTest {

// Base64 of a JPEG of that size.
inline QString jpegBase64(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(20, 90, 160));
    return StandinState::jpegBase64(image);
}

// JSON object text in which "@jpeg:WxH" stands for jpegBase64(W, H) and "@text:N" for N letters A.
inline QJsonObject jsonObject(QString text)
{
    static const QRegularExpression jpeg(QStringLiteral("@jpeg:(\\d+)x(\\d+)"));
    QRegularExpressionMatch match;
    while ((match = jpeg.match(text)).hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(),
                     jpegBase64(match.captured(1).toInt(), match.captured(2).toInt()));
    static const QRegularExpression filler(QStringLiteral("@text:(\\d+)"));
    while ((match = filler.match(text)).hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(), QString(match.captured(1).toInt(), u'A'));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad JSON in a test: %s", qPrintable(text));
    return document.object();
}

// Reads a mirror back and records every signal it emits.
class MirrorProbe : public test_support::SignalSpies
{
public:
    // engine: the one the mirror registered its image provider with (for "image:" probes).
    MirrorProbe(IRCStelvaneSyncer* mirror, QQmlEngine* engine)
        : SignalSpies(mirror), m_mirror(mirror), m_engine(engine)
    {
    }

    // Reads the mirror:
    //   "programs", "layers", "nodes", "tracks", "video", "audio", "text": the ids in order, joined by ",";
    //   "trackPrograms:T", "vexaPrograms:L": the programs' ids of a track or Vexa list;
    //   "program:ID:Name" / "program:ID:State"; "layer:ID:KEY", "node:ID:KEY", "track:ID:KEY",
    //   "vexaList:ID:KEY", "trackProgram:T:ID:KEY", "vexaProgram:L:ID:KEY", "global:KEY": the value as
    //   stored (type included);
    //   "image:ID": "WxH" of what the image provider serves for a node id (or "stageViewImage");
    //   "state": the mirror's state; "signal:NAME": count(NAME); "signal:*": all emissions;
    //   "signal:NAME:N": argument N of each emission as text, joined by ",".
    QVariant probe(const QString& what)
    {
        using S = IRCStelvaneSyncer;
        static const std::map<QString, std::pair<int (S::*)(), QString (S::*)(int)>> lists{
            {"programs", {&S::getProgramCount, &S::getProgram}},
            {"layers", {&S::getProgramLayerCount, &S::getProgramLayer}},
            {"nodes", {&S::getProgramNodeCount, &S::getProgramNode}},
            {"tracks", {&S::getTrackCount, &S::getTrack}},
            {"video", {&S::getVexaVideoProgramListCount, &S::getVexaVideoProgramListId}},
            {"audio", {&S::getVexaAudioProgramListCount, &S::getVexaAudioProgramListId}},
            {"text", {&S::getVexaTextProgramListCount, &S::getVexaTextProgramListId}}};
        static const std::map<QString, std::pair<int (S::*)(QString), QString (S::*)(QString, int)>> sublists{
            {"trackPrograms", {&S::getTrackProgramCount, &S::getTrackProgram}},
            {"vexaPrograms", {&S::getVexaProgramCount, &S::getVexaProgramId}}};
        static const std::map<QString, QVariant (S::*)(QString, QString)> properties{
            {"layer", &S::getProgramLayerPropertyValue},
            {"node", &S::getProgramNodePropertyValue},
            {"track", &S::getTrackProperty},
            {"vexaList", &S::getVexaProgramListProperty}};
        static const std::map<QString, QVariant (S::*)(QString, QString, QString)> subproperties{
            {"trackProgram", &S::getTrackProgramProperty}, {"vexaProgram", &S::getVexaProgramProperty}};

        S* m = m_mirror;
        const QStringList p = what.split(QLatin1Char(':'));
        const QString kind = p.value(0);
        QStringList ids;
        if (const auto list = lists.find(kind); list != lists.end()) {
            for (int i = 0; i < (m->*list->second.first)(); ++i)
                ids.append((m->*list->second.second)(i));
            return ids.join(QLatin1Char(','));
        }
        if (const auto list = sublists.find(kind); list != sublists.end()) {
            for (int i = 0; i < (m->*list->second.first)(p[1]); ++i)
                ids.append((m->*list->second.second)(p[1], i));
            return ids.join(QLatin1Char(','));
        }
        if (const auto get = properties.find(kind); get != properties.end())
            return (m->*get->second)(p[1], p[2]);
        if (const auto get = subproperties.find(kind); get != subproperties.end())
            return (m->*get->second)(p[1], p[2], p[3]);
        if (kind == QLatin1String("program"))
            return p[2] == QLatin1String("Name") ? QVariant(m->getProgramName(p[1]))
                                                 : QVariant(m->getProgramState(p[1]));
        if (kind == QLatin1String("global"))
            return m->getGlobalProperty(p[1]);
        if (kind == QLatin1String("image")) {
            auto* provider = static_cast<RCImageProvider*>(
                m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
            QSize size;
            provider->requestImage(p[1] == QLatin1String("stageViewImage") ? p[1]
                                                                           : RCImageProvider::toImageId(p[1]),
                                   &size, QSize());
            return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        }
        if (kind == QLatin1String("state"))
            return int(m->getState());
        if (kind == QLatin1String("signal") && p[1] == QLatin1String("*"))
            return total();
        if (kind == QLatin1String("signal") && p.size() == 3) {
            for (const QList<QVariant>& emission : spy(p[1]))
                ids.append(emission.value(p[2].toInt()).toString());
            return ids.join(QLatin1Char(','));
        }
        if (kind == QLatin1String("signal"))
            return count(p[1]);
        qFatal("unknown probe %s", qPrintable(what));
        return QVariant();
    }

private:
    IRCStelvaneSyncer* m_mirror;
    QQmlEngine* m_engine;
};

// What a Harness owns, made before its probe and gone after it (the mirror leaves the engine first).
struct HarnessObjects
{
    explicit HarnessObjects(bool withCatalogue)
        : engine(std::make_unique<QQmlEngine>()),
          project(std::make_unique<FakeProject>(withCatalogue, engine.get()))
    {
    }
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<FakeProject> project;
};

// The dispatch on a FakeProject whose mirror serves its images through a QML engine.
class Harness : private HarnessObjects, public MirrorProbe
{
public:
    explicit Harness(bool withCatalogue = true)
        : HarnessObjects(withCatalogue), MirrorProbe(HarnessObjects::project->mirror(), engine.get())
    {
    }

    FakeProject* project() { return HarnessObjects::project.get(); }
    RCStelvaneSyncer* mirror() { return project()->mirror(); }
    RCCmdProcesserManager& manager() { return m_manager; }

    // One command: its name, then optionally a space and its parameters as JSON text (see jsonObject).
    void send(const QString& line)
    {
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        const QString cmd = space < 0 ? line : line.left(space);
        const QJsonObject params = space < 0 ? QJsonObject() : jsonObject(line.mid(space + 1));
        m_manager.process(cmd, params, project());
    }
    void send(const QStringList& lines)
    {
        for (const QString& line : lines)
            send(line);
    }
    void connect() { send(QStringLiteral("connected")); }

private:
    RCCmdProcesserManager m_manager;
};

// Compares each probe with the expected value that follows it in the list, type included (an
// invalid expected value expects an invalid one).
inline void compareProbes(MirrorProbe& harness, const QVariantList& expectations)
{
    QVERIFY(expectations.size() % 2 == 0);
    for (qsizetype i = 0; i < expectations.size(); i += 2) {
        const QString what = expectations.at(i).toString();
        const QVariant actual = harness.probe(what);
        const QVariant& expected = expectations.at(i + 1);
        QVERIFY2(actual.metaType() == expected.metaType() && actual == expected,
                 qPrintable(QStringLiteral("%1: %2 %3, expected %4 %5")
                                .arg(what, QString::fromLatin1(actual.typeName()), actual.toString(),
                                     QString::fromLatin1(expected.typeName()), expected.toString())));
    }
}

} // namespace DispatchTest
