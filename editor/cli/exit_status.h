// The `ravo` command's exit statuses.
#pragma once

namespace cli {

constexpr int kDone = 0;
constexpr int kUsage = 2;
constexpr int kBadFile = 3;
constexpr int kFilterFailed = 4;
constexpr int kPluginMissing = 5;

}  // namespace cli
