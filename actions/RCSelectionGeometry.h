#pragma once

#include <QString>

// The arrangement edits on a scene's selection behind the alignment, distribution and arrow-key
// actions. Each edit goes through the item presenter with record true inside one command group, so
// it is one undo step; items that would not move are left alone, and an edit that moves nothing
// records nothing. Arithmetic is done in 64 bits and results are clamped to the int range, so
// extreme positions from a project file cannot overflow. Answers 0, or -1 when the edit does not
// apply (too few items selected, nothing to line up, an unknown key). GUI thread only.
class RCSelectionGeometry
{
public:
    enum Edge
    {
        Top,
        Bottom,
        Left,
        Right
    };
    // Horizontal works on "X" and "Width", Vertical on "Y" and "Height".
    enum Axis
    {
        Horizontal,
        Vertical
    };

    // Moves at least two selected items so that the given edges line up on the outermost one of
    // them: top and left on the smallest, bottom (Y + Height) and right (X + Width) on the largest.
    static int alignEdges(const QString& sceneId, Edge edge);
    // Moves at least two selected items along axis so that their centres meet halfway between the
    // outermost centres; -1 when the centres already coincide.
    static int alignCentres(const QString& sceneId, Axis axis);
    // Spreads at least three selected items along axis with equal gaps; the first and the last item
    // (by position) stay where they are.
    static int distribute(const QString& sceneId, Axis axis);
    // Moves every selected item one unit in the direction of an arrow key (Qt::Key_Left ...).
    static int moveByKey(const QString& sceneId, int key);
    // Right and down grow every selected item by one unit, left and up shrink it, never below 1.
    static int scaleByKey(const QString& sceneId, int key);

private:
    RCSelectionGeometry() = delete;
};
