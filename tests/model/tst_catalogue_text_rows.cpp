// Every text row of every catalogue kind keeps the user's text through a save and a load, also
// text that looks like typed text ("#Size#10", "$sl$x"): the rows an item gets from its kind come
// from records, which carry no type of their own. The table is generated from the catalogue.
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using DT = IRCPropertyDisplay::EIRCPropertyDisplayType;

namespace {

// Texts a user may type that the typed-value reader would otherwise take for a size, a list,
// a colour or a number.
const QStringList kTypedLooking = {u"#Size#10"_s, u"#Size#10x20"_s, u"$sl$x"_s, u"#Color#1,2,3"_s,
                                   u"#UInt#abc"_s};

// The rows of the catalogue that a user fills with free text: a text value in a text editor
// ("QmlPath" names the item's view and is no user text).
struct TextRow
{
    IRCControl* control;
    QString name;
};
QList<TextRow> textRows(const RCControlManager& catalogue)
{
    static const QList<int> textEditors = {
        DT::EIRCPropertyDisplayType_String, DT::EIRCPropertyDisplayType_Icon,
        DT::EIRCPropertyDisplayType_Image,  DT::EIRCPropertyDisplayType_Script,
        DT::EIRCPropertyDisplayType_Ip,     DT::EIRCPropertyDisplayType_MacAddress};
    QList<TextRow> found;
    for (IRCControl* control : catalogue.getControllist()) {
        RCProperties* rows = control->getInstantiationParam()->getProperties();
        for (int i = 0; i < rows->count(); ++i) {
            IRCProperty* row = rows->getPropertyAt(i);
            if (row->getValue().typeId() == QMetaType::QString && row->getName() != RCKeys::QmlPath() &&
                textEditors.contains(row->getDisplay()->getType()))
                found.append({control, row->getName()});
        }
    }
    return found;
}

// The project file's form of a scene.
QByteArray fileText(const RCScene& scene)
{
    return QJsonDocument(scene.toJson()).toJson(QJsonDocument::Compact);
}

} // namespace

class tst_catalogue_text_rows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyKindDeclaresItsTextRows();
    void typedLookingTextSurvivesSaveAndLoad_data();
    void typedLookingTextSurvivesSaveAndLoad();

private:
    RCControlManager m_catalogue;
};

void tst_catalogue_text_rows::initTestCase()
{
    QVERIFY(RCControlCatalogue::build(&m_catalogue) > 0);
}

// The generated table below covers the catalogue only if the catalogue has text rows to cover.
void tst_catalogue_text_rows::everyKindDeclaresItsTextRows()
{
    QCOMPARE(textRows(m_catalogue).size(), 112);
}

void tst_catalogue_text_rows::typedLookingTextSurvivesSaveAndLoad_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("row");
    for (const TextRow& row : textRows(m_catalogue)) {
        const int kind = int(row.control->getControlType());
        QTest::addRow("%d %s %s", kind, qPrintable(row.control->getName()), qPrintable(row.name))
            << kind << row.name;
    }
}

void tst_catalogue_text_rows::typedLookingTextSurvivesSaveAndLoad()
{
    QFETCH(int, kind);
    QFETCH(QString, row);
    const QJsonObject templ =
        m_catalogue.getControlByType(IRCControl::EIRCControlType(kind))->getInstantiationParam()->toJson();
    for (const QString& text : kTypedLooking) {
        QByteArray saved;
        {
            // Placed from the kind's template and edited by the user; a read-only row holds the
            // text when a file gives it.
            RCScene scene;
            auto* item = new RCSceneItem(templ, nullptr);
            scene.addItem(item);
            if (item->getProperties()->getProperty(row)->getReadOnly())
                item->getProperties()->storeValue(row, text);
            else
                item->setPropertyValue(row, text);
            QCOMPARE(item->getPropertyValue(row), QVariant(text));
            saved = fileText(scene);

            // A copy (pasted, or brought back by an undo) is made from the item's JSON.
            const RCSceneItem copy(item->toJson(), nullptr);
            QCOMPARE(copy.getPropertyValue(row), QVariant(text));
        }
        const RCScene loaded(QJsonDocument::fromJson(saved).object(), nullptr);
        QCOMPARE(loaded.getItemCount(), 1);
        QCOMPARE(loaded.getItem(0)->getPropertyValue(row), QVariant(text));
        QCOMPARE(fileText(loaded), saved);
    }
}

QTEST_GUILESS_MAIN(tst_catalogue_text_rows)
#include "tst_catalogue_text_rows.moc"
