// Every registered effect against its checked-in description in tests/effects/parameters/:
// the class table's texts, flags word and operations, and each parameter record's kind, key,
// label, range, default, list items and flags. Presets, recorded actions and the host's
// remembered values find parameters by these keys and trust these ranges and defaults, so
// any change to them must show up here. The folder's README describes the file format.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fx/effect_registry.h"

namespace {

namespace fs = std::filesystem;

fs::path descriptionFolder() { return fs::path(RAVO_SOURCE_DIR) / "tests" / "effects" / "parameters"; }

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

enum Column { kIndex, kKind, kKey, kLabel, kRange, kDefault, kItems, kFlags, kStart, kColumnCount };

struct Description {
    std::map<std::string, std::string> facts;  // title, description, effectFlags, parameters
    std::vector<std::vector<std::string>> records;
};

// Lines are "fact<TAB>value" or a record's columns; lines starting with '#' are comments.
Description readDescription(const fs::path& file) {
    Description description;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> columns = split(line, '\t');
        if (!columns[0].empty() && std::isdigit(static_cast<unsigned char>(columns[0][0]))) {
            columns.resize(kColumnCount);
            description.records.push_back(columns);
        } else if (columns.size() == 2) {
            description.facts[columns[0]] = columns[1];
        } else {
            ADD_FAILURE() << file << ": cannot read the line \"" << line << "\"";
        }
    }
    return description;
}

// Kind codes as the stored parameter records carry them.
const std::map<std::string, uint32_t> kKindCodes = {
    {"Input", 1},     {"Number", 2},     {"Boolean", 3},  {"List", 4},       {"Color", 5},
    {"Point", 6},     {"GroupBegin", 7}, {"GroupEnd", 8}, {"ImageFile", 10},
};

// A new record has 33 (enabled, needs refresh); an open group adds 2; the flags column lists
// the bits the definition ORs in (hexadecimal) and "disabled" for a record defined disabled.
uint16_t expectedFlags(const std::vector<std::string>& record) {
    uint32_t flags = 33;
    if (record[kKind] == "GroupBegin" && record[kDefault] == "open") flags |= 2;
    for (const std::string& token : split(record[kFlags], ' ')) {
        if (token == "disabled")
            flags &= ~1u;
        else if (!token.empty())
            flags |= uint32_t(std::stoul(token, nullptr, 16));
    }
    return uint16_t(flags);
}

std::vector<double> numbers(const std::string& text, char separator) {
    std::vector<double> values;
    for (const std::string& part : split(text, separator)) values.push_back(std::stod(part));
    return values;
}

void expectRecord(const Parameter& p, const std::vector<std::string>& r) {
    ASSERT_TRUE(kKindCodes.count(r[kKind])) << "unknown kind " << r[kKind];
    EXPECT_EQ(uint32_t(p.kind), kKindCodes.at(r[kKind]));
    if (r[kKind] == "GroupEnd") {
        EXPECT_EQ(p.name, nullptr);
        EXPECT_EQ(p.label, nullptr);
    } else {
        EXPECT_STREQ(p.name, r[kKey].c_str());
        EXPECT_STREQ(p.label, r[kLabel].c_str());
    }
    EXPECT_EQ(p.flags, expectedFlags(r)) << std::hex << "flags 0x" << p.flags << ", described 0x" << expectedFlags(r);
    const std::string& fallback = r[kDefault];
    if (r[kKind] == "Input") {
        EXPECT_EQ(p.secondaryInput, std::stoi(fallback));
        EXPECT_FALSE(p.image);
    } else if (r[kKind] == "Number") {
        const size_t dots = r[kRange].find("..");
        ASSERT_NE(dots, std::string::npos) << "range " << r[kRange];
        EXPECT_EQ(p.minimum, std::stod(r[kRange].substr(0, dots)));
        EXPECT_EQ(p.maximum, std::stod(r[kRange].substr(dots + 2)));
        EXPECT_EQ(p.numberDefault, std::stod(fallback));
        EXPECT_EQ(p.number, p.numberDefault);
        EXPECT_EQ(p.numberWord, 1u);
    } else if (r[kKind] == "Boolean") {
        ASSERT_TRUE(fallback == "true" || fallback == "false") << fallback;
        EXPECT_EQ(p.booleanDefault, fallback == "true");
        EXPECT_EQ(p.boolean, p.booleanDefault);
    } else if (r[kKind] == "List") {
        const std::vector<std::string> items = split(r[kItems], '|');
        ASSERT_EQ(p.itemCount, items.size());
        for (uint32_t i = 0; i < p.itemCount; ++i) EXPECT_STREQ(p.items[i], items[i].c_str()) << "item " << i;
        ASSERT_LT(p.listDefault, p.itemCount);
        EXPECT_EQ(p.items[p.listDefault], fallback);
        if (r[kStart].empty())
            EXPECT_EQ(p.listIndex, p.listDefault);
        else
            EXPECT_EQ(p.items[std::min(p.listIndex, p.itemCount - 1)], r[kStart]) << "the item a new effect starts from";
    } else if (r[kKind] == "Color") {
        const std::vector<double> rgb = numbers(fallback, ',');
        ASSERT_EQ(rgb.size(), 3u);
        for (const RGBValue& value : {p.colorDefault, p.color}) {
            EXPECT_EQ(value.red, rgb[0]);
            EXPECT_EQ(value.green, rgb[1]);
            EXPECT_EQ(value.blue, rgb[2]);
        }
    } else if (r[kKind] == "Point") {
        const std::vector<double> xy = numbers(fallback, ',');
        ASSERT_EQ(xy.size(), 2u);
        for (const PointValue& value : {p.pointDefault, p.point}) {
            EXPECT_EQ(value.x, xy[0]);
            EXPECT_EQ(value.y, xy[1]);
        }
    } else if (r[kKind] == "ImageFile") {
        const std::vector<std::string> groupAndFolder = split(r[kItems], '|');
        ASSERT_EQ(groupAndFolder.size(), 2u);
        EXPECT_STREQ(p.group, groupAndFolder[0].c_str());
        EXPECT_STREQ(p.folder, groupAndFolder[1].c_str());
        EXPECT_TRUE(p.path.empty());
    }
}

void expectEffect(const char* key, const Description& d) {
    for (const char* fact : {"title", "description", "effectFlags", "parameters"})
        ASSERT_TRUE(d.facts.count(fact)) << "the description lacks the line \"" << fact << "\"";
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    ASSERT_TRUE(effect);
    const EffectClass& c = *effect->effectClass;
    EXPECT_TRUE(c.create && c.clone && c.destroy && c.title && c.category && c.group && c.hostTag &&
                c.description && c.classId && c.version && c.isActive && c.beginRender && c.render &&
                c.parameterChanged && c.requiredSource)
        << "every operation of the class table is present";
    EXPECT_EQ(c.title(), d.facts.at("title"));
    EXPECT_EQ(c.description(), d.facts.at("description"));
    // Every effect starts from 8224 and ORs in its own bits.
    EXPECT_EQ(effect->effectFlags, 8224u | std::stoul(d.facts.at("effectFlags")));
    EXPECT_EQ(std::to_string(d.records.size()), d.facts.at("parameters")) << "the description's own count";
    ASSERT_EQ(effect->parameterCount, d.records.size());
    uint32_t inputs = 0;
    for (uint32_t i = 0; i < effect->parameterCount; ++i) {
        const std::vector<std::string>& record = d.records[i];
        SCOPED_TRACE("record " + std::to_string(i) + " " + record[kKey]);
        EXPECT_EQ(record[kIndex], std::to_string(i)) << "the description's rows are out of order";
        expectRecord(effect->parameter(i), record);
        inputs += record[kKind] == "Input";
    }
    EXPECT_EQ(effect->inputCount, inputs);
}

TEST(EffectParameterTables, EveryRegisteredEffectMatchesItsDescription) {
    const EffectRegistry& registry = EffectRegistry::instance();
    ASSERT_GT(registry.count(), 0u);
    std::map<std::string, bool> described;  // file stem -> registered
    for (const fs::directory_entry& entry : fs::directory_iterator(descriptionFolder()))
        if (entry.path().extension() == ".tsv") described[entry.path().stem().string()] = false;
    for (uint32_t i = 0; i < registry.count(); ++i) {
        const char* key = registry.keyAt(i);
        SCOPED_TRACE(key);
        const fs::path file = descriptionFolder() / (std::string(key) + ".tsv");
        if (!described.count(key)) {
            ADD_FAILURE() << "effect " << key << " is registered without a parameter description " << file;
            continue;
        }
        described[key] = true;
        expectEffect(key, readDescription(file));
    }
    for (const auto& [stem, registered] : described)
        EXPECT_TRUE(registered) << "description " << stem << ".tsv is for an effect that is not registered";
}

}  // namespace
