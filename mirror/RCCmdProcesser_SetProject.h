#pragma once

#include "mirror/RCCmdProcesser.h"

#include <QString>
#include <QStringList>

class IRCControl;
class IRCControlManager;

// "setProject" {name, macAddress?, trackArray?, id}: the server's answer to a project download
// this panel asked for (the mirror's takeProjectRequest knows the number "id" repeats); any other
// is logged and dropped. Adds a scene named "name" and generates its controls: a startup button
// carrying "macAddress" when one is sent (band 0), buttons to open and close the displays and to
// toggle the stage link (band 1), and a play and a stop button per track (band 2, at most
// kMaxTracks tracks). Lays the bands out in centred rows, selects the new scene and hands the whole
// command to the mirror's setProject. Nothing of it is recorded for undo.
class RCCmdProcesser_SetProject : public RCCmdProcesser
{
public:
    static constexpr int kMaxTracks = 1000;
    static constexpr int kMaxItemsPerRow = 12;
    static constexpr int kItemWidth = 100;
    static constexpr int kItemHeight = 50;
    // From the left edge of one item to the next one's in a row, and from one row to the next.
    static constexpr int kColumnPitch = 160;
    static constexpr int kRowPitch = 130;
    static constexpr int kTopMargin = 10;

    void process(const QJsonObject& params, IRCProject* project) override;

    // Cuts the band's items, in order, into rows of as many as fit the scene's width (1 to
    // kMaxItemsPerRow) and places each row centred, the band's first row at
    // kTopMargin + kRowPitch * band, every item kItemWidth x kItemHeight.
    static void layoutGeneratedControls(QString sceneId, int band, QStringList itemIds, int sceneWidth);
    static int itemsPerRow(int sceneWidth);

private:
    // The catalogue's control of that kind; null when there is none.
    static IRCControl* controlOf(IRCControlManager* controls, int controlType);
    // Adds an item made from the control's template to the scene; "" when there is no control or
    // the item could not be added.
    static QString addItemOf(const QString& sceneId, IRCControl* control);
};
