#pragma once

#include <QSet>
#include <QString>

class IRCControlManager;

// Builds the control catalogue into a control manager: one control per kind of
// RCControlCatalogueTable, in catalogue order, each with its name, groups, icon and a template
// holding the kind's view (from RCSceneItemViews), default size and rows. The project root runs it once at start;
// it may run again: a kind that the manager already holds is skipped and left untouched.
// GUI thread only.
class RCControlCatalogue
{
public:
    // Answers the number of controls added; 0 for a null manager.
    static int build(IRCControlManager* manager);
    // The names of the rows that the kind declares with a text value and a text editor: what a
    // user stores there is text, whatever it looks like. Empty for an unknown kind. Any thread.
    static QSet<QString> textRows(int controlType);

    RCControlCatalogue() = delete;
};
