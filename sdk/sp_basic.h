// PICA basic suite and the general-purpose suites reached through it: buffers,
// handles and the plug-in list (for the plug-in's own file path).
//
// A suite pointer obtained from SPBasicSuite::AcquireSuite addresses a bare table
// of function pointers in the order declared here, with no header fields; every
// AcquireSuite that succeeds is paired with a ReleaseSuite of the same name and
// version. All tables are naturally aligned.
#pragma once

#include "sdk/pi_types.h"

namespace ps {

// ---------------------------------------------------------------------------
// Suite names and versions

inline constexpr char kSPBasicSuite[] = "SP Basic Suite";
inline constexpr int32 kSPBasicSuiteVersion = 4;

inline constexpr char kPSBufferSuite[] = "Photoshop Buffer Suite for Plug-ins";
inline constexpr int32 kPSBufferSuiteVersion1 = 1;
inline constexpr int32 kPSBufferSuiteVersion2 = 2;

// Same name as the HandleProcs table of the filter record, but through
// AcquireSuite the PSHandleSuite1/2 order below is what comes back.
inline constexpr char kPSHandleSuite[] = "Photoshop Handle Suite for Plug-ins";
inline constexpr int32 kPSHandleSuiteVersion1 = 1;
inline constexpr int32 kPSHandleSuiteVersion2 = 2;

inline constexpr char kSPPluginsSuite[] = "SP Plug-ins Suite";
inline constexpr int32 kSPPluginsSuiteVersion4 = 4;
inline constexpr int32 kSPPluginsSuiteVersion5 = 5;

// ---------------------------------------------------------------------------
// File locations

inline constexpr int kMaxPathLength = 300;

// Windows form: a NUL-terminated ANSI path. Mirrored unchanged on Linux.
struct SPPlatformFileSpecification {
    char path[kMaxPathLength];
};

// Windows form: a NUL-terminated UTF-16 path.
struct SPPlatformFileSpecificationW {
    uint16* mReference;
};

struct XPlatFileSpec {
    int32 mFileSpecVersion;  // 1
    uint16* mFileReference;
};

// ---------------------------------------------------------------------------
// SPBasicSuite: the gateway to every other suite (FilterRecord::sSPBasic)

struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, int32 version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, int32 version);
    SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
    SPErr (*Undefined)();
};

// ---------------------------------------------------------------------------
// Buffer suite: plain memory blocks from the host's pool

// Version 1: the first four entries.
struct PSBufferSuite1 {
    // *pRequestedSize: in = wanted, out = granted (at least minimumSize); null on failure.
    Ptr (*New)(unsigned32* pRequestedSize, unsigned32 minimumSize);
    void (*Dispose)(Ptr* ppBuffer);  // sets *ppBuffer to null
    unsigned32 (*GetSize)(Ptr pBuffer);
    unsigned32 (*GetSpace)();
};

struct PSBufferSuite2 {
    Ptr (*New)(unsigned32* pRequestedSize, unsigned32 minimumSize);
    void (*Dispose)(Ptr* ppBuffer);
    unsigned32 (*GetSize)(Ptr pBuffer);
    unsigned32 (*GetSpace)();
    Ptr (*New64)(unsigned64* pRequestedSize, unsigned64 minimumSize);
    unsigned64 (*GetSize64)(Ptr pBuffer);
    unsigned64 (*GetSpace64)();
};

// ---------------------------------------------------------------------------
// Handle suite. The order differs from the filter record's HandleProcs.

struct PSHandleSuite1 {
    Handle (*New)(int32 size);
    void (*Dispose)(Handle h);
    void (*SetLock)(Handle h, Boolean lock, Ptr* address, Boolean* oldLock);
    int32 (*GetSize)(Handle h);
    OSErr (*SetSize)(Handle h, int32 newSize);
    void (*RecoverSpace)(int32 size);
};

struct PSHandleSuite2 {
    Handle (*New)(int32 size);
    void (*Dispose)(Handle h);
    void (*DisposeRegularHandle)(Handle h);
    void (*SetLock)(Handle h, Boolean lock, Ptr* address, Boolean* oldLock);
    int32 (*GetSize)(Handle h);
    OSErr (*SetSize)(Handle h, int32 newSize);
    void (*RecoverSpace)(int32 size);
};

// ---------------------------------------------------------------------------
// Plug-ins suite. Only GetPluginFileSpecification matters to us; the other
// entries are declared so the table has its published shape.

struct OpaqueSPStringPool;
struct OpaqueSPPluginList;
struct OpaqueSPPluginListIterator;
struct OpaqueSPPropertyList;
struct OpaqueSPAdapter;
struct OpaqueSPFile;
struct PIProperty;      // PiPL property; read as bytes (see sdk/pipl.h)
struct PIPropertyList;  // PiPL resource body; read as bytes

using SPStringPoolRef = OpaqueSPStringPool*;
using SPPluginListRef = OpaqueSPPluginList*;
using SPPluginListIteratorRef = OpaqueSPPluginListIterator*;
using SPPropertyListRef = OpaqueSPPropertyList*;
using SPAdapterRef = OpaqueSPAdapter*;
using SPFileRef = OpaqueSPFile*;
// Entry of a PICA-native plug-in; only ever passed through, never called by us.
using SPPluginEntryFunc = SPErr (*)(const char* caller, const char* selector, void* message);

// 28 entries as in version 5. A host that hands out version 4 fills only the
// first 26; GetPluginHostInfo and SetPluginHostInfo must not be called then.
struct SPPluginsSuite4 {
    SPErr (*AllocatePluginList)(SPStringPoolRef strings, SPPluginListRef* pluginList);
    SPErr (*FreePluginList)(SPPluginListRef pluginList);
    SPErr (*AddPlugin)(SPPluginListRef list, const SPPlatformFileSpecification* fileSpec,
                       PIPropertyList* PiPL, const char* adapterName, void* adapterInfo,
                       SPPluginRef* plugin);
    SPErr (*NewPluginListIterator)(SPPluginListRef list, SPPluginListIteratorRef* iter);
    SPErr (*NextPlugin)(SPPluginListIteratorRef iter, SPPluginRef* plugin);
    SPErr (*DeletePluginListIterator)(SPPluginListIteratorRef iter);
    SPErr (*GetPluginListNeededSuiteAvailable)(SPPluginListRef list, SPBoolean* available);
    SPErr (*GetPluginHostEntry)(SPPluginRef plugin, SPPluginEntryFunc* hostEntry);
    SPErr (*GetPluginFileSpecification)(SPPluginRef plugin, SPPlatformFileSpecification* fileSpec);
    SPErr (*GetPluginPropertyList)(SPPluginRef plugin, SPPropertyListRef* propertyList);
    SPErr (*GetPluginGlobals)(SPPluginRef plugin, void** globals);
    SPErr (*SetPluginGlobals)(SPPluginRef plugin, void* globals);
    SPErr (*GetPluginStarted)(SPPluginRef plugin, int32* started);
    SPErr (*SetPluginStarted)(SPPluginRef plugin, int32 started);
    SPErr (*GetPluginSkipShutdown)(SPPluginRef plugin, int32* skipShutdown);
    SPErr (*SetPluginSkipShutdown)(SPPluginRef plugin, int32 skipShutdown);
    SPErr (*GetPluginBroken)(SPPluginRef plugin, int32* broken);
    SPErr (*SetPluginBroken)(SPPluginRef plugin, int32 broken);
    SPErr (*GetPluginAdapter)(SPPluginRef plugin, SPAdapterRef* adapter);
    SPErr (*GetPluginAdapterInfo)(SPPluginRef plugin, void** adapterInfo);
    SPErr (*SetPluginAdapterInfo)(SPPluginRef plugin, void* adapterInfo);
    SPErr (*FindPluginProperty)(SPPluginRef plugin, PIType vendorID, PIType propertyKey,
                                int32 propertyID, PIProperty** p);
    SPErr (*GetPluginName)(SPPluginRef plugin, const char** name);
    SPErr (*SetPluginName)(SPPluginRef plugin, const char* name);
    SPErr (*GetNamedPlugin)(const char* name, SPPluginRef* plugin);
    SPErr (*SetPluginPropertyList)(SPPluginRef plugin, SPFileRef file);
    // Version 5 only.
    SPErr (*GetPluginHostInfo)(SPPluginRef plugin, void** hostInfo);
    SPErr (*SetPluginHostInfo)(SPPluginRef plugin, void* hostInfo);
};

// ---------------------------------------------------------------------------
// 64-bit layout

static_assert(sizeof(SPPlatformFileSpecification) == 300 && alignof(SPPlatformFileSpecification) == 1);

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(SPPlatformFileSpecificationW) == 8);
static_assert(offsetof(XPlatFileSpec, mFileSpecVersion) == 0);
static_assert(offsetof(XPlatFileSpec, mFileReference) == 8);
static_assert(sizeof(XPlatFileSpec) == 16);

static_assert(offsetof(SPBasicSuite, AcquireSuite) == 0);
static_assert(offsetof(SPBasicSuite, ReleaseSuite) == 8);
static_assert(offsetof(SPBasicSuite, IsEqual) == 16);
static_assert(offsetof(SPBasicSuite, AllocateBlock) == 24);
static_assert(offsetof(SPBasicSuite, FreeBlock) == 32);
static_assert(offsetof(SPBasicSuite, ReallocateBlock) == 40);
static_assert(offsetof(SPBasicSuite, Undefined) == 48);
static_assert(sizeof(SPBasicSuite) == 56);

static_assert(offsetof(PSBufferSuite1, New) == 0);
static_assert(offsetof(PSBufferSuite1, Dispose) == 8);
static_assert(offsetof(PSBufferSuite1, GetSize) == 16);
static_assert(offsetof(PSBufferSuite1, GetSpace) == 24);
static_assert(sizeof(PSBufferSuite1) == 32);

static_assert(offsetof(PSBufferSuite2, New) == 0);
static_assert(offsetof(PSBufferSuite2, Dispose) == 8);
static_assert(offsetof(PSBufferSuite2, GetSize) == 16);
static_assert(offsetof(PSBufferSuite2, GetSpace) == 24);
static_assert(offsetof(PSBufferSuite2, New64) == 32);
static_assert(offsetof(PSBufferSuite2, GetSize64) == 40);
static_assert(offsetof(PSBufferSuite2, GetSpace64) == 48);
static_assert(sizeof(PSBufferSuite2) == 56);

static_assert(offsetof(PSHandleSuite1, New) == 0);
static_assert(offsetof(PSHandleSuite1, Dispose) == 8);
static_assert(offsetof(PSHandleSuite1, SetLock) == 16);
static_assert(offsetof(PSHandleSuite1, GetSize) == 24);
static_assert(offsetof(PSHandleSuite1, SetSize) == 32);
static_assert(offsetof(PSHandleSuite1, RecoverSpace) == 40);
static_assert(sizeof(PSHandleSuite1) == 48);

static_assert(offsetof(PSHandleSuite2, New) == 0);
static_assert(offsetof(PSHandleSuite2, Dispose) == 8);
static_assert(offsetof(PSHandleSuite2, DisposeRegularHandle) == 16);
static_assert(offsetof(PSHandleSuite2, SetLock) == 24);
static_assert(offsetof(PSHandleSuite2, GetSize) == 32);
static_assert(offsetof(PSHandleSuite2, SetSize) == 40);
static_assert(offsetof(PSHandleSuite2, RecoverSpace) == 48);
static_assert(sizeof(PSHandleSuite2) == 56);

static_assert(offsetof(SPPluginsSuite4, AllocatePluginList) == 0);
static_assert(offsetof(SPPluginsSuite4, FreePluginList) == 8);
static_assert(offsetof(SPPluginsSuite4, AddPlugin) == 16);
static_assert(offsetof(SPPluginsSuite4, NewPluginListIterator) == 24);
static_assert(offsetof(SPPluginsSuite4, NextPlugin) == 32);
static_assert(offsetof(SPPluginsSuite4, DeletePluginListIterator) == 40);
static_assert(offsetof(SPPluginsSuite4, GetPluginListNeededSuiteAvailable) == 48);
static_assert(offsetof(SPPluginsSuite4, GetPluginHostEntry) == 56);
static_assert(offsetof(SPPluginsSuite4, GetPluginFileSpecification) == 64);
static_assert(offsetof(SPPluginsSuite4, GetPluginPropertyList) == 72);
static_assert(offsetof(SPPluginsSuite4, GetPluginGlobals) == 80);
static_assert(offsetof(SPPluginsSuite4, SetPluginGlobals) == 88);
static_assert(offsetof(SPPluginsSuite4, GetPluginStarted) == 96);
static_assert(offsetof(SPPluginsSuite4, SetPluginStarted) == 104);
static_assert(offsetof(SPPluginsSuite4, GetPluginSkipShutdown) == 112);
static_assert(offsetof(SPPluginsSuite4, SetPluginSkipShutdown) == 120);
static_assert(offsetof(SPPluginsSuite4, GetPluginBroken) == 128);
static_assert(offsetof(SPPluginsSuite4, SetPluginBroken) == 136);
static_assert(offsetof(SPPluginsSuite4, GetPluginAdapter) == 144);
static_assert(offsetof(SPPluginsSuite4, GetPluginAdapterInfo) == 152);
static_assert(offsetof(SPPluginsSuite4, SetPluginAdapterInfo) == 160);
static_assert(offsetof(SPPluginsSuite4, FindPluginProperty) == 168);
static_assert(offsetof(SPPluginsSuite4, GetPluginName) == 176);
static_assert(offsetof(SPPluginsSuite4, SetPluginName) == 184);
static_assert(offsetof(SPPluginsSuite4, GetNamedPlugin) == 192);
static_assert(offsetof(SPPluginsSuite4, SetPluginPropertyList) == 200);
static_assert(offsetof(SPPluginsSuite4, GetPluginHostInfo) == 208);
static_assert(offsetof(SPPluginsSuite4, SetPluginHostInfo) == 216);
static_assert(sizeof(SPPluginsSuite4) == 224);
#endif

}  // namespace ps
