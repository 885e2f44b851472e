import QtQuick
import "RCSceneItemShow.js" as Show
import Rc.IRCImageManager 1.0
import Rc.IRCInterface 1.0
import Rc.IRCProject 1.0
import Rc.IRCStelvaneSyncer 1.0
import Rc.RCSceneItemPresenter 1.0
import Rc.TavixProjectCloudClient 1.0

// The base of every scene item view. The scene panel makes the view from the item's "QmlPath" with
// its item given as initial properties (mSceneId, mSceneItemId, mSelect and mAngle), with
// mInEditState, mWidthDp and mHeightDp (canvas pixels per scene unit) and the services a view may
// use: mSceneItemPresenter, mProject, mStelvaneSyncer (the mirror of the media server),
// mImageManager, mInterface and mCloudClient; a button's face is given too (see
// RCSceneItemButton.qml), and so are its key table's values (mKeysGiven). When it is completed the view
// shows those values (its key table unless given, then sig_sceneItemChanged, upon which a view
// reads what else it shows with readProperty). The view fills the place the panel keeps in step
// with the item's "X", "Y", "Width" and "Height". The view follows its own item only: the panel
// writes its selection into mSelect, its "Angle" into mAngle and the other values that changed
// into mChangedValues (name -> new value), whose entries are taken into mValues (once the view has
// read them) and each arrive as sig_sceneItemPropertyChanged.
// Views are made by the hundred: what they do alike is in RCSceneItemShow.js rather than declared
// in each.
//
// A view's content goes into mContentItem, which is placed to fill the view; the whole view is
// turned by the item's "Angle". Views only display and ask for actions
// (triggerAction); the panel, the presenters and the actions do the work.
Item {
    id: root

    property string mSceneId: ""
    property string mSceneItemId: ""
    property RCSceneItemPresenter mSceneItemPresenter: null
    property IRCProject mProject: null
    property IRCStelvaneSyncer mStelvaneSyncer: null
    // The image manager, the small QML services (IRCInterface) and the cloud client.
    property IRCImageManager mImageManager: null
    property IRCInterface mInterface: null
    property TavixProjectCloudClient mCloudClient: null
    property bool mInEditState: true
    property int mAngle: 0
    property bool mSelect: false
    property Item mContentItem: null
    property real mWidthDp: 1
    property real mHeightDp: 1
    // Counts the times the image manager resolved the project's image references again (the
    // packet moved by a save): a view showing a reference resolves it again when it changes (the
    // panel does it for a button's icon).
    property int mImageResolution: 0
    // The item keys a view shows, each [key, view property, default, kind]: the base writes them
    // into the view's properties when the view is completed (the defaults while there is no item)
    // and whenever one of them changes. kind "text", "number", "bool" or "color"; a value that is no
    // such thing (a colour that does not parse, a number that is not finite) reads as the default.
    // None when left out (no per-view array to make).
    property var mKeyTable
    // Whether the panel gave the key table's values as initial properties (every view of a file
    // but the first): the view then does not write them again when it is completed.
    property bool mKeysGiven: false
    // The item's values (name -> value), read from the item when the view first asks for one
    // (undefined until then, as most views of a scene never do) and then kept in step with
    // mChangedValues; its place and size are not kept in step here.
    property var mValues
    // The values of the item that changed last (name -> value), written by the panel.
    property var mChangedValues

    signal sig_sceneItemChanged
    signal sig_sceneItemPropertyChanged(string sProName, var value)
    // Declared for views that report their own removal; the base never emits it.
    signal sig_itemRemove(var sId)

    // The value of the item's property key; fallback while no item is set, when the item lacks
    // the property or holds no value for it.
    function readProperty(key, fallback) {
        return Show.readProperty(root, key, fallback)
    }
    // readProperty as text ("" stays "").
    function readText(key, fallback) {
        return Show.readText(root, key, fallback)
    }
    // Asks for an action for this item; the project hands it to the action manager.
    function triggerAction(actType, data) {
        if (mSceneItemPresenter)
            mSceneItemPresenter.triggerAction(mSceneId, mSceneItemId, actType, data)
    }

    rotation: mAngle

    onMContentItemChanged: Show.placeContent(root)
    onMChangedValuesChanged: Show.valuesChanged(root, mChangedValues)
    Component.onCompleted: Show.showItem(root)
}
