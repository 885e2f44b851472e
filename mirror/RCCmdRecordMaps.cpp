#include "mirror/RCCmdRecordMaps.h"

#include "mirror/RCCmdImageDecoder.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

QVariantMap RCCmdRecordMaps::program(const QJsonObject& obj)
{
    return QVariantMap{{RCKeys::Id(), P::readString(obj, K::id)},
                       {RCKeys::Name(), P::readString(obj, K::name)},
                       {RCKeys::State(), P::readInt(obj, K::playState)}};
}

QVariantMap RCCmdRecordMaps::layer(const QJsonObject& obj)
{
    return QVariantMap{{RCKeys::Id(), P::readString(obj, K::id)},
                       {RCKeys::Name(), P::readString(obj, K::name)},
                       {RCKeys::ProgramLayerType(), P::readInt(obj, K::programLayerType)}};
}

QVariantMap RCCmdRecordMaps::node(const QJsonObject& obj)
{
    QVariantMap map{{RCKeys::Id(), P::readString(obj, K::id)},
                    {RCKeys::Name(), P::readString(obj, K::name)},
                    {RCKeys::State(), P::readInt(obj, K::playState)},
                    {RCKeys::Length(), P::readInt(obj, K::length)},
                    {RCKeys::Progress(), P::readInt(obj, K::progress)},
                    {RCKeys::ProgramLayerId(), P::readString(obj, K::programLayerId)},
                    {RCKeys::ProgramIdList(), P::readStringList(obj, K::programIdArray)}};
    if (P::has(obj, K::thumbnail)) {
        map.insert(RCKeys::Thumbnail(), RCCmdImageDecoder::decode(P::readString(obj, K::thumbnail),
                                                                  RCCmdImageDecoder::EImageKind_Thumbnail));
    }
    map.insert(RCKeys::ProgramNodeTitle(), P::readString(obj, K::programNodeTitle));
    return map;
}

QVariantMap RCCmdRecordMaps::track(const QJsonObject& obj)
{
    return QVariantMap{{RCKeys::Name(), P::readString(obj, K::name)},
                       {RCKeys::Id(), P::readString(obj, K::id)},
                       {RCKeys::State(), P::readInt(obj, K::playState)},
                       {RCKeys::Progress(), P::readInt(obj, K::progress)}};
}

QVariantMap RCCmdRecordMaps::trackProgram(const QJsonObject& obj)
{
    return QVariantMap{
        {RCKeys::Id(), P::readString(obj, K::id)},
        {RCKeys::Name(), P::readString(obj, K::name)},
        {RCKeys::State(), P::readInt(obj, K::playState)},
        {RCKeys::CountdownTime(), P::truncateToLongLong(P::readDouble(obj, K::countdownTime))}};
}

QVariantMap RCCmdRecordMaps::vexaList(const QJsonObject& obj)
{
    return QVariantMap{{RCKeys::Id(), P::readString(obj, K::id)},
                       {RCKeys::Name(), P::readString(obj, K::name)}};
}

QVariantMap RCCmdRecordMaps::vexaProgram(const QJsonObject& obj)
{
    return QVariantMap{{RCKeys::Id(), P::readString(obj, K::id)},
                       {RCKeys::Name(), P::readString(obj, K::name)},
                       {RCKeys::State(), P::readInt(obj, K::playState)},
                       {RCKeys::Length(), P::readInt(obj, K::length)},
                       {RCKeys::Progress(), P::readInt(obj, K::progress)},
                       {RCKeys::BeginPos(), P::readInt(obj, K::beginPos)},
                       {RCKeys::EndPos(), P::readInt(obj, K::endPos)}};
}
