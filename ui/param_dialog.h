// The parameter dialog of a filter run: the live preview on the left, one control per
// parameter in a column on the right (framed groups, or accordion tabs when there are
// several top-level groups), the zoom row under the preview and the button row at the
// bottom. Controls write straight into the effect's parameter records; OK keeps them.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "host/pixel_block.h"
#include "host/plugin_call.h"
#include "host/render_context.h"
#include "ui/adm/dialog.h"

namespace ADM {
class Button;
class Label;
}  // namespace ADM
namespace PSDriver {
class Control;
class GroupButton;
}  // namespace PSDriver
class Viewer;

enum class DialogOutcome {
    // OK: render with the values the user chose.
    Accepted,
    // Cancel or a failure inside the dialog: the run ends with -128.
    Cancelled,
    // The host has no dialog manager; the run goes on with the current values.
    Unavailable,
};

// Shows the dialog for the call's effect and answers how it ended. On OK a "view" list is set
// back to its first item, so that the render shows the effect's result.
DialogOutcome runParameterDialog(PluginCall& call);

class ParamDialog : public ADM::Dialog {
public:
    static constexpr ps::int32 kWidth = 795;

    ParamDialog(PluginCall& call, RenderContext& context, ChannelSet& channels);
    ~ParamDialog() override;

    // Every control re-reads its parameter when all is set; then each control whose
    // parameter asks for a refresh takes its enabled state.
    void refreshControls(bool all);
    void redrawPreview();

    // A host error raised while handling an event: the dialog ended as cancelled.
    std::optional<int16_t> error() const { return error_; }

    Viewer& viewer() { return *viewer_; }
    const std::vector<PSDriver::Control*>& controls() const { return controls_; }
    const std::vector<PSDriver::GroupButton*>& tabs() const { return tabs_; }

private:
    struct ColumnBuilder;
    void buildZoomRow();
    // Lays the parameter controls out from y = 5; answers the column's bottom.
    ps::int32 buildColumn();
    void buildButtonRow(ps::int32 top);

    // Handlers
    void controlChanged(ADM::CallbackObject& sender, void* data);
    void tabPressed(ADM::CallbackObject& sender, void* data);
    void zoomInPressed(ADM::CallbackObject& sender, void* data);
    void zoomOutPressed(ADM::CallbackObject& sender, void* data);
    void fitPressed(ADM::CallbackObject& sender, void* data);
    void actualSizePressed(ADM::CallbackObject& sender, void* data);
    void resetPressed(ADM::CallbackObject& sender, void* data);
    void loadPressed(ADM::CallbackObject& sender, void* data);
    void savePressed(ADM::CallbackObject& sender, void* data);

    // Runs an event's work; a host error ends the dialog as a cancel and is kept.
    template <typename F>
    void guarded(F work);
    void showZoom();
    void openTab(PSDriver::GroupButton& tab);

    PluginCall& call_;
    Effect& effect_;
    Viewer* viewer_ = nullptr;
    ADM::Label* zoomLabel_ = nullptr;
    ADM::Button* resetButton_ = nullptr;
    std::vector<PSDriver::Control*> controls_;
    std::vector<PSDriver::GroupButton*> tabs_;
    std::optional<int16_t> error_;
};
