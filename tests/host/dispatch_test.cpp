// The spine driven directly, without loading the plug-in file.
#include <gtest/gtest.h>

#include "editor/filter_host.h"
#include "host/dispatch.h"
#include "host/entry_table.h"

namespace {

editor::EntryCall entryOf(const char* key) {
    const EntryPoint* entry = findEntryByKey(key);
    return [entry](int16_t selector, void* record, intptr_t* data, int16_t* result) {
        pluginMain(*entry, selector, record, data, result);
    };
}

TEST(Dispatch, OneInstancePerKeyForTheLifeOfThePlugin) {
    Effect* first = findOrCreateEffect("WarmCool");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(findOrCreateEffect("WarmCool"), first);
    EXPECT_NE(findOrCreateEffect("Temperature"), first);
    EXPECT_EQ(findOrCreateEffect("warmcool"), nullptr);
}

TEST(Dispatch, TheHostsParametersHandleWinsOverTheInstance) {
    plugin_state::resetForTests();
    editor::Picture picture = editor::Picture::blank(4, 4, 3, 8);
    editor::FilterHost host(picture, editor::HostOptions{});
    Effect* effect = findOrCreateEffect("WarmCool");
    effect->parameter(2).number = 40;
    ASSERT_EQ(host.call(entryOf("WarmCool"), 2), 0);  // no handle yet: made from the current values
    effect->parameter(2).number = 7;                  // changed behind the host's back
    ASSERT_EQ(host.call(entryOf("WarmCool"), 4), 0);  // every call loads the host's block again
    EXPECT_EQ(effect->numberValue(2), 40.0);
    EXPECT_EQ(plugin_state::callCount(), 2u);
    effect->parameter(2).number = 0;
}

TEST(Dispatch, TheHostVerdictIsKeptForTheProcess) {
    plugin_state::resetForTests();
    editor::Picture picture = editor::Picture::blank(4, 4, 3, 8);
    editor::HostOptions poor;
    poor.faults.withheldSuites.insert("Photoshop Buffer Suite for Plug-ins");
    {
        editor::FilterHost host(picture, poor);
        EXPECT_EQ(host.call(entryOf("Temperature"), 1), -30900);
    }
    editor::FilterHost able(picture, editor::HostOptions{});
    EXPECT_EQ(able.call(entryOf("Temperature"), 1), -30900);  // refused the same way for the whole process
    EXPECT_EQ(able.call(entryOf("Temperature"), 0), 0);       // the about call is not checked
    plugin_state::resetForTests();
    EXPECT_EQ(able.call(entryOf("Temperature"), 1), 0);
}

}  // namespace
