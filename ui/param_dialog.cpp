#include "ui/param_dialog.h"

#include <algorithm>
#include <cstring>

#include "host/host_errors.h"
#include "host/preset_file.h"
#include "sdk/ravo_dialog_items.h"
#include "ui/adm/adm_host.h"
#include "ui/adm/button.h"
#include "ui/adm/group.h"
#include "ui/adm/label.h"
#include "ui/adm/notification_names.h"
#include "ui/controls/boolean_control.h"
#include "ui/controls/color_control.h"
#include "ui/controls/group_controls.h"
#include "ui/controls/image_file_control.h"
#include "ui/controls/list_control.h"
#include "ui/controls/number_control.h"
#include "ui/controls/point_control.h"
#include "ui/viewer.h"

namespace {

constexpr char kDialogName[] = "RAVO_PARAMETERS";
constexpr ps::ADMRect kPreviewBounds{5, 5, 485, 355};
constexpr ps::int32 kGap = 5;
// The parameter column.
constexpr ps::int32 kColumnLeft = 490, kColumnRight = 790, kColumnTop = 5;
constexpr ps::int32 kFrameIndent = 16;   // per open framed group, on the left
constexpr ps::int32 kFrameInset = 6;     // per open framed group, on the right
constexpr ps::int32 kFrameCaption = 18;  // a framed group's caption above its contents
constexpr ps::int32 kControlGap = 3;
constexpr ps::int32 kTabHeight = 18, kTabGap = 4;
// The zoom row: a unit of 16 pixels; the label is 2.5 units wide and the row 191 pixels.
constexpr ps::int32 kZoomRowHeight = 16;
constexpr double kZoomUnit = 16;
constexpr ps::int32 kZoomRowWidth = ps::int32(3.6 * kZoomUnit + 4.0 * kZoomUnit + 2.5 * kZoomUnit + 30);
// The button row.
constexpr ps::int32 kButtonHeight = 18, kButtonGap = 4;
constexpr ps::int32 kWideButton = 59, kOKButton = 54;
constexpr ps::int32 kFileNameLength = 1024;
constexpr char kPresetFilter[] = "QEL Preset File (*.qel)|*.qel";
constexpr char kSaveFailedMessage[] = "Could not save the preset file.";

bool isGroupBegin(const Parameter& p) { return p.kind == ParameterKind::GroupBegin; }

// Enables an item and, for a control made of several items, every item inside it.
void enableItem(ADM::Item& item, bool on) {
    item.enable(on);
    if (auto* group = dynamic_cast<ADM::Group*>(&item))
        for (ADM::Item* child : group->children()) enableItem(*child, on);
}

}  // namespace

// One pass over the parameters, laying controls out down the column.
struct ParamDialog::ColumnBuilder {
    struct OpenGroup {
        PSDriver::GroupButton* tab = nullptr;
        PSDriver::GroupControl* frame = nullptr;
        bool hidden = false;
    };

    ParamDialog& dialog;
    bool useTabs = false;
    ps::int32 tabCount = 0;
    ps::int32 tabsMade = 0;
    ps::int32 y = kColumnTop;
    ps::int32 tabRowsTop = 0;
    ps::int32 tabContentTop = 0;
    ps::int32 tabBottom = 0;
    ps::int32 frames = 0;
    std::vector<OpenGroup> open;

    bool hidden() const { return std::any_of(open.begin(), open.end(), [](const OpenGroup& g) { return g.hidden; }); }
    PSDriver::GroupButton* tab() const {
        for (const OpenGroup& g : open)
            if (g.tab) return g.tab;
        return nullptr;
    }
    ps::ADMRect place(ps::int32 height) const {
        return {kColumnLeft + frames * kFrameIndent, y, kColumnRight - frames * kFrameInset, y + height};
    }

    // A new control: hidden with flag 64 when it or its group is hidden, given to its tab,
    // and given its place in the column when shown.
    void settle(PSDriver::Control& control, Parameter& parameter) {
        ADM::Item& item = control.item();
        if (parameter.hasFlag(ParameterFlag::Hidden) || hidden()) {
            parameter.addFlags(ParameterFlag::Hidden);
            item.hide();
        } else {
            y += control.size().height + kControlGap;
        }
        if (PSDriver::GroupButton* owner = tab()) owner->addControl(control);
        dialog.controls_.push_back(&control);
    }

    template <typename ControlType>
    ControlType& make(Parameter& parameter, ps::int32 index, ps::int32 height) {
        return dialog.add<ControlType>(place(height), parameter, index);
    }

    void beginGroup(Parameter& parameter, ps::int32 index) {
        const bool topLevel = open.empty();
        const bool asTab = useTabs && topLevel && !parameter.hasFlag(ParameterFlag::FramedGroup) &&
                           !parameter.hasFlag(ParameterFlag::Hidden);
        if (asTab) {
            // The tab buttons stand two to a row above the contents that every tab shares.
            if (tabsMade == 0) {
                tabRowsTop = y;
                tabContentTop = y + ((tabCount + 1) / 2) * (kTabHeight + kTabGap);
                tabBottom = tabContentTop;
            }
            const ps::int32 half = (kColumnRight - kColumnLeft - kTabGap) / 2;
            const ps::int32 left = kColumnLeft + (tabsMade % 2) * (half + kTabGap);
            const ps::int32 top = tabRowsTop + (tabsMade / 2) * (kTabHeight + kTabGap);
            auto& button = dialog.add<PSDriver::GroupButton>(ps::ADMRect{left, top, left + half, top + kTabHeight},
                                                             parameter, index);
            button.connect(ADM::kSelect, &dialog, &ParamDialog::tabPressed);
            button.close();
            dialog.tabs_.push_back(&button);
            dialog.controls_.push_back(&button);
            ++tabsMade;
            y = tabContentTop;
            open.push_back({&button, nullptr, false});
            return;
        }
        auto& frame = make<PSDriver::GroupControl>(parameter, index, kFrameCaption);
        const bool hide = parameter.hasFlag(ParameterFlag::Hidden) || hidden();
        if (hide) {
            parameter.addFlags(ParameterFlag::Hidden);
            frame.hide();
        }
        if (PSDriver::GroupButton* owner = tab()) owner->addControl(frame);
        dialog.controls_.push_back(&frame);
        open.push_back({nullptr, &frame, hide});
        if (!hide) {
            y += kFrameCaption;
            ++frames;
        }
    }

    void endGroup() {
        if (open.empty()) return;
        const OpenGroup group = open.back();
        open.pop_back();
        if (group.tab) {
            tabBottom = std::max(tabBottom, y);
            y = tabBottom;
        } else if (group.frame && !group.hidden) {
            --frames;
            group.frame->setBottom(y + kGap);
            y += kGap + kControlGap;
        }
    }

    void add(Parameter& parameter, ps::int32 index) {
        switch (parameter.kind) {
            case ParameterKind::Number: settle(make<PSDriver::NumberControl>(parameter, index, 27), parameter); break;
            case ParameterKind::Boolean: settle(make<PSDriver::BooleanControl>(parameter, index, 18), parameter); break;
            case ParameterKind::List: settle(make<PSDriver::ListControl>(parameter, index, 40), parameter); break;
            case ParameterKind::Color: settle(make<PSDriver::ColorControl>(parameter, index, 22), parameter); break;
            case ParameterKind::ImageFile: settle(make<PSDriver::ImageFileControl>(parameter, index, 40), parameter); break;
            case ParameterKind::Point: {
                auto& control = make<PSDriver::PointControl>(parameter, index, 40);
                settle(control, parameter);
                if (!parameter.hasFlag(ParameterFlag::NoPointHandle)) dialog.viewer_->addHandle(control);
                break;
            }
            case ParameterKind::GroupBegin: beginGroup(parameter, index); break;
            case ParameterKind::GroupEnd: endGroup(); break;
            default: break;  // inputs have no control
        }
    }
};

ParamDialog::ParamDialog(PluginCall& call, RenderContext& context, ChannelSet& channels)
    : ADM::Dialog(kDialogName), call_(call), effect_(*call.effect()) {
    setText(effect_.title());
    viewer_ = &add<Viewer>(kPreviewBounds, context, channels, *call.record());
    buildZoomRow();
    const ps::int32 columnBottom = buildColumn();
    const ps::int32 buttonTop = std::max(kPreviewBounds.bottom + kGap + kZoomRowHeight, columnBottom) + kGap;
    buildButtonRow(buttonTop);
    connect(ADM::kControlChanged, this, &ParamDialog::controlChanged);
    setDefaultItem(ps::kRavoOKItem);
    setCancelItem(ps::kRavoCancelItem);
    setSize(kWidth, buttonTop + kButtonHeight + kGap);

    refreshControls(false);
    if (!tabs_.empty()) openTab(*tabs_.front());
    viewer_->fit();
    showZoom();
}

ParamDialog::~ParamDialog() = default;

void ParamDialog::buildZoomRow() {
    const ps::int32 top = kPreviewBounds.bottom + kGap, bottom = top + kZoomRowHeight;
    const ps::int32 labelWidth = ps::int32(2.5 * kZoomUnit);
    // Fit and 1:1 are 1.8 units wide, - and + 2 units; the rest of the row is spacing.
    const ps::int32 fitWidth = ps::int32(1.8 * kZoomUnit), stepWidth = ps::int32(2.0 * kZoomUnit);
    const ps::int32 spacing = (kZoomRowWidth - 2 * fitWidth - 2 * stepWidth - labelWidth) / 4;
    ps::int32 x = kPreviewBounds.left + (kPreviewBounds.right - kPreviewBounds.left - kZoomRowWidth) / 2;
    const ps::int32 rowRight = x + kZoomRowWidth;
    const auto next = [&](ps::int32 width) {
        const ps::ADMRect r{x, top, x + width, bottom};
        x += width + spacing;
        return r;
    };
    // The last button takes what the spacing's rounding left, so the row is exactly its width.
    const auto last = [&] { return ps::ADMRect{x, top, rowRight, bottom}; };
    add<ADM::Button>(ps::kRavoFitItem, next(fitWidth), "Fit").connect(ADM::kSelect, this, &ParamDialog::fitPressed);
    add<ADM::Button>(ps::kRavoZoomOutItem, next(stepWidth), "-").connect(ADM::kSelect, this, &ParamDialog::zoomOutPressed);
    zoomLabel_ = &add<ADM::Label>(ps::kRavoZoomLabelItem, next(labelWidth), "100%");
    add<ADM::Button>(ps::kRavoZoomInItem, next(stepWidth), "+").connect(ADM::kSelect, this, &ParamDialog::zoomInPressed);
    add<ADM::Button>(ps::kRavoActualSizeItem, last(), "1:1")
        .connect(ADM::kSelect, this, &ParamDialog::actualSizePressed);
}

ps::int32 ParamDialog::buildColumn() {
    ColumnBuilder builder{*this};
    // Two or more plain top-level groups become accordion tabs; otherwise every group is framed.
    ps::int32 depth = 0;
    for (uint32_t i = 0; i < effect_.parameterCount; ++i) {
        const Parameter& p = effect_.parameter(i);
        if (isGroupBegin(p)) {
            if (++depth == 1 && !p.hasFlag(ParameterFlag::FramedGroup) && !p.hasFlag(ParameterFlag::Hidden))
                ++builder.tabCount;
        } else if (p.kind == ParameterKind::GroupEnd) {
            --depth;
        }
    }
    builder.useTabs = builder.tabCount >= 2;
    for (uint32_t i = 0; i < effect_.parameterCount; ++i) {
        Parameter& p = effect_.parameter(i);
        if (p.hasFlag(ParameterFlag::NotifyOnChange)) effect_.effectClass->parameterChanged(&effect_, i);
        builder.add(p, ps::int32(i));
    }
    return std::max(builder.y, builder.tabBottom);
}

void ParamDialog::buildButtonRow(ps::int32 top) {
    const ps::int32 bottom = top + kButtonHeight;
    ps::int32 x = kGap;
    add<ADM::Button>(ps::kRavoLoadItem, ps::ADMRect{x, top, x + kWideButton, bottom}, "Load...")
        .connect(ADM::kSelect, this, &ParamDialog::loadPressed);
    x += kWideButton + kButtonGap;
    add<ADM::Button>(ps::kRavoSaveItem, ps::ADMRect{x, top, x + kWideButton, bottom}, "Save...")
        .connect(ADM::kSelect, this, &ParamDialog::savePressed);
    x = kColumnRight - kOKButton;
    add<ADM::Button>(ps::kRavoOKItem, ps::ADMRect{x, top, kColumnRight, bottom}, "OK");
    x -= kButtonGap + kWideButton;
    add<ADM::Button>(ps::kRavoCancelItem, ps::ADMRect{x, top, x + kWideButton, bottom}, "Cancel");
    x -= kButtonGap + kWideButton;
    resetButton_ = &add<ADM::Button>(ps::kRavoResetItem, ps::ADMRect{x, top, x + kWideButton, bottom}, "Reset");
    resetButton_->connect(ADM::kSelect, this, &ParamDialog::resetPressed);
}

void ParamDialog::refreshControls(bool all) {
    for (PSDriver::Control* control : controls_) {
        if (all) control->update();
        Parameter& p = *control->parameter;
        if (p.hasFlag(ParameterFlag::NeedsRefresh)) {
            enableItem(control->item(), p.isEnabled());
            p.flags = uint16_t(p.flags & ~ParameterFlag::NeedsRefresh);
        }
    }
}

void ParamDialog::redrawPreview() {
    viewer_->invalidate();
    viewer_->update();
}

template <typename F>
void ParamDialog::guarded(F work) {
    try {
        work();
    } catch (const HostError& e) {
        error_ = e.code;
        endModal(ps::kRavoCancelItem);
    } catch (const SuiteError&) {
        error_ = result_code::kHostInsufficient;
        endModal(ps::kRavoCancelItem);
    } catch (const std::bad_alloc&) {
        error_ = result_code::kMemoryFull;
        endModal(ps::kRavoCancelItem);
    }
}

void ParamDialog::showZoom() { zoomLabel_->setText(viewer_->zoomText().c_str()); }

void ParamDialog::controlChanged(ADM::CallbackObject& sender, void*) {
    guarded([&] {
        auto* control = dynamic_cast<PSDriver::Control*>(&sender);
        if (control && control->parameter->hasFlag(ParameterFlag::NotifyOnChange)) {
            effect_.effectClass->parameterChanged(&effect_, uint32_t(control->parameterIndex));
            refreshControls(false);
        }
        redrawPreview();
    });
}

void ParamDialog::openTab(PSDriver::GroupButton& tab) {
    for (PSDriver::GroupButton* other : tabs_) other->close();
    tab.open();
}

void ParamDialog::tabPressed(ADM::CallbackObject& sender, void*) {
    if (auto* tab = dynamic_cast<PSDriver::GroupButton*>(&sender)) openTab(*tab);
}

void ParamDialog::zoomInPressed(ADM::CallbackObject&, void*) {
    guarded([&] { viewer_->zoomIn(); });
    showZoom();
}
void ParamDialog::zoomOutPressed(ADM::CallbackObject&, void*) {
    guarded([&] { viewer_->zoomOut(); });
    showZoom();
}
void ParamDialog::fitPressed(ADM::CallbackObject&, void*) {
    guarded([&] { viewer_->fit(); });
    showZoom();
}
void ParamDialog::actualSizePressed(ADM::CallbackObject&, void*) {
    guarded([&] { viewer_->actualSize(); });
    showZoom();
}

void ParamDialog::resetPressed(ADM::CallbackObject&, void*) {
    guarded([&] {
        for (PSDriver::Control* control : controls_) control->reset();
        refreshControls(false);
        redrawPreview();
    });
}

void ParamDialog::loadPressed(ADM::CallbackObject&, void*) {
    const ps::ADMBasicSuite5* basic = AdmHost::currentSuites().basic;
    char path[kFileNameLength] = {};
    if (!basic || !basic->StandardGetFileDialog(preset_file::kLoadPrompt, kPresetFilter, nullptr, nullptr, path,
                                                kFileNameLength))
        return;
    guarded([&] {
        if (!loadPreset(call_, path)) {
            basic->ErrorAlert(preset_file::kLoadFailedMessage);
            return;
        }
        refreshControls(true);
        redrawPreview();
    });
}

void ParamDialog::savePressed(ADM::CallbackObject&, void*) {
    const ps::ADMBasicSuite5* basic = AdmHost::currentSuites().basic;
    char path[kFileNameLength] = {};
    const std::string suggested = std::string(effect_.title()) + ".qel";
    if (!basic || !basic->StandardPutFileDialog(preset_file::kSavePrompt, kPresetFilter, nullptr, suggested.c_str(), path,
                                                kFileNameLength))
        return;
    // A preset that could not be written must not look saved.
    guarded([&] {
        if (!savePreset(call_, presetFileName(path))) basic->ErrorAlert(kSaveFailedMessage);
    });
}

DialogOutcome runParameterDialog(PluginCall& call) {
    AdmHost adm(call.basicSuite(), static_cast<ps::SPPluginRef>(call.plugInRef()));
    if (!adm.hasDialogManager()) return DialogOutcome::Unavailable;
    ChannelSet channels(call.record());
    RenderContext context(channels, call.effect(), true);
    ps::int32 ended = 0;
    std::optional<int16_t> error;
    {
        ParamDialog dialog(call, context, channels);
        ended = dialog.runModal();
        error = dialog.error();
    }
    context.end();
    if (error) {
        call.setResult(*error);
        return DialogOutcome::Cancelled;
    }
    if (ended != ps::kRavoOKItem) return DialogOutcome::Cancelled;
    // The render shows the effect's result, not a diagnostic view chosen in the dialog.
    Effect& effect = *call.effect();
    for (uint32_t i = 0; i < effect.parameterCount; ++i) {
        Parameter& p = effect.parameter(i);
        if (p.kind == ParameterKind::List && p.name && std::strcmp(p.name, "view") == 0) {
            p.listIndex = 0;
            break;
        }
    }
    return DialogOutcome::Accepted;
}
