// Keeping an effect's values in the host: the parameters handle, the descriptor
// registry (last-used values, kept across restarts) and the scripting descriptor
// (recorded and replayed actions). All of them hold one parameter block.
#pragma once

#include "host/plugin_call.h"

// A new host handle holding the block of the current values; null when the host gives none.
ps::Handle writeBlock(PluginCall& call);
// Applies the block in a handle when its version is 1. False for a null handle, a failed lock,
// another version, or a block not for this effect.
bool readBlockFromHandle(PluginCall& call, ps::Handle handle);
// Stores the current values in the host's descriptor registry under the entry's GUID.
void remember(PluginCall& call);
// Loads the values stored under the entry's GUID, if any.
void restore(PluginCall& call);
// Restores, then applies the scripting descriptor; true when the dialog may be shown.
bool dialogAllowed(PluginCall& call);
// Writes the scripting descriptor for the host to record.
void record(PluginCall& call);
