// Writes the packets of the save benchmark: scenes of 200 catalogue items each (every kind in
// turn), the first scene's icon a picture that the save copies into the packet's image folder,
// saved by the program's own save as FOLDER/itemsN for each count N (a multiple of 200). Run
// inside a private network namespace (the project root starts the control link's discovery).
//     item_packets FOLDER N...

#include "ProjectBenchSupport.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "root/RCProjectRoot.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    if (argc < 3 || !enterIsolatedOffscreenHome(home))
        return 2;
    QGuiApplication app(argc, argv);
    quietBenchMessages();
    RCQmlRegistration::registerTypes();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QList<int> counts;
    for (int i = 2; i < argc; ++i)
        counts.append(QByteArray(argv[i]).toInt());
    std::sort(counts.begin(), counts.end());

    QQmlEngine engine;
    RCProjectRoot project(&engine, {QStringLiteral("Tavix")});
    const QString picture = home.filePath(QStringLiteral("background.png"));
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(qRgb(32, 96, 160));
    if (!image.save(picture))
        return 1;
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QList<IRCControl*> controls = project.getControlManager()->getControllist();
    int made = 0;
    for (int s = 0; !counts.isEmpty() && made < counts.last(); ++s) {
        const QString sceneId = scenes->addScene(QStringLiteral("scene %1").arg(s),
                                                 s == 0 ? QUrl::fromLocalFile(picture).toString() : QString(),
                                                 QString(), false);
        for (int i = 0; i < 200; ++i, ++made) {
            IRCControl* control = controls.at(made % controls.size());
            items->addItem(sceneId, control->getInstantiationParam()->toJson(), false);
        }
        if (counts.contains(made)) {
            const QString packet = folder.filePath(QStringLiteral("items%1").arg(made));
            if (!project.saveProjectPacket(packet)) {
                std::fprintf(stderr, "cannot save %s\n", qPrintable(packet));
                return 1;
            }
            std::printf("%s/project.tavx\n", qPrintable(packet));
        }
    }
    return 0;
}
