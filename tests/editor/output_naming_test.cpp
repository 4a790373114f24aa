// Output names of a run over many inputs: folders, patterns, formats, and the
// collisions refused before anything runs.
#include "editor/output_naming.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/effect_description.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace editor;

struct NamingCase {
    std::vector<std::string> inputs;
    std::string out;
    std::optional<FileFormat> format;
    std::vector<std::string> outputs;  // empty: refused with `error` in the message
    std::string error;
};

TEST(OutputNaming, FoldersAndPatterns) {
    const NamingCase cases[] = {
        {{"shoot/a.png", "b.JPEG", "c.tiff"}, "out", {}, {"out/a.png", "out/b.JPEG", "out/c.tiff"}, ""},
        {{"a.png", "b.jpg"}, "out/", FileFormat::tiff, {"out/a.tif", "out/b.tif"}, ""},
        {{"dir/a.b.png"}, "{name}-mist.{ext}", {}, {"a.b-mist.png"}, ""},
        {{"a.png"}, "x/{name}.{ext}", FileFormat::jpeg, {"x/a.jpg"}, ""},
        {{"a.tif"}, "{{{name}}}.png", {}, {"{a}.png"}, ""},
        {{"a.png", "b.png"}, "same.png", {}, {"same.png/a.png", "same.png/b.png"}, ""},
        {{"a.png", "b.png"}, "same-{ext}.png", {}, {"same-png.png", "same-png.png"}, ""},
        {{"noext", "a.png"}, "out", {}, {}, "cannot tell the format of \"noext\""},
        {{"noext"}, "out", FileFormat::png, {"out/noext.png"}, ""},
        {{"a.bmp"}, "{name}.png", {}, {"a.png"}, ""},
        {{"a.png"}, "{nam}.{ext}", {}, {}, "unknown field {nam}"},
        {{"a.png"}, "{name.png", {}, {}, "'{' without its '}'"},
        {{"a.png"}, "name}.png", {}, {}, "'}' without its '{'"},
    };
    for (const NamingCase& c : cases) {
        SCOPED_TRACE(c.out);
        if (!c.error.empty()) {
            try {
                outputNames(c.inputs, c.out, c.format);
                ADD_FAILURE() << "not refused";
            } catch (const UsageError& e) {
                EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
            }
            continue;
        }
        std::vector<std::string> expected;
        for (const std::string& output : c.outputs) expected.push_back(std::filesystem::path(output).make_preferred().string());
        EXPECT_EQ(outputNames(c.inputs, c.out, c.format), expected);
    }
}

TEST(OutputNaming, FormatNames) {
    EXPECT_EQ(formatNamed("TIFF"), FileFormat::tiff);
    EXPECT_EQ(formatNamed("jpeg"), FileFormat::jpeg);
    EXPECT_THROW(formatNamed("gif"), UsageError);
}

TEST(OutputNaming, CollisionsAreRefused) {
    const std::filesystem::path folder = test_support::tempDir() / "naming";
    std::filesystem::create_directories(folder);
    const std::string a = (folder / "a.png").string(), b = (folder / "b.png").string();
    std::ofstream(a) << "a";
    std::ofstream(b) << "b";
    struct Case {
        std::vector<std::string> outputs;
        const char* error;  // nullptr: accepted
    } cases[] = {
        {{(folder / "a-out.png").string(), (folder / "b-out.png").string()}, nullptr},
        {{(folder / "x.png").string(), (folder / "sub/../x.png").string()}, "would both write"},
        {{(folder / "x.png").string(), b}, "is the input"},
        {{(folder / "." / "a.png").string(), (folder / "y.png").string()}, "is the input"},
    };
    for (const Case& c : cases) {
        if (!c.error) {
            EXPECT_NO_THROW(checkOutputsDistinct({a, b}, c.outputs));
            continue;
        }
        try {
            checkOutputsDistinct({a, b}, c.outputs);
            ADD_FAILURE() << c.outputs[0] << " " << c.outputs[1] << " not refused";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
    }
}

}  // namespace
