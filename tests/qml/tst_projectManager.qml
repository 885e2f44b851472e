import QtQuick
import QtQuick.Window
import QtTest
import "qrc:/qml/projectManagerPanel"

// The project manager page: how many tiles, one mark at a time by grid and packet path, opening,
// and removing or renaming stored projects without losing anything that is not the packet's.
RCTestMainWindow {
    id: mainWindow

    readonly property var messages: getRCMessageBoxManager

    Component {
        id: pageComponent

        RCProjectManagerViewTotal {
            width: 1024
            height: 724
            mProject: project
            mWindow: mainWindow
            mMessageBoxManager: getRCMessageBoxManager
            mInterface: getRCInterface
            mFileVersion: getVersion
        }
    }
    Component {
        id: cancelSpyComponent

        SignalSpy {
            signalName: "sig_buttonCancelClicked"
        }
    }
    Component {
        id: pictureComponent

        Image {}
    }
    SignalSpy {
        id: openedSpy
        signalName: "sig_successOpenProject"
    }

    TavixTestCase {
        name: "ProjectManager"
        when: windowShown

        // A stored packet named name in a folder of its own; the open project stays the template.
        function storedPacket(name) {
            var path = testSupport.makeFolder("父") + "/" + name
            verify(project.saveProjectPacket(path))
            return path
        }
        // The packet's project file cut in the middle, as a crash of another tool leaves it.
        function cutProjectFile(path) {
            var text = testSupport.readText(path + "/project.tavx")
            verify(testSupport.writeText(path + "/project.tavx", text.substring(0, text.length / 2)))
        }
        function makePage() {
            var page = createTemporaryObject(pageComponent, mainWindow)
            openedSpy.target = page
            openedSpy.clear()
            page.flushProjectManagerView()
            return page
        }
        function views(page) {
            return [findChild(page, "templateView"), findChild(page, "storageView")]
        }

        function init() {
            verify(project.loadTemplateProjectPacket("空模板"))
        }
        function cleanup() {
            closeMessages()
            mainWindow.visibility = Window.Windowed
        }

        function test_tileCount() {
            for (var i = 0; i < 12; ++i)
                storedPacket("项目" + i)
            var page = makePage()
            verify(views(page)[0].count() >= 4)
            compare(views(page)[1].count(), 8)
            mainWindow.visibility = Window.Maximized
            page.flushProjectManagerView()
            verify(views(page)[1].count() >= 12, "all while maximised")
        }

        function test_selectionByGridAndPath() {
            var first = storedPacket("空模板")
            var second = storedPacket("空模板")
            var page = makePage()
            var templates = views(page)[0]
            var stored = views(page)[1]
            stored.sig_selectProject(second)
            compare(stored.getSelectedProjectPacketPath(), second)
            compare(templates.getSelectedProjectName(), "", "the template of that name stays unmarked")
            page.openSelected()
            compare(openedSpy.count, 1)
            compare(project.getProjectPacketPath(), second)
            templates.sig_selectProject("空模板")
            compare(stored.getSelectedProjectPacketPath(), "")
            page.openSelected()
            compare(openedSpy.count, 2)
            verify(project.getProjectPacketPath() !== first && project.getProjectPacketPath() !== second)
        }

        // "取消" exists only where the page shows it; "确定" sits at its left then.
        function test_cancelButton_data() {
            return [
                {tag: "start page", shown: false},
                {tag: "overlay", shown: true}
            ]
        }
        function test_cancelButton(data) {
            var page = createTemporaryObject(pageComponent, mainWindow, {"buttonCancelVisible": data.shown})
            var cancelSpy = createTemporaryObject(cancelSpyComponent, page, {"target": page})
            var cancel = findChild(page, "cancelButton")
            var ok = findChild(page, "okButton")
            compare(cancel !== null, data.shown)
            if (!data.shown) {
                compare(ok.mapToItem(page, ok.width, 0).x, page.width - 16 - 7, "at the page's right")
                return
            }
            compare(cancel.text, "取消")
            verify(cancel.visible && cancel.width > 0)
            compare(ok.mapToItem(page, ok.width, 0).x + 7, cancel.mapToItem(page, 0, 0).x)
            mouseClick(cancel)
            compare(cancelSpy.count, 1)
        }

        // A packet without a thumbnail has a tile without a picture, and the page logs nothing for
        // it; a packet with one shows it.
        function test_tileWithoutThumbnail() {
            var bare = storedPacket("无图")
            var pictured = storedPacket("有图")
            verify(testSupport.writeImage(pictured + "/thumbnail.png", "#ff0000", 8, 8))
            verify(!testSupport.exists(bare + "/thumbnail.png"))
            failOnWarning(/./)
            var stored = views(makePage())[1]
            var none = findChild(child(stored, "tile_无图"), "thumbnail")
            var shown = findChild(child(stored, "tile_有图"), "thumbnail")
            tryCompare(shown, "status", Image.Ready)
            compare(String(none.source), "")
            compare(none.status, Image.Null)
        }

        // A template's tile shows the whole badge of its thumbnail (the network-link button of the
        // template's scene, at one of its corners).
        function test_templateBadgeShows_data() {
            var rows = []
            for (var i = 0; i < project.getTemplateProjectCout(); ++i) {
                var entry = project.getTemplateProject(i)
                rows.push({tag: entry["Name"], name: entry["Name"], thumbnail: entry["ThumbnailPath"]})
            }
            verify(rows.length >= 4)
            return rows
        }
        function test_templateBadgeShows(data) {
            var badge = pixel => Math.abs(pixel.r - 60 / 255) < 0.12 && Math.abs(pixel.g - 130 / 255) < 0.12
                    && Math.abs(pixel.b - 200 / 255) < 0.12
            // The badge pixels of item's rectangle area as the window shows them.
            var count = (item, area) => {
                var image = grabImage(mainWindow)
                var corner = item.mapToItem(mainWindow, area.x, area.y)
                var n = 0
                for (var y = Math.round(corner.y); y < Math.round(corner.y + area.height); ++y) {
                    for (var x = Math.round(corner.x); x < Math.round(corner.x + area.width); ++x)
                        n += badge(image.pixel(x, y)) ? 1 : 0
                }
                return n
            }
            var source = createTemporaryObject(pictureComponent, mainWindow, {"source": data.thumbnail})
            tryCompare(source, "status", Image.Ready)
            waitForRendering(source)
            var inSource = count(source, Qt.rect(0, 0, source.width, source.height))
            verify(inSource > 0, "the thumbnail has a badge")
            source.visible = false

            var tile = child(views(makePage())[0], "tile_" + data.name)
            var thumbnail = findChild(tile, "thumbnail")
            tryCompare(thumbnail, "status", Image.Ready)
            // as large as the picture is drawn (cropped or whole)
            var scale = thumbnail.paintedWidth / source.width
            var expected = 0.8 * inSource * scale * scale
            var shown = () => count(tile, Qt.rect(thumbnail.x, thumbnail.y, thumbnail.width, thumbnail.height))
            tryVerify(() => shown() >= expected, 3000, "badge pixels: " + shown() + ", expected " + expected)
        }

        // A project that does not open is named with the reason, when there is one.
        function test_openFailures_data() {
            var missing = testSupport.tempPath() + "/没有这个项目"
            return [
                {tag: "nothing marked", text: "打开工程失败"},
                {tag: "a packet that is gone", packet: missing, text: "打开工程失败\n找不到项目文件夹 " + missing},
                {tag: "a project file that is gone", file: missing + "/project.tavx",
                    text: "打开工程失败\n找不到项目文件 " + missing + "/project.tavx"}
            ]
        }
        function test_openFailures(data) {
            var page = makePage()
            var opened = data.packet ? page.openStored(data.packet)
                                     : data.file ? page.openFile("file://" + data.file) : page.openSelected()
            compare(opened, false)
            compare(lastMessage(), data.text)
            compare(lastMessageButtons(), [true, false])
            compare(openedSpy.count, 0)
        }

        function test_remove_data() {
            return [
                {tag: "a packet", removed: true},
                {tag: "the open project", open: true, text: "不能删除正在打开的项目！"},
                {tag: "a folder with other files", extra: true, text: "该文件夹中还有其他文件，不能删除！"},
                {tag: "a folder that is a link", link: true, text: "该项目文件夹是指向其他位置的链接，不能删除！"},
                // A damaged packet is asked about, naming the damage, and leaves the list; what the
                // program cannot tell for the packet's own stays.
                {tag: "a project file that is no project", removed: true, kept: true, file: "用户的文字",
                    damage: "该项目的项目文件不是有效的项目，无法打开。\n删除只把它移出列表，文件夹中的文件都会保留。"},
                {tag: "a cut project file", removed: true, cut: true, damage: "该项目的项目文件已损坏，无法打开。"},
                {tag: "the packet of pictures the open project shows", shown: true,
                    text: "打开的项目正在使用该项目中的图片，不能删除！"}
            ]
        }
        function test_remove(data) {
            var path = storedPacket("删除")
            if (data.extra)
                verify(testSupport.writeText(path + "/演出记录.txt", "用户的文件"))
            if (data.file)
                verify(testSupport.writeText(path + "/project.tavx", data.file))
            if (data.cut)
                cutProjectFile(path)
            if (data.link) {
                // Listed as the link it was saved through.
                var real = path
                path = testSupport.makeFolder("链接") + "/删除"
                verify(testSupport.link(real, path))
                verify(project.saveProjectPacket(path))
            }
            if (data.open)
                verify(project.loadStorageProjectPacket(path))
            if (data.shown) {
                // As after "添加Mirel场景": a new packet is named, its pictures are still read from
                // the packet they came from.
                verify(testSupport.writeFile(path + "/image/a.png", 16))
                verify(project.loadStorageProjectPacket(path))
                project.setProjectPacketPath(project.getNewProjectPacketPath() + "/下载")
                var scenes = project.getScenePresenter()
                scenes.setPropertyValue(scenes.getSelectSceneId(), "IconPath", "rcimg:/a.png", true)
            }
            var before = testSupport.filesBelow(path).map(function (name) {
                return name + ":" + testSupport.readText(path + "/" + name)
            })
            var page = makePage()
            var stored = views(page)[1]
            verify(stored.rowOf(path) >= 0)
            stored.askRemove(path)
            // What cannot go is refused at once, without asking first.
            var question = (data.damage ? data.damage + "\n" : "") + "确定要删除路径为:\"" + path + "\"的项目吗？"
            compare(lastMessage(), data.removed ? question : data.text)
            var ids = messages.getShownMessageIds()
            compare(ids.length, 1)
            compare(messages.cancelButtonIsVisible(ids[0]), !!data.removed)
            messages.accept(ids[0])
            var kept = !data.removed || data.kept === true
            compare(testSupport.exists(path + "/project.tavx"), kept)
            compare(stored.rowOf(path) >= 0, !data.removed)
            if (kept) {
                compare(testSupport.filesBelow(path).map(function (name) {
                    return name + ":" + testSupport.readText(path + "/" + name)
                }), before, "every file stays as it was")
            }
        }

        function test_rename_data() {
            return [
                {tag: "empty", name: "", text: "项目名不能为空！"},
                {tag: "separator", name: "a/b", text: "项目名不能包含\\/:*?\"<>|，也不能以空格或点开头结尾！"},
                {tag: "another project's name", name: "已有", text: "项目存在！"},
                {tag: "new name", name: "改名后", renamed: true},
                {tag: "the open project", name: "改名后二", open: true, renamed: true},
                {tag: "a cut project file", name: "改名后三", cut: true, renamed: true}
            ]
        }
        function test_rename(data) {
            storedPacket("已有")
            var path = storedPacket("改名")
            if (data.cut)
                cutProjectFile(path)
            if (data.open)
                verify(project.loadStorageProjectPacket(path))
            var page = makePage()
            var stored = views(page)[1]
            compare(stored.renameAccepted(path, "改名", data.name), data.renamed === true)
            var renamed = path.substring(0, path.lastIndexOf("/") + 1) + data.name
            compare(testSupport.exists(renamed + "/project.tavx"), data.renamed === true)
            if (!data.renamed) {
                compare(lastMessage(), data.text)
                compare(lastMessageButtons(), [true, false], "a notice has one 确定")
            } else
                verify(stored.rowOf(renamed) >= 0)
            if (data.open)
                compare(project.getProjectPacketPath(), renamed, "the open project follows")
        }
    }
}
