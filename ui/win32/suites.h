// The suite tables of the plug-in's own dialog manager on Windows.
#pragma once

#include "ui/adm/adm_host.h"

namespace win32ui {

// Every table filled: the dialog manager used when the host offers none.
const AdmSuites& dialogManagerSuites();

}  // namespace win32ui
