// Exports beyond the entry points, for hosts that cannot read Windows resources
// and for the stand-in host's command line: the PiPL and AETE bytes, a
// description of an effect's parameters, and an entry for effects that have no
// menu command (such as Fast Blur).
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fx/effect_registry.h"
#include "host/dispatch.h"
#include "host/entry_table.h"
#include "host/export.h"
#include "host/resources.h"
#include "sdk/pi_filter.h"

namespace {

// Effects registered without a menu command, reachable by key.
const EntryPoint kHiddenEntries[] = {
    {nullptr, "FastBlur", "2b0f3c5e-6a41-4c7d-9e58-1f0d2a7b8c90", false, 0, "Fast Blur"},
};

const EntryPoint* findAnyEntry(const char* key) {
    if (const EntryPoint* entry = findEntryByKey(key)) return entry;
    for (const EntryPoint& entry : kHiddenEntries)
        if (std::strcmp(entry.registryKey, key) == 0) return &entry;
    return nullptr;
}

std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// Appends tab-separated fields to a line.
class Line {
public:
    explicit Line(std::string& out) : out_(out) {}
    Line& field(const std::string& text) {
        if (!first_) out_.push_back('\t');
        first_ = false;
        out_.append(text);
        return *this;
    }
    ~Line() { out_.push_back('\n'); }

private:
    std::string& out_;
    bool first_ = true;
};

std::string describe(const Effect& effect, const char* key) {
    std::string out;
    Line(out).field("effect").field(key).field(effect.title()).field(std::to_string(effect.parameterCount));
    for (uint32_t i = 0; i < effect.parameterCount; ++i) {
        const Parameter& p = effect.parameter(i);
        Line line(out);
        line.field(std::to_string(i)).field(parameterKindName(p.kind)).field(p.name ? p.name : "");
        line.field(p.label ? p.label : "").field(std::to_string(p.flags));
        switch (p.kind) {
            case ParameterKind::Number:
                line.field(number(p.minimum)).field(number(p.maximum)).field(number(p.numberDefault));
                break;
            case ParameterKind::Boolean: line.field(p.booleanDefault ? "1" : "0"); break;
            case ParameterKind::List: {
                std::string items;
                for (uint32_t item = 0; item < p.itemCount; ++item) {
                    if (item) items.push_back('\x1f');
                    items.append(p.items[item]);
                }
                line.field(std::to_string(p.listDefault)).field(items);
                break;
            }
            case ParameterKind::Color:
                line.field(number(p.colorDefault.red)).field(number(p.colorDefault.green)).field(number(p.colorDefault.blue));
                break;
            case ParameterKind::Point: line.field(number(p.pointDefault.x)).field(number(p.pointDefault.y)); break;
            case ParameterKind::ImageFile: line.field(p.folder ? p.folder : ""); break;
            default: break;
        }
    }
    return out;
}

}  // namespace

// The bytes of the PiPL or AETE resource with this id; null when there is none.
RAVO_EXPORT const unsigned char* RavoResource(uint32_t type, int16_t id, uint32_t* size) {
    static std::map<std::pair<uint32_t, int16_t>, std::vector<uint8_t>> cache;
    if (id < kFirstResourceId || id >= kFirstResourceId + int16_t(kEntryCount)) return nullptr;
    if (type != resource_type::kPiPL && type != resource_type::kAete) return nullptr;
    std::vector<uint8_t>& bytes = cache[{type, id}];
    if (bytes.empty()) {
        const EntryPoint& entry = kEntryPoints[id - kFirstResourceId];
        bytes = type == resource_type::kPiPL ? piplResource(entry) : aeteResource(entry);
    }
    if (size) *size = uint32_t(bytes.size());
    return bytes.data();
}

// A description of the effect registered under key, one line per parameter record; null when
// the effect is not in this build. The text lives until the next call.
RAVO_EXPORT const char* RavoDescribeEffect(const char* key) {
    static std::string text;
    if (!key || !EffectRegistry::instance().find(key)) return nullptr;
    Effect* effect = findOrCreateEffect(key);
    if (!effect) return nullptr;
    text = describe(*effect, key);
    return text.c_str();
}

// The entry of an effect by registry key, for effects without a menu command (and any other).
RAVO_EXPORT void RavoEffectMain(const char* key, ps::int16 selector, ps::FilterRecord* record, intptr_t* data,
                                ps::int16* result) {
    const EntryPoint* entry = key ? findAnyEntry(key) : nullptr;
    if (!entry) {
        if (result) *result = -30904;
        return;
    }
    pluginMain(*entry, selector, record, data, result);
}

// Every effect in this build, one line each: registry key, then the export name of its menu
// command (empty for effects without one), tab-separated, in registration order.
RAVO_EXPORT const char* RavoEffectKeys() {
    static std::string text;
    text.clear();
    const EffectRegistry& registry = EffectRegistry::instance();
    for (uint32_t i = 0; i < registry.count(); ++i) {
        const EntryPoint* entry = findEntryByKey(registry.keyAt(i));
        text.append(registry.keyAt(i)).append("\t").append(entry ? entry->exportName : "").append("\n");
    }
    return text.c_str();
}

// The registry key of a menu command's effect, by the command's export name, whether or not the
// effect is in this build; null for an unknown export.
RAVO_EXPORT const char* RavoCommandKey(const char* exportName) {
    const EntryPoint* entry = exportName ? findEntryByExport(exportName) : nullptr;
    return entry ? entry->registryKey : nullptr;
}
