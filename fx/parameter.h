// One parameter record of an effect: its kind, key, label, flags, current value,
// default and range. Effects define their records once; the dialog, the scripting
// and preset code and the render code all work from them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "imaging/image.h"
#include "paramblock/held_values.h"
#include "paramblock/parameter_flags.h"
#include "paramblock/parameter_kind.h"
#include "paramblock/parameter_values.h"

struct Parameter {
    const char* name = nullptr;
    const char* label = nullptr;
    ParameterKind kind = ParameterKind::None;
    uint16_t flags = ParameterFlag::NewRecord;

    // Input: the current source image (set by the render code), the secondary-input byte.
    ImagePtr image;
    uint8_t secondaryInput = 0;
    // Number
    double number = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    double numberDefault = 0.0;
    uint32_t numberWord = 0;
    // Boolean
    bool boolean = false;
    bool booleanDefault = false;
    // List
    uint32_t listIndex = 0;
    const char* const* items = nullptr;
    uint32_t itemCount = 0;
    uint32_t listDefault = 0;
    // Color
    RGBValue color;
    RGBValue colorDefault;
    // Point: fractions of the image size from the centre (-0.5 left/top, 0.5 right/bottom).
    PointValue point;
    PointValue pointDefault;
    // ImageFile: resource folder, menu group and the chosen file name (empty: none).
    const char* folder = nullptr;
    const char* group = nullptr;
    std::string path;

    void defineInput(const char* key, const char* text, uint8_t secondary);
    void defineNumber(const char* key, const char* text, double min, double max, double def, uint32_t word = 1);
    void defineBoolean(const char* key, const char* text, bool def);
    void defineList(const char* key, const char* text, const char* const* listItems, uint32_t count, uint32_t def);
    void defineColor(const char* key, const char* text, double red, double green, double blue);
    void definePoint(const char* key, const char* text, double x, double y);
    void defineGroupBegin(const char* key, const char* text, bool open);
    void defineGroupEnd();
    void defineImageFile(const char* key, const char* text, const char* menuGroup, const char* resourceFolder);

    void addFlags(uint16_t bits) { flags = uint16_t(flags | bits); }
    bool hasFlag(uint16_t bit) const { return (flags & bit) != 0; }
    // Set or clear the enabled / open bit; the refresh bit is set only when the state changes.
    void setEnabled(bool on) { setBit(ParameterFlag::Enabled, on); }
    void setOpen(bool on) { setBit(ParameterFlag::Open, on); }
    bool isEnabled() const { return hasFlag(ParameterFlag::Enabled); }

    // value := default (Number, Boolean, List, Color, Point); ImageFile: no file.
    void resetToDefault();

    // The values the number can hold: its range, widened for a whole number to its slider's.
    NumberRange numberRange() const { return ::numberRange(minimum, maximum, hasFlag(ParameterFlag::Whole)); }
    // The number held to the record's range. Stored values are held as they are read; this
    // holds values set in code too.
    double numberInRange() const {
        const NumberRange range = numberRange();
        return std::clamp(number, range.minimum, range.maximum);
    }
    // The number as the dialog shows it: "%d" of the truncated value when whole, "%lg" otherwise.
    std::string formatNumber() const;

private:
    void setBit(uint16_t bit, bool on);
    void defineNamed(ParameterKind k, const char* key, const char* text);
};
