// ravo_windows_resources OUTPUT_FOLDER
//
// Runs on the build machine and writes the resources of the Windows plug-in:
// ravo.rc and the files it names. It is linked with the plug-in's own objects and
// takes every byte from the functions that the Linux plug-in exports, so both
// builds publish the same data:
//   PIPL and AETE, ids 16000..16035, language neutral: one of each per menu command
//   RCDATA RAVO_KEYS      every effect: registry key, tab, export of its menu command
//   RCDATA RAVO_COMMANDS  every menu command: export, tab, registry key
//   RCDATA RAVO_FX_<KEY>  the parameter description of each effect (key in upper case)
// Files are rewritten only when their content changes; ravo.rc carries a hash of
// all of them, so the resource compiler reruns whenever any of them changed.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "host/entry_table.h"

// The Linux plug-in's exports (host/plugin_exports.cpp), linked in directly.
extern "C" {
const unsigned char* RavoResource(uint32_t type, int16_t id, uint32_t* size);
const char* RavoDescribeEffect(const char* key);
const char* RavoEffectKeys();
const char* RavoCommandKey(const char* exportName);
}

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kPiplType = 0x5049504C;  // 'PIPL'
constexpr uint32_t kAeteType = 0x41455445;  // 'AETE'

// FNV-1a, 64 bits: a change detector for the generated files, not a checksum anyone verifies.
class ContentHash {
public:
    void add(const std::string& bytes) {
        for (const unsigned char c : bytes) value_ = (value_ ^ c) * 0x100000001b3ULL;
    }
    std::string hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
        return text;
    }

private:
    uint64_t value_ = 0xcbf29ce484222325ULL;
};

class Writer {
public:
    explicit Writer(fs::path folder) : folder_(std::move(folder)) {}

    // Writes a file unless it already holds these bytes; returns its absolute path.
    std::string file(const std::string& name, const std::string& bytes) {
        const fs::path path = fs::absolute(folder_ / name);
        hash_.add(name);
        hash_.add(bytes);
        std::ifstream existing(path, std::ios::binary);
        const std::string old((std::istreambuf_iterator<char>(existing)), std::istreambuf_iterator<char>());
        if (!existing || old != bytes) {
            existing.close();
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), std::streamsize(bytes.size()));
            if (!out) throw std::runtime_error("cannot write " + path.string());
        }
        return path.generic_string();
    }
    const ContentHash& hash() const { return hash_; }

private:
    fs::path folder_;
    ContentHash hash_;
};

std::string resourceBytes(uint32_t type, int16_t id) {
    uint32_t size = 0;
    const unsigned char* bytes = RavoResource(type, id, &size);
    if (!bytes) throw std::runtime_error("the plug-in has no resource " + std::to_string(id));
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

std::string upperCase(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A file name as an .rc string literal.
std::string quoted(const std::string& path) {
    std::string out = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

void generate(const fs::path& folder) {
    fs::create_directories(folder);
    Writer writer(folder);
    std::string rc;
    // Language neutral, as hosts expect of PiPL resources.
    rc += "LANGUAGE 0, 0\n";
    for (const EntryPoint& entry : kEntryPoints) {
        const std::string id = std::to_string(entry.resourceId);
        rc += id + " PIPL " + quoted(writer.file("pipl_" + id + ".bin", resourceBytes(kPiplType, entry.resourceId))) + "\n";
        rc += id + " AETE " + quoted(writer.file("aete_" + id + ".bin", resourceBytes(kAeteType, entry.resourceId))) + "\n";
    }

    const std::string keys = RavoEffectKeys();
    rc += "RAVO_KEYS RCDATA " + quoted(writer.file("keys.txt", keys)) + "\n";

    std::string commands;
    for (const EntryPoint& entry : kEntryPoints) {
        const char* key = RavoCommandKey(entry.exportName);
        commands += std::string(entry.exportName) + "\t" + (key ? key : "") + "\n";
    }
    rc += "RAVO_COMMANDS RCDATA " + quoted(writer.file("commands.txt", commands)) + "\n";

    std::istringstream lines(keys);
    for (std::string line; std::getline(lines, line);) {
        const std::string key = line.substr(0, line.find('\t'));
        const char* description = RavoDescribeEffect(key.c_str());
        if (!description) throw std::runtime_error("the plug-in cannot describe its effect " + key);
        rc += "RAVO_FX_" + upperCase(key) + " RCDATA " + quoted(writer.file("fx_" + key + ".txt", description)) + "\n";
    }

    const std::string header =
        "// The Windows plug-in's resources, written by ravo_windows_resources; do not edit.\n"
        "// Content " + writer.hash().hex() + "\n";
    writer.file("ravo.rc", header + rc);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ravo_windows_resources OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        generate(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ravo_windows_resources: %s\n", e.what());
        return 1;
    }
    return 0;
}
