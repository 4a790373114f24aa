#include "editor/dialog_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "sdk/ravo_dialog_items.h"

namespace editor {

namespace {

using Verb = ScriptCommand::Verb;

std::string lineError(int line, const std::string& problem) {
    return "script line " + std::to_string(line) + ": " + problem;
}

const char* const kBlanks = " \t\r";

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The first word of text and the rest after the blanks that follow it.
std::pair<std::string, std::string> firstWord(const std::string& text) {
    const size_t end = std::min(text.find_first_of(kBlanks), text.size());
    return {text.substr(0, end), trimmed(text.substr(end))};
}

// "X,Y" as two whole numbers of at most a million either way.
std::optional<ps::ADMPoint> parseXY(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    int32_t xy[2];
    const std::string parts[2] = {text.substr(0, comma), text.substr(comma + 1)};
    for (int i = 0; i < 2; ++i) {
        const char* begin = parts[i].c_str();
        char* end = nullptr;
        const long value = std::strtol(begin, &end, 10);
        if (end == begin || *end || value < -1000000 || value > 1000000) return std::nullopt;
        xy[i] = int32_t(value);
    }
    return ps::ADMPoint{xy[0], xy[1]};
}

// The shortest text that reads back as value.
std::string numberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

uint16_t colorComponent(double fraction) { return uint16_t(std::lround(std::clamp(fraction, 0.0, 1.0) * 65535.0)); }

bool endsWithPng(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".png";
}

// One line's command; throws the problem (without the line number) when it cannot be read.
ScriptCommand parseCommand(const std::string& word, const std::string& rest) {
    ScriptCommand command;
    command.word = word;
    const auto [key, after] = firstWord(rest);
    auto needs = [&](bool ok, const char* form) {
        if (!ok) throw UsageError(word + " needs " + form + (rest.empty() ? "" : ", got \"" + rest + "\""));
    };
    // tick, untick, choose and pick are set restricted to one kind of parameter.
    auto setOf = [&](ParameterKind kind, const std::string& value) {
        command.kind = kind;
        command.text = key + "=" + value;
    };
    if (word == "set") {
        const size_t equals = rest.find('=');
        needs(equals != std::string::npos && equals > 0, "KEY=VALUE");
        command.text = trimmed(rest.substr(0, equals)) + "=" + trimmed(rest.substr(equals + 1));
    } else if (word == "type") {
        needs(!key.empty() && !after.empty(), "KEY TEXT");
        command.verb = Verb::type;
        command.text = key;
        command.typed = after;
    } else if (word == "tick" || word == "untick") {
        needs(!key.empty() && after.empty(), "one KEY");
        setOf(ParameterKind::Boolean, word == "tick" ? "on" : "off");
    } else if (word == "slide") {
        needs(!key.empty() && !after.empty(), "KEY VALUE");
        setOf(ParameterKind::Number, after);
    } else if (word == "choose") {
        needs(!key.empty() && !after.empty(), "KEY ITEM");
        setOf(ParameterKind::List, after);
    } else if (word == "pick") {
        needs(!key.empty() && !after.empty(), "KEY COLOUR");
        setOf(ParameterKind::Color, after);
    } else if (word == "press") {
        needs(!rest.empty(), "a button's LABEL");
        command.verb = Verb::press;
        command.text = rest;
    } else if (word == "zoom") {
        static const std::pair<const char*, const char*> kZoomButtons[] = {
            {"in", "+"}, {"out", "-"}, {"fit", "Fit"}, {"1:1", "1:1"}};
        const auto* found = std::find_if(std::begin(kZoomButtons), std::end(kZoomButtons),
                                         [&](const auto& z) { return rest == z.first; });
        needs(found != std::end(kZoomButtons), "in, out, fit or 1:1");
        command.verb = Verb::press;
        command.text = found->second;
    } else if (word == "drag") {
        const std::optional<ps::ADMPoint> from = parseXY(key), to = parseXY(after);
        needs(from && to, "two points X1,Y1 X2,Y2 in the preview");
        command.verb = Verb::drag;
        command.from = *from;
        command.to = *to;
    } else if (word == "pan") {
        const std::optional<ps::ADMPoint> offset = parseXY(rest);
        needs(offset.has_value(), "an offset DX,DY");
        command.verb = Verb::pan;
        command.to = *offset;
    } else if (word == "file") {
        needs(!rest.empty(), "a PATH or cancel");
        command.verb = Verb::file;
        if (rest != "cancel") command.text = std::filesystem::absolute(rest).string();
    } else if (word == "snapshot") {
        needs(endsWithPng(rest), "a FILE.png");
        command.verb = Verb::snapshot;
        command.text = rest;
    } else {
        throw UsageError("unknown command \"" + word +
                         "\"; commands: set, type, tick, untick, slide, choose, pick, press, zoom, drag, pan, file, snapshot");
    }
    return command;
}

ps::ADMItemRef refOf(DialogItem* item) { return reinterpret_cast<ps::ADMItemRef>(item); }

// The item a person uses to set parameter p, checked to be shown and enabled together with
// the control around it.
DialogItem& usableItem(DialogManager& manager, ps::ADMDialogRef dialog, const ParameterInfo& p,
                       ps::RavoControlPart part) {
    DialogItem* item = nullptr;
    for (const ps::RavoControlPart checked : {ps::kRavoControlWhole, part}) {
        item = manager.item(manager.findItem(dialog, ps::controlItemID(int32_t(p.index), checked)));
        if (!item && checked == ps::kRavoControlWhole) continue;
        if (!item) throw UsageError("the dialog shows no control for " + p.address);
        if (!item->visible)
            throw UsageError("the control of " + p.address + " is hidden (in a closed tab or a hidden group)");
        if (!item->enabled) throw UsageError("the control of " + p.address + " is disabled");
    }
    return *item;
}

}  // namespace

std::vector<ScriptCommand> parseScript(const std::string& text) {
    std::vector<ScriptCommand> commands;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto [word, rest] = firstWord(line);
        try {
            commands.push_back(parseCommand(word, rest));
        } catch (const std::exception& e) {
            throw UsageError(lineError(number, e.what()));
        }
        commands.back().line = number;
    }
    return commands;
}

ScriptedDriver::ScriptedDriver(std::vector<ScriptCommand> commands, EffectDescription effect,
                               std::string texturesFolder, Snapshot snapshot)
    : commands_(std::move(commands)),
      effect_(std::move(effect)),
      texturesFolder_(std::move(texturesFolder)),
      snapshot_(std::move(snapshot)) {}

std::optional<std::string> ScriptedDriver::chooseFile(const FileDialogRequest&) {
    if (fileAnswers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

std::optional<ps::ADMRGBColor> ScriptedDriver::chooseColor(const ps::ADMRGBColor&) {
    return std::exchange(colorAnswer_, std::nullopt);
}

void ScriptedDriver::alert(AlertKind kind, const std::string& message) { alerts_.emplace_back(kind, message); }

void ScriptedDriver::runModal(DialogManager& manager, ps::ADMDialogRef dialog) {
    while (error_.empty() && next_ < commands_.size()) {
        const Dialog* open = manager.dialog(dialog);
        if (!open || open->endedWith) return;
        const ScriptCommand& command = commands_[next_++];
        try {
            perform(manager, dialog, command);
        } catch (const std::exception& e) {
            error_ = lineError(command.line, e.what());
            if (const Dialog* still = manager.dialog(dialog)) manager.endModalAsDriver(dialog, still->cancelItem);
        }
    }
}

void ScriptedDriver::perform(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command) {
    switch (command.verb) {
        case Verb::set: setControl(manager, dialog, command); break;
        case Verb::type: typeInto(manager, dialog, command); break;
        case Verb::press: press(manager, dialog, command.text); break;
        case Verb::drag:
        case Verb::pan: dragInPreview(manager, dialog, command); break;
        case Verb::file:
            if (command.text.empty()) fileAnswers_.emplace_back(std::nullopt);
            else fileAnswers_.emplace_back(command.text);
            break;
        case Verb::snapshot:
            if (!snapshot_) throw UsageError("snapshots are not available here");
            try {
                snapshot_(manager, dialog, command.text);
            } catch (const std::exception& e) {
                throw UsageError("snapshot " + command.text + ": " + e.what());
            }
            break;
    }
}

void ScriptedDriver::setControl(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command) {
    const ParameterInfo& p = effect_.find(command.text.substr(0, command.text.find('=')));
    if (command.kind != ParameterKind::None && p.kind != command.kind)
        throw UsageError(command.word + " acts on a " + parameterKindName(command.kind) + "; " + p.address + " is a " +
                         parameterKindName(p.kind));
    // The value is read and checked exactly as the command line's --set reads it.
    ParameterBlock values = effect_.defaults();
    applySetting(effect_, values, command.text, texturesFolder_);
    const BlockRecord& value = values.records.at(p.index);
    auto control = [&](ps::RavoControlPart part) { return refOf(&usableItem(manager, dialog, p, part)); };
    bool acted = false;
    switch (p.kind) {
        case ParameterKind::Number:
            // slide drags the slider there (its value in single precision); set types the number.
            acted = command.word == "slide" ? manager.setFloatAsUser(control(ps::kRavoControlValue), value.number)
                                            : manager.setTextAsUser(control(ps::kRavoControlSecond), numberText(value.number));
            break;
        case ParameterKind::Boolean:
            acted = manager.setBooleanAsUser(control(ps::kRavoControlWhole), value.boolean);
            break;
        case ParameterKind::List:
            acted = manager.selectEntryAsUser(control(ps::kRavoControlValue), int32_t(value.listIndex));
            break;
        case ParameterKind::Point:
            // The field reads percentages of the picture from its centre.
            acted = manager.setTextAsUser(control(ps::kRavoControlValue),
                                          numberText(value.point.x * 100) + ", " + numberText(value.point.y * 100));
            break;
        case ParameterKind::Color: {
            DialogItem& swatch = *manager.item(control(ps::kRavoControlValue));
            colorAnswer_ = ps::ADMRGBColor{colorComponent(value.color.red), colorComponent(value.color.green),
                                           colorComponent(value.color.blue)};
            const ps::ADMPoint centre{swatch.width() / 2, swatch.height() / 2};
            acted = manager.track(refOf(&swatch), ps::kADMButtonDownAction, centre) &&
                    manager.track(refOf(&swatch), ps::kADMButtonUpAction, centre);
            if (acted && std::exchange(colorAnswer_, std::nullopt))
                throw UsageError("clicking the swatch of " + p.address + " opened no colour chooser");
            break;
        }
        case ParameterKind::ImageFile: {
            if (value.fileName.empty()) throw UsageError("the dialog cannot clear the file of " + p.address);
            const ps::ADMItemRef browse = control(ps::kRavoControlSecond);
            const size_t queued = fileAnswers_.size();
            const auto chosen = std::filesystem::path(texturesFolder_) / value.fileName;
            fileAnswers_.emplace_front(chosen.lexically_normal().make_preferred().string());
            acted = manager.pressItem(browse);
            if (fileAnswers_.size() > queued) {
                fileAnswers_.pop_front();
                if (acted) throw UsageError("pressing \"Browse...\" of " + p.address + " opened no file dialog");
            }
            break;
        }
        default: break;  // applySetting refused every other kind
    }
    colorAnswer_.reset();
    if (!acted) throw UsageError("the control of " + p.address + " did not take the value");
}

void ScriptedDriver::typeInto(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command) {
    const ParameterInfo& p = effect_.find(command.text);
    if (p.kind != ParameterKind::Number && p.kind != ParameterKind::Point)
        throw UsageError("type acts on the field of a Number or a Point; " + p.address + " is a " +
                         parameterKindName(p.kind));
    const auto part = p.kind == ParameterKind::Number ? ps::kRavoControlSecond : ps::kRavoControlValue;
    if (!manager.setTextAsUser(refOf(&usableItem(manager, dialog, p, part)), command.typed))
        throw UsageError("the field of " + p.address + " does not take text");
}

void ScriptedDriver::press(DialogManager& manager, ps::ADMDialogRef dialog, const std::string& label) {
    if (manager.pressButton(dialog, label)) return;
    const Dialog* d = manager.dialog(dialog);
    const bool exists = d && std::any_of(d->items.begin(), d->items.end(), [&](const auto& item) {
                            return item->isButton() && item->text == label;
                        });
    throw UsageError(exists ? "the button \"" + label + "\" is hidden or disabled"
                            : "the dialog has no button \"" + label + "\"");
}

void ScriptedDriver::dragInPreview(DialogManager& manager, ps::ADMDialogRef dialog, const ScriptCommand& command) {
    DialogItem* preview = manager.item(manager.findItem(dialog, ps::kRavoPreviewItem));
    if (!preview || !preview->visible || !preview->enabled) throw UsageError("the dialog shows no preview");
    ps::ADMPoint from = command.from, to = command.to;
    int32_t modifiers = 0;
    if (command.verb == Verb::pan) {
        from = {preview->width() / 2, preview->height() / 2};
        to = {from.h + command.to.h, from.v + command.to.v};
        modifiers = ps::kADMModifierKey;
    }
    if (!manager.track(refOf(preview), ps::kADMButtonDownAction, from, modifiers))
        throw UsageError("the preview does not take the mouse");
    // A move every 8 pixels or less, the last one at the end point.
    const int32_t distance = std::max(std::abs(to.h - from.h), std::abs(to.v - from.v));
    const int32_t moves = std::max(1, (distance + 7) / 8);
    for (int32_t i = 1; i <= moves; ++i) {
        const ps::ADMPoint at{int32_t(from.h + int64_t(to.h - from.h) * i / moves),
                              int32_t(from.v + int64_t(to.v - from.v) * i / moves)};
        manager.track(refOf(preview), ps::kADMMouseMovedDownAction, at, modifiers);
    }
    manager.track(refOf(preview), ps::kADMButtonUpAction, to, modifiers);
}

}  // namespace editor
