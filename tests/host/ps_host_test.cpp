#include <gtest/gtest.h>

#include <string>

#include "host/ps_host.h"

namespace {

TEST(PSHost, ResourcePathIsBesideThePluginFile) {
    ASSERT_TRUE(plugin_path::set("/opt/hosts/Plug-ins/Ravo.so"));
    char out[fx::Host::kPathSize];
    ASSERT_TRUE(PS_Host::instance().resourcePath("QEL Ravo", "Textures", "brick.png", out));
    EXPECT_STREQ(out, "/opt/hosts/Plug-ins/Textures/brick.png");
    ASSERT_TRUE(PS_Host::instance().resourcePath("QEL Ravo", "Textures", nullptr, out));
    EXPECT_STREQ(out, "/opt/hosts/Plug-ins/Textures/");
    EXPECT_EQ(fx::Host::instance(), &PS_Host::instance());
}

TEST(PSHost, PathsThatDoNotFitAreRefusedNotCut) {
    const std::string folder = "/" + std::string(250, 'f');
    ASSERT_TRUE(plugin_path::set((folder + "/Ravo.so").c_str()));
    char out[fx::Host::kPathSize];
    EXPECT_FALSE(PS_Host::instance().resourcePath("QEL Ravo", "Textures", std::string(60, 'n').c_str(), out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(plugin_path::set(("/" + std::string(300, 'x')).c_str()));
    ASSERT_TRUE(plugin_path::set("Ravo.so"));  // no folder at all
    EXPECT_FALSE(PS_Host::instance().resourcePath("QEL Ravo", "Textures", "a.png", out));
}

}  // namespace
