#include "model/RCSceneItemViews.h"

#include "model/RCKeys.h"

#include <QHash>
#include <QSet>

namespace {

const char* const kActionButton = "RCSceneItemActionButton.qml";

struct KindView
{
    int controlType;
    const char* fileName;
};

// Control kind -> view file, in catalogue order. The shipped views are exactly the files named
// here; the control catalogue takes each kind's view from this table too.
const KindView kKindViews[] = {
    {1, kActionButton},
    {2, "RCSceneItemStageView.qml"},
    {3, "RCSceneItemProgramManager.qml"},
    {4, "RCSceneItemPlayStateManager.qml"},
    {5, "RCSceneItemStageLinkButton.qml"},
    {6, "RCSceneItemStandbyButton.qml"},
    {7, kActionButton},
    {8, kActionButton},
    {9, kActionButton},
    {10, kActionButton},
    {11, kActionButton},
    {12, "RCSceneItemCurrentProgramStateButton.qml"},
    {15, kActionButton},
    {43, "RCSceneItemDisplayStateButton.qml"},
    {16, kActionButton},
    {17, "RCSceneItemSliderGlobalProperty.qml"},
    {18, "RCSceneItemSliderGlobalProperty.qml"},
    {13, "RCSceneItemTrackPlayButton.qml"},
    {14, "RCSceneItemTrackStopButton.qml"},
    {19, kActionButton},
    {21, "RCSceneItemLabel.qml"},
    {22, "RCSceneItemProgramTable.qml"},
    {26, kActionButton},
    {27, "RCSceneItemScriptButton.qml"},
    {23, "RCSceneItemNetLinkButton.qml"},
    {24, "RCSceneItemExit.qml"},
    {28, "RCSceneItemSceneList.qml"},
    {29, "RCSceneItemVexaProgramManager.qml"},
    {30, kActionButton},
    {31, kActionButton},
    {32, "RCSceneItemCatalog.qml"},
    {33, "RCSceneItemVexaProgramProgressBar.qml"},
    {34, "RCSceneItemVexaProgramPlayTime.qml"},
    {42, "RCSceneItemVexaPlayingProgramName.qml"},
    {35, "RCSceneItemVexaProgramFinishTime.qml"},
    {36, kActionButton},
    {37, kActionButton},
    {38, kActionButton},
    {39, kActionButton},
    {40, kActionButton},
    {44, "RCSceneItemQuenorProgramManager.qml"},
    {45, kActionButton},
    {46, "RCSceneItemJoinProject.qml"},
};

const QHash<int, QString>& kindTable()
{
    static const QHash<int, QString> table = [] {
        QHash<int, QString> t;
        for (const KindView& kv : kKindViews) {
            t.insert(kv.controlType, QString::fromLatin1(kv.fileName));
        }
        return t;
    }();
    return table;
}

const QSet<QString>& knownPaths()
{
    static const QSet<QString> paths = [] {
        QSet<QString> s;
        for (const QString& file : RCSceneItemViews::fileNames()) {
            s.insert(RCSceneItemViews::folder() + file);
        }
        return s;
    }();
    return paths;
}

} // namespace

QString RCSceneItemViews::folder()
{
    return QStringLiteral("qrc:/qml/scenePanel/");
}

const QStringList& RCSceneItemViews::fileNames()
{
    static const QStringList files = [] {
        QStringList list;
        for (const KindView& kv : kKindViews) {
            const QString file = QString::fromLatin1(kv.fileName);
            if (!list.contains(file)) {
                list.append(file);
            }
        }
        return list;
    }();
    return files;
}

bool RCSceneItemViews::isKnownViewPath(const QString& path)
{
    return knownPaths().contains(path);
}

QString RCSceneItemViews::fileNameForControlType(int controlType)
{
    return kindTable().value(controlType);
}

QString RCSceneItemViews::viewPathForControlType(int controlType)
{
    const QString file = fileNameForControlType(controlType);
    return file.isEmpty() ? QString() : folder() + file;
}

RCSceneItemViews::Input RCSceneItemViews::inputOf(const QString& key)
{
    if (key == RCKeys::X())
        return Input::X;
    if (key == RCKeys::Y())
        return Input::Y;
    if (key == RCKeys::Width())
        return Input::Width;
    if (key == RCKeys::Height())
        return Input::Height;
    if (key == RCKeys::QmlPath())
        return Input::QmlPath;
    if (key == RCKeys::Select())
        return Input::Select;
    if (key == RCKeys::Angle())
        return Input::Angle;
    return Input::Value;
}
