// On Windows the plug-in carries its own dialog manager, for hosts that offer none.
#include "ui/adm/adm_host.h"
#include "ui/win32/suites.h"

const AdmSuites* AdmHost::builtInSuites() { return &win32ui::dialogManagerSuites(); }
