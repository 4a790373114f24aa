// One document in the stand-in host, with everything a filter plug-in is given:
// the filter record, the basic suite and the suites behind it (buffers, channel
// ports, plug-ins, descriptor registry, action descriptors, dialog manager), handles, scripting
// descriptors, progress and abort. Faults can be injected for tests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "editor/descriptors.h"
#include "editor/dialog_manager.h"
#include "editor/document_ports.h"
#include "editor/host_handles.h"
#include "editor/picture.h"
#include "sdk/pi_filter.h"
#include "sdk/sp_basic.h"

namespace editor {

// An entry point of the plug-in (selector, record, private value, result).
using EntryCall = std::function<void(int16_t selector, void* record, intptr_t* data, int16_t* result)>;

struct FaultPlan {
    // Suites refused when asked for, by name ("SP Basic Suite" withholds the basic suite itself).
    std::set<std::string> withheldSuites;
    // The Nth buffer or handle allocation fails (1 = the first); 0 never.
    uint32_t failBufferAllocation = 0;
    uint32_t failHandleAllocation = 0;
    // The abort test answers "stop" from its Nth call (one call per tile); 0 never.
    uint32_t abortFromTile = 0;
};

struct HostOptions {
    int32_t tileHeight = 256;
    int32_t tileWidth = 256;
    int32_t tileOriginV = 0;
    int32_t tileOriginH = 0;
    // The area to filter; the whole picture when not given.
    std::optional<std::array<int32_t, 4>> filterRect;
    std::string pluginPath;
    FaultPlan faults;
};

struct SuiteRequest {
    std::string name;
    int32_t version = 0;
    bool granted = false;
};

class FilterHost {
public:
    FilterHost(Picture& picture, HostOptions options);
    ~FilterHost();
    FilterHost(const FilterHost&) = delete;
    FilterHost& operator=(const FilterHost&) = delete;

    // Calls the entry point with a selector: the about record at 0, the filter record otherwise.
    int16_t call(const EntryCall& entry, int16_t selector);
    // A recorded action replayed: parameters, then start with the block under 'parM' in the
    // scripting descriptor (play mode silent unless given), then finish when start succeeded.
    int16_t replay(const EntryCall& entry, const std::vector<uint8_t>& block, int16_t playMode = 2);
    // Offers a scripting descriptor holding the block for the next start.
    void setScriptingBlock(const std::vector<uint8_t>& block, int16_t playMode);
    // The next calls come from the menu command: no descriptor, and the dialog is shown.
    void setInteractive();

    ps::FilterRecord& record() { return *record_; }
    Picture& picture() { return picture_; }
    HostHandles& handles() { return handles_; }
    DescriptorServices& descriptors() { return descriptors_; }
    DocumentPorts& ports() { return ports_; }
    DialogManager& dialogs() { return dialogs_; }
    FaultPlan& faults() { return options_.faults; }

    // The bytes of the parameters handle the plug-in keeps in the host (empty when none).
    std::vector<uint8_t> parametersBlock() const;
    // The block the plug-in recorded in the scripting descriptor at finish (empty when none).
    std::vector<uint8_t> recordedBlock() const;
    // The message the plug-in left in the error string, if any.
    std::string errorMessage() const;

    const std::vector<SuiteRequest>& suiteRequests() const { return suiteRequests_; }
    bool wasRequested(const std::string& suiteName) const;
    const std::vector<std::pair<int32_t, int32_t>>& progress() const { return progress_; }
    uint32_t abortTests() const { return abortTests_; }
    size_t liveBuffers() const { return liveBuffers_.size(); }
    uint32_t acquiredSuites() const { return acquired_; }
    uint32_t releasedSuites() const { return released_; }
    // Called with (done, total) on every progress report.
    std::function<void(int32_t, int32_t)> onProgress;

    static FilterHost* current();

    // Used by the host's procedures.
    ps::SPErr acquire(const char* name, int32_t version, const void** suite);
    ps::SPErr release(const char* name, int32_t version);
    ps::Ptr newBuffer(ps::unsigned32* size, ps::unsigned32 minimum);
    void disposeBuffer(ps::Ptr* buffer);
    ps::unsigned32 bufferSize(ps::Ptr buffer) const;
    bool testAbort();
    void reportProgress(int32_t done, int32_t total);
    const std::string& pluginPath() const { return options_.pluginPath; }

private:
    Picture& picture_;
    HostOptions options_;
    HostHandles handles_;
    DescriptorServices descriptors_;
    DocumentPorts ports_;
    DialogManager dialogs_;
    std::unique_ptr<ps::FilterRecord> record_;
    ps::AboutRecord about_{};
    ps::BigDocumentStruct bigDocument_{};
    ps::PIDescriptorParameters scripting_{};
    ps::PlatformData platform_{};
    unsigned char errorString_[256] = {};
    ps::SPBasicSuite basic_{};
    ps::PSBufferSuite1 buffers_{};
    ps::SPPluginsSuite4 plugins_{};
    intptr_t privateValue_ = 0;
    std::vector<SuiteRequest> suiteRequests_;
    std::vector<std::pair<int32_t, int32_t>> progress_;
    std::vector<std::pair<void*, size_t>> liveBuffers_;
    uint32_t bufferAllocations_ = 0;
    uint32_t abortTests_ = 0;
    uint32_t acquired_ = 0;
    uint32_t released_ = 0;
    static FilterHost* current_;
};

// One line naming a result code of a filter call.
std::string describeResult(int16_t result);

}  // namespace editor
