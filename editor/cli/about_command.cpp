// `ravo about`: the plug-in's about box, as a host's About Plug-in menu shows it.
#include <cstdio>

#include "editor/cli/commands.h"
#include "editor/cli/exit_status.h"
#include "editor/dialog_manager.h"
#include "editor/dialog_snapshot.h"
#include "editor/filter_host.h"
#include "editor/replacing_file.h"

namespace cli {

namespace {

using namespace editor;

// Presses OK in the about box, after writing its picture or printing its text.
class AboutDriver : public DialogDriver {
public:
    explicit AboutDriver(std::string snapshot) : snapshot_(std::move(snapshot)) {}
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    void alert(AlertKind, const std::string&) override {}
    void runModal(DialogManager& manager, ps::ADMDialogRef dialog) override {
        ++shown;
        if (!snapshot_.empty()) writeDialogSnapshot(manager, dialog, snapshot_);
        else
            for (const auto& item : manager.dialog(dialog)->items)
                if (item->type == ps::kADMTextStaticType || item->type == ps::kADMTextStaticMultiLineType)
                    std::fputs(item->text.c_str(), stdout);
        manager.pressButton(dialog, "OK");
    }
    int shown = 0;

private:
    std::string snapshot_;
};

}  // namespace

// Asks each menu command's entry point for its about box; the plug-in shows it on one of them.
// With a suite withheld that leaves this host without a dialog manager, a plug-in that brings
// its own shows the box itself, out of this host's sight: every entry point is asked.
int about(const PluginLibrary& plugin, const std::vector<std::string>& args) {
    std::string snapshot;
    HostOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool valued = i + 1 < args.size() && !args[i + 1].empty();
        if (args[i] == "--snapshot" && valued) snapshot = args[++i];
        else if (args[i] == "--withhold" && valued) options.faults.withheldSuites.insert(args[++i]);
        else throw UsageError("about takes only --snapshot FILE.png and --withhold SUITE");
    }
    if (!snapshot.empty()) checkReplaceable(snapshot);
    Picture picture = Picture::blank(1, 1, 3, 8);
    options.pluginPath = plugin.path();
    FilterHost host(picture, options);
    AboutDriver driver(snapshot);
    host.dialogs().setDriver(&driver);
    for (const MenuCommand& command : plugin.commands()) {
        const EntryCall entry = plugin.entryFor(command.registryKey);
        if (entry) host.call(entry, ps::filterSelectorAbout);
        if (driver.shown) return kDone;
    }
    const auto& withheld = options.faults.withheldSuites;
    if (withheld.count(ps::kADMBasicSuite) || withheld.count(ps::kADMDialogSuite) || withheld.count(ps::kADMItemSuite)) {
        std::fprintf(stderr, "ravo: no dialog manager offered; an about box the plug-in shows itself is out of sight\n");
        return kDone;
    }
    std::fprintf(stderr, "ravo: the plug-in showed no about box\n");
    return kFilterFailed;
}

}  // namespace cli
