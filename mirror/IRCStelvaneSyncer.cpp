#include "mirror/IRCStelvaneSyncer.h"

#include <QJSEngine>

IRCStelvaneSyncer::IRCStelvaneSyncer(QObject* parent) : QObject(parent)
{
    QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
}
