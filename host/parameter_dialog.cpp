#include "host/parameter_dialog.h"

#include "host/host_resources.h"

namespace {
// The dialog manager's suites are declared with the dialog toolkit; only their presence matters here.
struct DialogManagerBasicSuite;

constexpr char kDialogManagerBasicSuite[] = "ADM Basic Suite";
constexpr ps::int32 kDialogManagerBasicSuiteVersion = 5;
}  // namespace

DialogOutcome runParameterDialog(PluginCall& call) {
    // The dialog is built over the host's dialog manager. A host without one gets a silent
    // run with the current values. The dialog itself is not part of this build yet, so a
    // host that has a dialog manager is answered the same way.
    AcquiredSuite<DialogManagerBasicSuite> dialogManager(call.basicSuite(), kDialogManagerBasicSuite, kDialogManagerBasicSuiteVersion);
    return DialogOutcome::Unavailable;
}
