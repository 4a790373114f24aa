// The parameter dialog of a filter run, shown through the host's dialog manager.
#pragma once

#include "host/plugin_call.h"

enum class DialogOutcome {
    // OK: render with the values the user chose.
    Accepted,
    // Cancel or a failure inside the dialog: the run ends with -128.
    Cancelled,
    // No dialog could be shown; the run goes on with the current values.
    Unavailable,
};

DialogOutcome runParameterDialog(PluginCall& call);
