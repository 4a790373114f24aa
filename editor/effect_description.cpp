#include "editor/effect_description.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "editor/picture_file.h"
#include "editor/texture_folder.h"

namespace editor {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A finite decimal number, the whole text; false otherwise.
bool parseNumber(const std::string& text, double& value) {
    const std::string t = trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    value = std::strtod(t.c_str(), &end);
    return end && *end == '\0' && std::isfinite(value);
}

std::string formatNumber(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

ParameterKind kindFromName(const std::string& name) {
    static const std::map<std::string, ParameterKind> kinds = {
        {"Input", ParameterKind::Input},         {"Number", ParameterKind::Number},
        {"Boolean", ParameterKind::Boolean},     {"List", ParameterKind::List},
        {"Color", ParameterKind::Color},         {"Point", ParameterKind::Point},
        {"GroupBegin", ParameterKind::GroupBegin}, {"GroupEnd", ParameterKind::GroupEnd},
        {"ImageFile", ParameterKind::ImageFile},
    };
    auto found = kinds.find(name);
    if (found == kinds.end()) throw UsageError("the plug-in describes an unknown parameter kind \"" + name + "\"");
    return found->second;
}

double field(const std::vector<std::string>& fields, size_t i) {
    double value = 0.0;
    if (i >= fields.size() || !parseNumber(fields[i], value))
        throw UsageError("the plug-in's parameter description is malformed");
    return value;
}

std::string validKeys(const EffectDescription& effect) {
    std::string keys;
    for (const ParameterInfo& p : effect.parameters)
        if (p.holdsValue()) keys += (keys.empty() ? "" : ", ") + p.address;
    return keys;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string listItems(const ParameterInfo& p) {
    std::string items;
    for (size_t i = 0; i < p.items.size(); ++i) items += (i ? ", \"" : "\"") + p.items[i] + "\"";
    return items;
}

void setNumber(const ParameterInfo& p, BlockRecord& record, const std::string& text) {
    const NumberRange range = p.numberRange();
    double value = 0.0;
    if (!parseNumber(text, value))
        throw UsageError(p.address + "=" + text + " is not a number; " + p.address + " takes a number from " +
                         formatNumber(range.minimum) + " to " + formatNumber(range.maximum));
    if (!range.holds(value))
        throw UsageError(p.address + "=" + text + " is outside its range " + formatNumber(range.minimum) + " to " +
                         formatNumber(range.maximum));
    record.number = value;
}

void setBoolean(const ParameterInfo& p, BlockRecord& record, const std::string& text) {
    const std::string t = lower(trim(text));
    if (t == "true" || t == "on" || t == "1")
        record.boolean = true;
    else if (t == "false" || t == "off" || t == "0")
        record.boolean = false;
    else
        throw UsageError(p.address + "=" + text + " is not a switch value; use true, false, on, off, 1 or 0");
}

void setList(const ParameterInfo& p, BlockRecord& record, const std::string& text) {
    const std::string t = lower(trim(text));
    for (size_t i = 0; i < p.items.size(); ++i)
        if (lower(p.items[i]) == t) {
            record.listIndex = uint32_t(i);
            return;
        }
    double index = 0.0;
    if (parseNumber(t, index) && index == std::floor(index) && index >= 0 && index < double(p.items.size())) {
        record.listIndex = uint32_t(index);
        return;
    }
    throw UsageError(p.address + "=" + text + " is not one of its items: " + listItems(p) + " (or 0 to " +
                     std::to_string(p.items.size() - 1) + ")");
}

void setColor(const ParameterInfo& p, BlockRecord& record, const std::string& text) {
    const std::string t = trim(text);
    const std::string help = "; give r,g,b as fractions from 0 to 1 or #rrggbb";
    if (!t.empty() && t[0] == '#') {
        if (t.size() != 7 || !std::all_of(t.begin() + 1, t.end(), [](unsigned char c) { return std::isxdigit(c); }))
            throw UsageError(p.address + "=" + text + " is not a colour" + help);
        const unsigned long rgb = std::stoul(t.substr(1), nullptr, 16);
        record.color = {double((rgb >> 16) & 255) / 255.0, double((rgb >> 8) & 255) / 255.0, double(rgb & 255) / 255.0};
        return;
    }
    const std::vector<std::string> parts = split(t, ',');
    double c[3];
    if (parts.size() != 3 || !parseNumber(parts[0], c[0]) || !parseNumber(parts[1], c[1]) || !parseNumber(parts[2], c[2]))
        throw UsageError(p.address + "=" + text + " is not a colour" + help);
    for (double v : c)
        if (v < 0.0 || v > 1.0) throw UsageError(p.address + "=" + text + " has a component outside 0 to 1" + help);
    record.color = {c[0], c[1], c[2]};
}

void setPoint(const ParameterInfo& p, BlockRecord& record, const std::string& text) {
    const std::vector<std::string> parts = split(trim(text), ',');
    double x = 0.0, y = 0.0;
    if (parts.size() != 2 || !parseNumber(parts[0], x) || !parseNumber(parts[1], y))
        throw UsageError(p.address + "=" + text +
                         " is not a point; give x,y as fractions of the picture from its centre (-0.5 to 0.5 inside)");
    record.point = {x, y};
}

void setImageFile(const ParameterInfo& p, BlockRecord& record, const std::string& text, const std::string& folder) {
    if (text.empty()) {
        record.fileName.clear();
        return;
    }
    const std::string problem = textureNameProblem(folder, text);
    if (problem.empty()) {
        record.fileName = text;
        return;
    }
    const std::vector<std::string> names = textureFileNames(folder);
    throw UsageError(p.address + "=" + text + " is not a picture file of the textures folder " + folder + " (" +
                     problem + "); " + (names.empty() ? "the folder holds none" : "available: " + joined(names)));
}

}  // namespace

NumberRange ParameterInfo::numberRange() const {
    return ::numberRange(minimum, maximum, (flags & ParameterFlag::Whole) != 0);
}

bool ParameterInfo::holdsValue() const {
    return kind == ParameterKind::Number || kind == ParameterKind::Boolean || kind == ParameterKind::List ||
           kind == ParameterKind::Color || kind == ParameterKind::Point || kind == ParameterKind::ImageFile;
}

EffectDescription EffectDescription::parse(const std::string& text) {
    EffectDescription effect;
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line)) throw UsageError("the plug-in gave no parameter description");
    const std::vector<std::string> head = split(line, '\t');
    if (head.size() < 4 || head[0] != "effect") throw UsageError("the plug-in's parameter description is malformed");
    effect.key = head[1];
    effect.title = head[2];
    std::map<std::string, int> seen;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = split(line, '\t');
        if (f.size() < 5) throw UsageError("the plug-in's parameter description is malformed");
        ParameterInfo p;
        p.index = uint32_t(field(f, 0));
        p.kind = kindFromName(f[1]);
        p.name = f[2];
        p.label = f[3];
        p.flags = uint16_t(field(f, 4));
        switch (p.kind) {
            case ParameterKind::Number:
                p.minimum = field(f, 5);
                p.maximum = field(f, 6);
                p.numberDefault = field(f, 7);
                break;
            case ParameterKind::Boolean: p.booleanDefault = field(f, 5) != 0.0; break;
            case ParameterKind::List:
                p.listDefault = uint32_t(field(f, 5));
                p.items = f.size() > 6 ? split(f[6], '\x1f') : std::vector<std::string>{};
                break;
            case ParameterKind::Color: p.colorDefault = {field(f, 5), field(f, 6), field(f, 7)}; break;
            case ParameterKind::Point: p.pointDefault = {field(f, 5), field(f, 6)}; break;
            case ParameterKind::ImageFile: p.folder = f.size() > 5 ? f[5] : ""; break;
            default: break;
        }
        const int occurrence = ++seen[p.name];
        p.address = occurrence == 1 ? p.name : p.name + "#" + std::to_string(occurrence);
        effect.parameters.push_back(std::move(p));
    }
    return effect;
}

const ParameterInfo& EffectDescription::find(const std::string& address) const {
    for (const ParameterInfo& p : parameters)
        if (p.address == address && !p.name.empty()) return p;
    double index = 0.0;
    if (parseNumber(address, index) && index == std::floor(index) && index >= 0 && index < double(parameters.size()))
        return parameters[size_t(index)];
    throw UsageError("unknown parameter \"" + address + "\" for " + title + "; valid keys: " + validKeys(*this));
}

ParameterBlock EffectDescription::defaults() const {
    ParameterBlock block;
    block.effectName = title;
    block.count = uint32_t(parameters.size());
    for (const ParameterInfo& p : parameters) {
        BlockRecord record;
        record.kind = p.kind;
        record.name = p.name;
        record.number = p.numberDefault;
        record.boolean = p.booleanDefault;
        record.listIndex = p.listDefault;
        record.color = p.colorDefault;
        record.point = p.pointDefault;
        block.records.push_back(record);
    }
    return block;
}

void applySetting(const EffectDescription& effect, ParameterBlock& values, const std::string& assignment,
                  const std::string& texturesFolder) {
    const size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("--set needs KEY=VALUE, got \"" + assignment + "\"");
    const ParameterInfo& p = effect.find(assignment.substr(0, equals));
    const std::string value = assignment.substr(equals + 1);
    BlockRecord& record = values.records.at(p.index);
    switch (p.kind) {
        case ParameterKind::Number: setNumber(p, record, value); break;
        case ParameterKind::Boolean: setBoolean(p, record, value); break;
        case ParameterKind::List: setList(p, record, value); break;
        case ParameterKind::Color: setColor(p, record, value); break;
        case ParameterKind::Point: setPoint(p, record, value); break;
        case ParameterKind::ImageFile: setImageFile(p, record, value, texturesFolder); break;
        default:
            throw UsageError("parameter " + std::to_string(p.index) + " (" + parameterKindName(p.kind) +
                             ") holds no value; valid keys: " + validKeys(effect));
    }
}

namespace {

// Takes the values of a stored block that matches the effect, record by record as
// the plug-in does: a record whose kind or key differs leaves its parameter as it was;
// every value is held to what its parameter can hold (paramblock/held_values.h).
void takeStoredValues(const EffectDescription& effect, ParameterBlock& values, const ParameterBlock& stored) {
    for (size_t i = 0; i < stored.records.size() && i < effect.parameters.size(); ++i) {
        const BlockRecord& r = stored.records[i];
        const ParameterInfo& p = effect.parameters[i];
        if (r.kind != p.kind || r.name != p.name || p.name.empty()) continue;
        BlockRecord& target = values.records[i];
        switch (p.kind) {
            case ParameterKind::Number: target.number = heldNumber(r.number, target.number, p.numberRange()); break;
            case ParameterKind::List:
                target.listIndex = heldListIndex(r.listIndex, target.listIndex, uint32_t(p.items.size()));
                break;
            case ParameterKind::Boolean: target.boolean = r.boolean; break;
            case ParameterKind::Color: target.color = heldColor(r.color, target.color); break;
            case ParameterKind::Point: target.point = heldPoint(r.point, target.point); break;
            case ParameterKind::ImageFile: target.fileName = r.fileName; break;
            default: break;
        }
    }
}

bool isFor(const EffectDescription& effect, const ParameterBlock& stored) {
    return stored.effectName == effect.title && stored.recordSize == parameter_block::kRecordSize &&
           stored.count == effect.parameters.size();
}

}  // namespace

void applyPreset(const EffectDescription& effect, ParameterBlock& values, const std::vector<uint8_t>& preset,
                 const std::string& presetName) {
    ParameterBlock stored;
    std::string error;
    if (!ParameterBlock::decode(preset.data(), preset.size(), stored, error))
        throw FileError::reading(presetName, "damaged preset: " + error);
    const std::string name = "preset \"" + presetName + "\"";
    if (stored.effectName != effect.title)
        throw UsageError(name + " is for " + (stored.effectName.empty() ? "no named effect" : stored.effectName) +
                         ", not for " + effect.title);
    if (stored.version != parameter_block::kVersion)
        throw UsageError(name + " has block version " + std::to_string(stored.version) + ", this build reads version " +
                         std::to_string(parameter_block::kVersion));
    if (stored.recordSize != parameter_block::kRecordSize)
        throw UsageError(name + " has records of " + std::to_string(stored.recordSize) + " bytes, this build reads " +
                         std::to_string(parameter_block::kRecordSize) + "-byte records");
    if (stored.count != effect.parameters.size())
        throw UsageError(name + " is for a version of " + effect.title + " with " + std::to_string(stored.count) +
                         " parameters; this one has " + std::to_string(effect.parameters.size()));
    takeStoredValues(effect, values, stored);
}

void applyRemembered(const EffectDescription& effect, ParameterBlock& values, const std::vector<uint8_t>& block) {
    ParameterBlock stored;
    std::string error;
    if (ParameterBlock::decode(block.data(), block.size(), stored, error) && isFor(effect, stored))
        takeStoredValues(effect, values, stored);
}

std::string formatParameters(const EffectDescription& effect, const std::vector<std::string>& textureNames) {
    std::ostringstream out;
    out << effect.title << " (" << effect.key << "), " << effect.parameters.size() << " parameters\n";
    for (const ParameterInfo& p : effect.parameters) {
        out << "  " << p.index << "  " << (p.address.empty() ? "-" : p.address) << "  \"" << p.label << "\"  "
            << parameterKindName(p.kind);
        switch (p.kind) {
            case ParameterKind::Number:
                out << " " << formatNumber(p.minimum) << ".." << formatNumber(p.maximum) << " default "
                    << formatNumber(p.numberDefault);
                break;
            case ParameterKind::Boolean: out << " default " << (p.booleanDefault ? "on" : "off"); break;
            case ParameterKind::List:
                out << " " << listItems(p) << " default \"" << (p.listDefault < p.items.size() ? p.items[p.listDefault] : "")
                    << "\"";
                break;
            case ParameterKind::Color:
                out << " default " << formatNumber(p.colorDefault.red) << "," << formatNumber(p.colorDefault.green) << ","
                    << formatNumber(p.colorDefault.blue);
                break;
            case ParameterKind::Point:
                out << " default " << formatNumber(p.pointDefault.x) << "," << formatNumber(p.pointDefault.y);
                break;
            case ParameterKind::ImageFile:
                out << " file in " << p.folder
                    << (textureNames.empty() ? " (the folder holds no picture files)" : ": " + joined(textureNames));
                break;
            default: break;
        }
        std::string flags;
        if (p.flags & ParameterFlag::Hidden) flags += " hidden";
        if (p.flags & ParameterFlag::Percent) flags += " percent";
        else if (p.flags & ParameterFlag::Degrees) flags += " degrees";
        if (p.flags & ParameterFlag::Whole) flags += " whole";
        if (!flags.empty()) out << "  [" << flags.substr(1) << "]";
        out << "\n";
    }
    return out.str();
}

}  // namespace editor
