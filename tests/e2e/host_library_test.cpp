// The plug-in file driven through the stand-in host library, as a real host drives it.
#include <gtest/gtest.h>

#include <string>

#include "editor/filter_host.h"
#include "paramblock/parameter_block.h"
#include "sdk/pi_types.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
using editor::FilterHost;
using editor::HostOptions;
using editor::Picture;

constexpr char kDialogManager[] = "ADM Basic Suite";

size_t dialogRequests(const FilterHost& host) {
    size_t count = 0;
    for (const auto& request : host.suiteRequests()) count += request.name == kDialogManager;
    return count;
}

TEST(HostLibrary, MarginFreeEffectRendersTwelveTiles) {
    Picture picture = uniformPicture(1000, 700, 3, 8, {100, 100, 100});
    FilterHost host(picture, HostOptions{});
    auto& plugin = sharedPlugin();
    const int16_t result = host.replay(plugin.entryFor("WarmCool"), blockWith(plugin, "WarmCool", {{"temperature", "50"}}));
    ASSERT_EQ(result, 0);
    ASSERT_EQ(host.progress().size(), 12u);
    EXPECT_EQ(host.progress().back(), std::make_pair(12, 12));
    for (auto [x, y] : {std::pair{0, 0}, std::pair{999, 699}, std::pair{500, 300}})
        EXPECT_TRUE(sample(picture, x, y, 0) == 0 && sample(picture, x, y, 1) == 100 && sample(picture, x, y, 2) == 227);
    EXPECT_EQ(host.liveBuffers(), 0u);
    EXPECT_EQ(host.acquiredSuites(), host.releasedSuites());
}

TEST(HostLibrary, AlphaAndSixteenBitsPassThroughUnchangedWhereTheEffectLeavesThem) {
    Picture picture = patternPicture(70, 50, 4, 16);
    const Picture before = picture;
    FilterHost host(picture, HostOptions{});
    auto& plugin = sharedPlugin();
    ASSERT_EQ(host.replay(plugin.entryFor("WarmCool"), blockWith(plugin, "WarmCool", {{"temperature", "-20"}})), 0);
    const int32_t k = -int32_t(0.2 * 32768);  // trunc(-20 x 0.01 x 32768)
    for (int32_t y = 0; y < 50; y += 7)
        for (int32_t x = 0; x < 70; x += 9) {
            EXPECT_EQ(sample(picture, x, y, 3), sample(before, x, y, 3));
            EXPECT_EQ(sample(picture, x, y, 1), sample(before, x, y, 1));
            EXPECT_EQ(sample(picture, x, y, 2), std::clamp(int32_t(sample(before, x, y, 2)) + k, 0, 32768));
        }
}

// A host without a dialog manager: dialogs are asked for and the run goes on without them.
HostOptions withoutDialogs() {
    HostOptions options;
    options.faults.withheldSuites.insert("ADM Dialog Suite");
    return options;
}

TEST(HostLibrary, DialogIsConsideredOnceAfterParameters) {
    auto plugin = freshPlugin();
    Picture picture = uniformPicture(16, 16, 3, 8, {10, 20, 30});
    FilterHost host(picture, withoutDialogs());
    const auto entry = plugin->entryFor("WarmCool");
    ASSERT_EQ(host.call(entry, ps::filterSelectorParameters), 0);
    ASSERT_EQ(host.call(entry, ps::filterSelectorStart), 0);
    EXPECT_EQ(dialogRequests(host), 1u);  // no dialog manager here: the run goes on
    ASSERT_EQ(host.call(entry, ps::filterSelectorStart), 0);
    EXPECT_EQ(dialogRequests(host), 1u);  // a repeat runs silently
    ASSERT_EQ(host.call(entry, ps::filterSelectorFinish), 0);
    // Playback that asks for the dialog considers it too.
    Picture played = uniformPicture(8, 8, 3, 8, {1, 2, 3});
    FilterHost display(played, withoutDialogs());
    ASSERT_EQ(display.replay(entry, blockWith(*plugin, "WarmCool", {}), ps::plugInDialogDisplay), 0);
    EXPECT_EQ(dialogRequests(display), 1u);
}

TEST(HostLibrary, SilentPlaybackNeverConsidersTheDialogAndClearsTheFlag) {
    auto plugin = freshPlugin();
    Picture picture = uniformPicture(16, 16, 3, 8, {100, 100, 100});
    FilterHost host(picture, HostOptions{});
    const auto entry = plugin->entryFor("WarmCool");
    ASSERT_EQ(host.replay(entry, blockWith(*plugin, "WarmCool", {{"temperature", "50"}}), ps::plugInDialogSilent), 0);
    EXPECT_EQ(dialogRequests(host), 0u);
    EXPECT_EQ(sample(picture, 3, 3, 2), 227);
    // The flag was cleared: a repeat without the parameters call stays silent and uses the kept values.
    ASSERT_EQ(host.call(entry, ps::filterSelectorStart), 0);
    EXPECT_EQ(dialogRequests(host), 0u);
    EXPECT_EQ(sample(picture, 3, 3, 2), 255);  // 227 + 127, clamped
    EXPECT_EQ(sample(picture, 3, 3, 0), 0);
}

TEST(HostLibrary, FinishRemembersAndRecordsTheValues) {
    auto& plugin = sharedPlugin();
    Picture picture = uniformPicture(8, 8, 3, 8, {100, 100, 100});
    FilterHost host(picture, HostOptions{});
    const std::vector<uint8_t> block = blockWith(plugin, "WarmCool", {{"temperature", "12"}});
    ASSERT_EQ(host.replay(plugin.entryFor("WarmCool"), block), 0);
    EXPECT_EQ(host.parametersBlock(), block);
    EXPECT_EQ(host.recordedBlock(), block);
    EXPECT_EQ(host.record().descriptorParameters->recordInfo, 0);
    const auto entry = host.descriptors().registry().find("9A90E0BC-05CB-4cdc-8A0B-4D8F020F8102");
    ASSERT_NE(entry, host.descriptors().registry().end());
    EXPECT_TRUE(entry->second.persistent);
    ASSERT_EQ(entry->second.contents.size(), 1u);
    EXPECT_EQ(entry->second.contents[0].key, parameter_block::kDescriptorKey);
    EXPECT_EQ(entry->second.contents[0].bytes, block);
    EXPECT_EQ(host.descriptors().liveObjects(), 0u);

    // A new document opens with the remembered values.
    Picture second = uniformPicture(8, 8, 3, 8, {100, 100, 100});
    FilterHost next(second, withoutDialogs());
    next.descriptors().registry() = host.descriptors().registry();
    ASSERT_EQ(next.call(plugin.entryFor("WarmCool"), ps::filterSelectorParameters), 0);
    ASSERT_EQ(next.call(plugin.entryFor("WarmCool"), ps::filterSelectorStart), 0);
    EXPECT_EQ(sample(second, 0, 0, 2), 100 + 30);  // trunc(12 x 0.01 x 255) = 30
}

TEST(HostLibrary, AnEffectNotInThisBuildSaysSo) {
    auto& plugin = sharedPlugin();
    for (const auto& command : plugin.commands()) {
        if (command.available) continue;
        Picture picture = uniformPicture(4, 4, 3, 8, {5, 6, 7});
        const Picture before = picture;
        FilterHost host(picture, HostOptions{});
        auto entry = reinterpret_cast<ps::PluginMainProc>(plugin.symbol(command.entryPoint.c_str()));
        ASSERT_NE(entry, nullptr) << command.entryPoint;
        const editor::EntryCall call = [entry](int16_t s, void* r, intptr_t* d, int16_t* res) {
            entry(s, static_cast<ps::FilterRecord*>(r), d, res);
        };
        EXPECT_EQ(host.call(call, ps::filterSelectorAbout), 0);
        EXPECT_EQ(host.call(call, ps::filterSelectorParameters), ps::errReportString);
        EXPECT_EQ(host.errorMessage(), command.menuName.substr(0, command.menuName.size() - 3) +
                                           " is not available in this build.");
        EXPECT_EQ(picture.data, before.data);
    }
}

// The path is asked for on the first non-zero selector, again while the host has given none,
// and never once it is known.
TEST(HostLibrary, ThePathIsFetchedOnTheFirstNonZeroSelector) {
    auto plugin = freshPlugin();
    Picture picture = uniformPicture(4, 4, 3, 8, {5, 6, 7});
    const auto entry = plugin->entryFor("Temperature");
    FilterHost pathless(picture, HostOptions{});
    EXPECT_EQ(pathless.call(entry, ps::filterSelectorParameters), 0);
    EXPECT_TRUE(pathless.wasRequested("SP Plug-ins Suite"));
    HostOptions options;
    options.pluginPath = plugin->path();
    FilterHost host(picture, options);
    EXPECT_EQ(host.call(entry, ps::filterSelectorAbout), 0);
    EXPECT_FALSE(host.wasRequested("SP Plug-ins Suite"));
    EXPECT_EQ(host.call(entry, ps::filterSelectorParameters), 0);
    EXPECT_TRUE(host.wasRequested("SP Plug-ins Suite"));
    for (int16_t selector : {int16_t(6), int16_t(-1), int16_t(100)}) EXPECT_EQ(host.call(entry, selector), 0);
    FilterHost later(picture, options);
    EXPECT_EQ(later.call(entry, ps::filterSelectorParameters), 0);
    EXPECT_FALSE(later.wasRequested("SP Plug-ins Suite"));
}

// Each injected fault gives its result code; a document where nothing was written stays unchanged.
TEST(HostLibrary, InjectedFaultsGiveTheirResultCodes) {
    struct Case {
        const char* what;
        editor::FaultPlan faults;
        int16_t result;
        bool documentUnchanged;
    };
    auto withheld = [](const char* suite) {
        editor::FaultPlan plan;
        plan.withheldSuites.insert(suite);
        return plan;
    };
    auto failing = [](uint32_t buffer, uint32_t handle, uint32_t abortTile) {
        editor::FaultPlan plan;
        plan.failBufferAllocation = buffer;
        plan.failHandleAllocation = handle;
        plan.abortFromTile = abortTile;
        return plan;
    };
    const Case cases[] = {
        {"no basic suite", withheld("SP Basic Suite"), -30900, true},
        {"no channel ports", withheld("Photoshop ChannelPorts Suite for Plug-ins"), -30900, true},
        {"no buffer suite", withheld("Photoshop Buffer Suite for Plug-ins"), -30900, true},
        {"first buffer fails", failing(1, 0, 0), -108, true},
        {"second buffer fails", failing(2, 0, 0), -108, true},
        {"parameters handle fails", failing(0, 1, 0), -108, true},
        {"private handle fails", failing(0, 2, 0), -108, true},
        {"abort after the first tile", failing(0, 0, 1), -128, false},
        {"no registry: not remembered, still runs", withheld("61e608b0-40fd-11d1-8da3-00c04fd5f7ee"), 0, false},
        {"no plug-ins suite: still runs", withheld("SP Plug-ins Suite"), 0, false},
    };
    for (const Case& c : cases) {
        auto plugin = freshPlugin();
        Picture picture = uniformPicture(300, 300, 3, 16, {1000, 1000, 1000});
        const Picture before = picture;
        HostOptions options;
        options.faults = c.faults;
        FilterHost host(picture, options);
        const int16_t result =
            host.replay(plugin->entryFor("WarmCool"), blockWith(*plugin, "WarmCool", {{"temperature", "10"}}));
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(picture.data == before.data, c.documentUnchanged) << c.what;
        EXPECT_EQ(host.liveBuffers(), 0u) << c.what;
        if (c.faults.abortFromTile) {
            EXPECT_EQ(host.progress().size(), 1u);
            EXPECT_NE(sample(picture, 0, 0, 2), 1000);     // the first tile was written
            EXPECT_EQ(sample(picture, 299, 299, 2), 1000);  // the last was not
        }
    }
}

TEST(HostLibrary, RefusesPluginPathsLongerThanTheHostBuffer) {
    const std::string longPath = "/" + std::string(310, 'p') + "/Ravo.so";
    try {
        editor::PluginLibrary::open(longPath);
        FAIL() << "a path of " << longPath.size() << " bytes was accepted";
    } catch (const editor::PluginError& error) {
        EXPECT_NE(std::string(error.what()).find("at most 299"), std::string::npos) << error.what();
    }
}

TEST(HostLibrary, ListsEveryMenuCommandFromThePipl) {
    auto& plugin = sharedPlugin();
    ASSERT_EQ(plugin.commands().size(), 36u);
    EXPECT_EQ(plugin.commands()[0].menuName, "Ravo Black and White...");
    EXPECT_EQ(plugin.commands()[35].menuName, "Ravo Warm/Cool...");
    EXPECT_EQ(plugin.commands()[11].registryKey, "InfraRed");
    for (const auto& command : plugin.commands()) {
        EXPECT_EQ(command.category, "Tessarine");
        EXPECT_NE(plugin.symbol(command.entryPoint.c_str()), nullptr) << command.entryPoint;
        EXPECT_EQ(command.descriptorKey.size(), 36u);
    }
    for (const char* key : {"WarmCool", "Temperature", "Fluorescent"}) {
        bool available = false;
        for (const auto& command : plugin.commands()) available |= command.registryKey == key && command.available;
        EXPECT_TRUE(available) << key;
    }
}

}  // namespace
