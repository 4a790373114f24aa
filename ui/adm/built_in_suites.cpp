// Platforms without a dialog manager of the plug-in's own: the host's is the only one.
#include "ui/adm/adm_host.h"

const AdmSuites* AdmHost::builtInSuites() { return nullptr; }
