// Scripted dialogs: a person's actions in the plug-in's parameter dialog, written down one
// command a line, played back by the stand-in host's dialog manager.
//
// Blank lines and lines whose first non-blank character is '#' are skipped ('#' elsewhere in
// a line is text: list items, KEY#2 and #rrggbb colours contain it). KEY addresses a parameter
// as `ravo apply --set` does: its key, KEY#n for the nth parameter with a repeated key, or its
// index. VALUE is written as for --set.
//
//   set KEY=VALUE    sets the control as a person would: a Number by typing the value into its
//                    number field; a Boolean by setting its check box; a List by choosing the
//                    entry (item text or index); a Color by clicking its swatch and answering
//                    the colour chooser with the value (r,g,b fractions or #rrggbb, taken to
//                    16 bits a component); a Point by typing x, y into its field as percentages
//                    from the centre (VALUE gives fractions, as for --set); an ImageFile by
//                    pressing its "Browse..." and answering the file dialog with that file of
//                    the Textures folder.
//   type KEY TEXT    types TEXT as it is into the control's text field (a Number's number
//                    field, a Point's field), out-of-range and unreadable text included.
//   tick KEY         sets a Boolean's check box on; untick KEY sets it off.
//   slide KEY VALUE  moves a Number's slider to VALUE (the slider holds single precision).
//   choose KEY ITEM  chooses a List's entry by item text or index.
//   pick KEY COLOUR  clicks a Color's swatch and answers the colour chooser with COLOUR.
//   press LABEL      presses the shown, enabled button with that text: "OK", "Cancel",
//                    "Reset", "Load...", "Save...", a tab's label, "Fit", "-", "+", "1:1".
//   zoom in|out|fit|1:1
//                    presses "+", "-", "Fit" or "1:1".
//   drag X1,Y1 X2,Y2 drags the mouse in the preview (its own coordinates): button down at the
//                    first point, moves along the way, button up at the second.
//   pan DX,DY        drags from the preview's centre by DX,DY with the modifier key (Alt)
//                    held, so that no point handle is caught.
//   file PATH        the next file dialog is answered with PATH (made absolute);
//   file cancel      the next file dialog is cancelled. A file dialog with no answer queued
//                    is cancelled too.
//   snapshot FILE.png
//                    writes what the dialog shows now to FILE.png.
//
// A line that cannot be read is refused before anything runs, with "script line N: ...". The
// commands then run in order while the dialog runs modally, until one of them ends it (OK,
// Cancel) or the script ends (the dialog is then closed). A command that cannot act (a key the
// filter does not have, a value it cannot take, a hidden or disabled control, a button that is
// not there) stops the script: the dialog ends with its cancel item and the driver's error
// names the line and the problem, so that the caller writes nothing.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/dialog_manager.h"
#include "editor/effect_description.h"

namespace editor {

struct ScriptCommand {
    enum class Verb { set, type, press, drag, pan, file, snapshot };
    int line = 0;
    Verb verb = Verb::set;
    std::string word;  // the command as written ("tick", "zoom", ...), for messages
    // set: the assignment KEY=VALUE; type: the key; press: the label; file: the absolute path
    // (empty for cancel); snapshot: the file name.
    std::string text;
    std::string typed;  // type: the text to type
    // set through tick, untick, choose or pick: the only kind of parameter they act on.
    ParameterKind kind = ParameterKind::None;
    ps::ADMPoint from{}, to{};  // drag: the two points; pan: `to` holds the offset
};

// The commands of a script; throws UsageError "script line N: ..." for the first bad line.
std::vector<ScriptCommand> parseScript(const std::string& text);

// Plays a script in the dialogs the manager runs modally, and answers the host's file
// dialogs, colour chooser and alerts as the script says.
class ScriptedDriver : public DialogDriver {
public:
    // Draws the dialog into a picture file; throws std::exception naming the problem.
    using Snapshot = std::function<void(DialogManager&, ps::ADMDialogRef, const std::string& file)>;

    // The effect is the one whose dialog runs; texturesFolder is where its ImageFile names
    // are found. Without a snapshot function, a snapshot command stops the script.
    ScriptedDriver(std::vector<ScriptCommand> commands, EffectDescription effect, std::string texturesFolder,
                   Snapshot snapshot = {});

    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    std::optional<ps::ADMRGBColor> chooseColor(const ps::ADMRGBColor& start) override;
    void alert(AlertKind kind, const std::string& message) override;
    void runModal(DialogManager& manager, ps::ADMDialogRef dialog) override;

    // "script line N: ..." when a command could not act; empty otherwise.
    const std::string& error() const { return error_; }
    const std::vector<std::pair<AlertKind, std::string>>& alerts() const { return alerts_; }

private:
    void perform(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command);
    void setControl(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command);
    void typeInto(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command);
    void press(DialogManager& manager, ps::ADMDialogRef dialog, const std::string& label);
    void dragInPreview(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command);

    std::vector<ScriptCommand> commands_;
    size_t next_ = 0;
    EffectDescription effect_;
    std::string texturesFolder_;
    Snapshot snapshot_;
    std::deque<std::optional<std::string>> fileAnswers_;  // nothing: cancel
    std::optional<ps::ADMRGBColor> colorAnswer_;
    std::string error_;
    std::vector<std::pair<AlertKind, std::string>> alerts_;
};

}  // namespace editor
