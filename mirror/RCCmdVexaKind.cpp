#include "mirror/RCCmdVexaKind.h"

#include <iterator>

const RCCmdVexaKind* RCCmdVexaKind::of(int programListType)
{
    using S = IRCStelvaneSyncer;
    static const RCCmdVexaKind kinds[] = {
        {&S::addVexaVideoProgramList, &S::insertVexaVideoProgramList, &S::removeVexaVideoProgramList,
         &S::addVexaVideoProgram, &S::insertVexaVideoProgram, &S::removeVexaVideoProgram},
        {&S::addVexaAudioProgramList, &S::insertVexaAudioProgramList, &S::removeVexaAudioProgramList,
         &S::addVexaAudioProgram, &S::insertVexaAudioProgram, &S::removeVexaAudioProgram},
        {&S::addVexaTextProgramList, &S::insertVexaTextProgramList, &S::removeVexaTextProgramList,
         &S::addVexaTextProgram, &S::insertVexaTextProgram, &S::removeVexaTextProgram},
    };
    if (programListType < 0 || programListType >= int(std::size(kinds)))
        return nullptr;
    return &kinds[programListType];
}
