// How a scene item view shows its item's values (see RCSceneItem.qml): shared by every view
// rather than declared in each, as each function a view declares is made again for every view.
// Each function takes the view it works on.
.pragma library

// The value of the view's item property key; fallback while no item is set, when the item lacks
// the property or holds no value for it. A key the values handed in lack is asked for (an item may
// gain properties after its view was made).
function readProperty(view, key, fallback) {
    var values = valuesOf(view)
    var value = values[key]
    if (value === undefined && !(key in values)) {
        var presenter = view.mSceneItemPresenter
        if (!presenter || view.mSceneItemId === ""
                || !presenter.containProperty(view.mSceneId, view.mSceneItemId, key))
            return fallback
        value = presenter.getPropertyValue(view.mSceneId, view.mSceneItemId, key)
    }
    return value === undefined || value === null ? fallback : value
}

// The view's mValues, read from its item the first time they are asked for; {} while the view has
// no item or presenter.
function valuesOf(view) {
    var values = view.mValues
    if (values !== undefined)
        return values
    var presenter = view.mSceneItemPresenter
    if (!presenter || view.mSceneItemId === "")
        return {}
    view.mValues = presenter.getPropertyValues(view.mSceneId, view.mSceneItemId)
    return view.mValues
}

// readProperty as text ("" stays "").
function readText(view, key, fallback) {
    var value = readProperty(view, key, fallback)
    return value === undefined || value === null ? "" : String(value)
}

// value as a key of kind ("text", "number", "bool", "color"), fallback when it is none.
function keyValue(kind, value, fallback) {
    if (value === undefined || value === null)
        return fallback
    if (kind === "number") {
        var number = Number(value)
        return value !== "" && isFinite(number) ? number : fallback
    }
    if (kind === "bool")
        return typeof value === "string" ? value === "true" : Boolean(value)
    var text = String(value)
    if (kind === "color")
        return isColor(text) ? text : fallback
    return text
}

// Whether text names a colour.
function isColor(text) {
    try {
        return text !== "" && Qt.colorEqual(text, text)
    } catch (e) {
        return false
    }
}

// Writes every row of the view's key table from the item's values.
function readKeys(view) {
    var table = view.mKeyTable
    if (!table)
        return
    for (var i = 0; i < table.length; ++i) {
        var row = table[i]
        view[row[1]] = keyValue(row[3], readProperty(view, row[0], row[2]), row[2])
    }
}

// Writes the rows of the view's key table for the item property name, now value.
function readKey(view, name, value) {
    var table = view.mKeyTable
    if (!table)
        return
    for (var i = 0; i < table.length; ++i) {
        var row = table[i]
        if (row[0] === name)
            view[row[1]] = keyValue(row[3], value, row[2])
    }
}

// Shows the item's values once the view is complete (its turn, selection and a button's face are
// given by the panel): places the content, writes the key table and then tells the view, when
// there is an item.
function showItem(view) {
    placeContent(view)
    if (!view.mKeysGiven)
        readKeys(view)
    if (view.mSceneItemId !== "")
        view.sig_sceneItemChanged()
}

// Properties of the view's item other than its place, size, view file, turn and selection
// changed: changed maps their names to their new values.
function valuesChanged(view, changed) {
    var values = view.mValues
    for (var name in changed) {
        var value = changed[name]
        if (values !== undefined)
            values[name] = value
        readKey(view, name, value)
        view.sig_sceneItemPropertyChanged(name, value)
    }
}

// Puts the view's content into the view, filling it.
function placeContent(view) {
    var content = view.mContentItem
    if (!content || content.parent === view)
        return
    content.parent = view
    content.anchors.fill = view
}

// value as a caption colour, white when it is none.
function colorOf(value) {
    var text = value === undefined || value === null ? "" : String(value)
    return isColor(text) ? text : "white"
}

// value as a caption size, 12 when it is no positive number.
function sizeOf(value) {
    var size = Number(value)
    return isFinite(size) && size > 0 ? size : 12
}

// The button's icon: the item property named by its mIconKey. Whether it may come from the pixmap
// cache is set before the source.
function readIcon(button) {
    var path = button.mIconKey === "" ? "" : readText(button, button.mIconKey, "")
    var images = button.mImageManager
    button.mIconCached = path.indexOf("qrc:") === 0
    button.mIconUrl = path === "" || !images ? path : images.pathTransformation(path)
    button.mIconPath = path
}

// The button's values besides its icon (the panel gives them when it makes the view).
function readButton(button) {
    readIcon(button)
    button.mName = readText(button, "Name", "")
    button.mClickAreaCheck = Boolean(readProperty(button, "ClickAreaCheck", false))
    button.mEnableClick = Boolean(readProperty(button, "EnableClick", true))
    button.mTextColor = colorOf(readProperty(button, "TextColor", "white"))
    button.mTextSize = sizeOf(readProperty(button, "TextSize", 12))
    button.mTextBold = Boolean(readProperty(button, "TextBold", false))
}

// Whether a press at (x, y) is the button's: not on a fully transparent pixel of its icon as the
// canvas (null while there is none) draws it.
function acceptsPoint(canvas, x, y) {
    return !canvas || !canvas.mReady || canvas.alphaAt(x, y) > 0
}
