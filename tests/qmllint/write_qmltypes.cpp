// write_qmltypes OUT_DIR
// Writes, for every module of RCQmlRegistration::types(), OUT_DIR/<module as a path>/qmldir and a
// .qmltypes file describing its type (and the program's base classes behind it) from the type's
// meta-object: exports, prototype, enumerations with their values, properties, signals and
// methods with their parameters. qmllint given `-I OUT_DIR` then resolves the modules that the
// program registers only at run time. Exits non-zero when a file cannot be written.

#include "root/RCQmlRegistration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

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

bool writeModule(const QDir& out, const RCQmlRegistration::Type& type)
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
    for (const QMetaObject* metaObject = type.metaObject; metaObject && !isQtClass(metaObject);
         metaObject = metaObject->superClass())
        writeComponent(stream, metaObject, metaObject == type.metaObject ? &type : nullptr);
    stream << "}\n";
    stream.flush();
    const QString qmldir = QStringLiteral("module %1\ntypeinfo %2\ndepends QtQml.Models\n")
                               .arg(QString::fromLatin1(type.module), typesFile);
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
    int written = 0;
    for (const RCQmlRegistration::Type& type : RCQmlRegistration::types()) {
        if (!writeModule(out, type))
            return 1;
        ++written;
    }
    if (written == 0) {
        std::fprintf(stderr, "no type to describe\n");
        return 1;
    }
    return 0;
}
