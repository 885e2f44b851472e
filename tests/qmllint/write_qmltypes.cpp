// write_qmltypes OUT_DIR
// Writes, for every module of RCQmlRegistration::types(), OUT_DIR/<module as a path>/qmldir and a
// .qmltypes file from the meta-objects: exports, prototype, enumerations with their values,
// properties, signals and methods with their parameters. qmllint given `-I OUT_DIR` then
// resolves the modules that the program registers only at run time.
//
// Every module describes every class of the program that QML can meet (the registered ones and
// their bases), exporting only its own type: a property or a method of one type names types of
// other modules, and modules that depended on one another would form cycles, which qmllint does
// not follow. The Qt classes behind them (QObject, QQuickItem, QAbstractItemModel, ...) come from
// Qt's own descriptions: each qmldir depends on the Qt modules whose .qmltypes describe them.
// Exits non-zero when a file cannot be written or a Qt base is described by no Qt module.

#include "root/RCQmlRegistration.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace {

QString quoted(const QByteArray& text)
{
    return QLatin1Char('"') + QString::fromLatin1(text) + QLatin1Char('"');
}

// Qt's own classes come from Qt's modules; the program's base classes are described here.
bool isQtClass(const QMetaObject* metaObject)
{
    static const QRegularExpression qtName(QStringLiteral("^Q[A-Z]"));
    return qtName.match(QLatin1String(metaObject->className())).hasMatch();
}

// `type: ...` (and `isPointer: true`) for a C++ type name as the meta-object spells it.
void writeType(QTextStream& out, QByteArray type, const QString& indent)
{
    if (type.isEmpty() || type == "void")
        return;
    const bool pointer = type.endsWith('*');
    if (pointer)
        type.chop(1);
    out << indent << "type: " << quoted(type.trimmed()) << "\n";
    if (pointer)
        out << indent << "isPointer: true\n";
}

void writeParameters(QTextStream& out, const QMetaMethod& method)
{
    const QList<QByteArray> names = method.parameterNames();
    const QList<QByteArray> types = method.parameterTypes();
    for (int i = 0; i < types.size(); ++i) {
        out << "            Parameter {\n";
        const QByteArray name = i < names.size() && !names.at(i).isEmpty() ? names.at(i)
                                                                          : "arg" + QByteArray::number(i);
        out << "                name: " << quoted(name) << "\n";
        writeType(out, types.at(i), QStringLiteral("                "));
        out << "            }\n";
    }
}

// One Component for `metaObject`'s own members (its base classes get their own).
void writeComponent(QTextStream& out, const QMetaObject* metaObject, const RCQmlRegistration::Type* exported)
{
    out << "    Component {\n";
    out << "        name: " << quoted(metaObject->className()) << "\n";
    out << "        accessSemantics: \"reference\"\n";
    if (metaObject->superClass())
        out << "        prototype: " << quoted(metaObject->superClass()->className()) << "\n";
    if (exported) {
        out << "        exports: [\"" << exported->module << '/' << exported->name << " 1.0\"]\n";
        out << "        exportMetaObjectRevisions: [256]\n";
        if (!exported->creatable)
            out << "        isCreatable: false\n";
    }
    for (int i = metaObject->enumeratorOffset(); i < metaObject->enumeratorCount(); ++i) {
        const QMetaEnum metaEnum = metaObject->enumerator(i);
        out << "        Enum {\n";
        out << "            name: " << quoted(metaEnum.name()) << "\n";
        if (metaEnum.isFlag())
            out << "            isFlag: true\n";
        out << "            values: {";
        for (int k = 0; k < metaEnum.keyCount(); ++k)
            out << (k ? ", " : " ") << quoted(metaEnum.key(k)) << ": " << metaEnum.value(k);
        out << " }\n";
        out << "        }\n";
    }
    for (int i = metaObject->propertyOffset(); i < metaObject->propertyCount(); ++i) {
        const QMetaProperty property = metaObject->property(i);
        out << "        Property {\n";
        out << "            name: " << quoted(property.name()) << "\n";
        writeType(out, property.typeName(), QStringLiteral("            "));
        if (!property.isWritable())
            out << "            isReadonly: true\n";
        if (property.hasNotifySignal())
            out << "            notify: " << quoted(property.notifySignal().name()) << "\n";
        out << "            index: " << i - metaObject->propertyOffset() << "\n";
        out << "        }\n";
    }
    for (int i = metaObject->methodOffset(); i < metaObject->methodCount(); ++i) {
        const QMetaMethod method = metaObject->method(i);
        if (method.access() == QMetaMethod::Private || method.methodType() == QMetaMethod::Constructor)
            continue;
        const bool signal = method.methodType() == QMetaMethod::Signal;
        out << (signal ? "        Signal {\n" : "        Method {\n");
        out << "            name: " << quoted(method.name()) << "\n";
        writeType(out, method.typeName(), QStringLiteral("            "));
        writeParameters(out, method);
        out << "        }\n";
    }
    out << "    }\n";
}

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

// The Qt module whose own description names the class `className`: the shortest module path
// among the .qmltypes files under Qt's QML import folder; "" for the built-in types (QObject),
// which need no import; nothing when no Qt module describes it.
std::optional<QString> qtModuleDescribing(const QByteArray& className)
{
    static std::map<QString, QString> descriptions; // .qmltypes path -> text
    if (descriptions.empty()) {
        QDirIterator it(QLibraryInfo::path(QLibraryInfo::QmlImportsPath), {QStringLiteral("*.qmltypes")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                descriptions[file.fileName()] = QString::fromUtf8(file.readAll());
        }
    }
    const QRegularExpression component(QStringLiteral("Component \\{\\s*(file: \"[^\"]*\"\\s*)?name: \"%1\"\\s")
                                           .arg(QRegularExpression::escape(QLatin1String(className))));
    std::optional<QString> best;
    for (const auto& [path, text] : descriptions) {
        if (!component.match(text).hasMatch())
            continue;
        QFile qmldir(QFileInfo(path).dir().filePath(QStringLiteral("qmldir")));
        QString module;
        if (qmldir.open(QIODevice::ReadOnly | QIODevice::Text)) {
            static const QRegularExpression moduleLine(QStringLiteral("^module\\s+(\\S+)"),
                                                       QRegularExpression::MultilineOption);
            module = moduleLine.match(QString::fromUtf8(qmldir.readAll())).captured(1);
        }
        if (!best || module.count(QLatin1Char('.')) < best->count(QLatin1Char('.')))
            best = module;
    }
    return best;
}

// The program's classes that QML can meet (each registered type and its bases up to Qt's), base
// classes first, and the Qt modules that describe the Qt classes behind them.
struct Described
{
    std::vector<const QMetaObject*> classes;
    std::set<QString> qtModules;
    bool complete = true;
};

Described describedClasses()
{
    Described described;
    std::set<QByteArray> seen;
    for (const RCQmlRegistration::Type& type : RCQmlRegistration::types()) {
        std::vector<const QMetaObject*> chain;
        const QMetaObject* metaObject = type.metaObject;
        for (; metaObject && !isQtClass(metaObject); metaObject = metaObject->superClass())
            chain.push_back(metaObject);
        if (metaObject) {
            const std::optional<QString> module = qtModuleDescribing(metaObject->className());
            if (!module) {
                std::fprintf(stderr, "no Qt module describes %s, the base of %s\n", metaObject->className(),
                             type.name.constData());
                described.complete = false;
            } else if (!module->isEmpty()) {
                described.qtModules.insert(*module);
            }
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (seen.insert((*it)->className()).second)
                described.classes.push_back(*it);
        }
    }
    return described;
}

bool writeModule(const QDir& out, const RCQmlRegistration::Type& type, const Described& described)
{
    const QString dirPath = out.filePath(QString::fromLatin1(type.module).replace(QLatin1Char('.'), QLatin1Char('/')));
    if (!QDir().mkpath(dirPath)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dirPath));
        return false;
    }
    const QString typesFile = QString::fromLatin1(type.name) + QStringLiteral(".qmltypes");
    QString qmltypes;
    QTextStream stream(&qmltypes);
    stream << "import QtQuick.tooling 1.2\n\n";
    stream << "// Written from the program's meta-objects by write_qmltypes.\n";
    stream << "Module {\n";
    for (const QMetaObject* metaObject : described.classes)
        writeComponent(stream, metaObject, metaObject == type.metaObject ? &type : nullptr);
    stream << "}\n";
    stream.flush();
    QString qmldir = QStringLiteral("module %1\ntypeinfo %2\n").arg(QString::fromLatin1(type.module), typesFile);
    for (const QString& module : described.qtModules)
        qmldir += QStringLiteral("depends %1\n").arg(module);
    return writeFile(QDir(dirPath).filePath(QStringLiteral("qmldir")), qmldir)
        && writeFile(QDir(dirPath).filePath(typesFile), qmltypes);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_qmltypes OUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const Described described = describedClasses();
    if (!described.complete)
        return 1;
    int written = 0;
    for (const RCQmlRegistration::Type& type : RCQmlRegistration::types()) {
        if (!writeModule(out, type, described))
            return 1;
        ++written;
    }
    if (written == 0) {
        std::fprintf(stderr, "no type to describe\n");
        return 1;
    }
    return 0;
}
