// What the plug-in says about an effect's parameters, and the values the command
// line builds from it: defaults, presets and KEY=VALUE settings, validated against
// the plug-in's own kinds, ranges and list items.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "paramblock/held_values.h"
#include "paramblock/parameter_block.h"
#include "paramblock/parameter_flags.h"

namespace editor {

// A value or option the user gave that cannot be used; the text is one line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ParameterInfo {
    uint32_t index = 0;
    ParameterKind kind = ParameterKind::None;
    std::string name;
    std::string label;
    uint16_t flags = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    double numberDefault = 0.0;
    bool booleanDefault = false;
    uint32_t listDefault = 0;
    std::vector<std::string> items;
    RGBValue colorDefault;
    PointValue pointDefault;
    std::string folder;
    // How the command line addresses it: the key, or KEY#n for the nth record with a repeated key.
    std::string address;

    // The numbers a Number takes: its range, widened for a whole number to its slider's.
    NumberRange numberRange() const;
    bool holdsValue() const;
};

struct EffectDescription {
    std::string key;
    std::string title;
    std::vector<ParameterInfo> parameters;

    // Parses the plug-in's description text; throws UsageError when it is malformed.
    static EffectDescription parse(const std::string& text);
    // The parameter a KEY, KEY#n or index addresses; throws UsageError listing the valid keys.
    const ParameterInfo& find(const std::string& address) const;
    // A block holding every default value.
    ParameterBlock defaults() const;
};

// Applies KEY=VALUE to the values. An ImageFile value names a picture file of texturesFolder
// (editor/texture_folder.h); an empty one clears the choice.
void applySetting(const EffectDescription& effect, ParameterBlock& values, const std::string& assignment,
                  const std::string& texturesFolder);
// Takes the values of a preset file's block, by key and kind, held to what each parameter
// can hold, as the plug-in would. Throws UsageError naming what differs when the preset is
// for another effect or another version of it, FileError when it is damaged.
void applyPreset(const EffectDescription& effect, ParameterBlock& values, const std::vector<uint8_t>& preset,
                 const std::string& presetName);
// Takes the values of a block the host remembered, as the plug-in restores them: a
// block for another effect or another version of it (title, count or record size)
// is ignored as a whole; its version field is not examined.
void applyRemembered(const EffectDescription& effect, ParameterBlock& values, const std::vector<uint8_t>& block);
// The parameter table as `ravo params` shows it; a texture parameter lists textureNames, the
// picture files of the Textures folder.
std::string formatParameters(const EffectDescription& effect, const std::vector<std::string>& textureNames);

}  // namespace editor
