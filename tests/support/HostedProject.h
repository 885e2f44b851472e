#pragma once

#include "project/RCProject.h"

// The project as the composition root sees it: the services of the layers above are handed over
// through adoptServices().
class HostedProject : public RCProject
{
public:
    using RCProject::adoptServices;
};
