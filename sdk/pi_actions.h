// Scripting interface: the descriptor block of the filter record with its read
// and write procedure tables, and the descriptor-registry and action-descriptor
// suites. None of these structs is packed: natural alignment on every platform.
#pragma once

#include "sdk/pi_types.h"

namespace ps {

// ---------------------------------------------------------------------------
// Suite names, versions and table versions

inline constexpr char kPSDescriptorRegistrySuite[] = "61e608b0-40fd-11d1-8da3-00c04fd5f7ee";
inline constexpr int32 kPSDescriptorRegistrySuiteVersion = 1;

inline constexpr char kPSActionDescriptorSuite[] = "df135115-c769-11d0-8079-00c04fd7ec47";
inline constexpr int32 kPSActionDescriptorSuiteVersion = 2;

inline constexpr int16 kCurrentDescriptorParametersVersion = 0;
inline constexpr int16 kCurrentWriteDescriptorProcsVersion = 0;
inline constexpr int16 kCurrentWriteDescriptorProcsCount = 16;
inline constexpr int16 kCurrentReadDescriptorProcsVersion = 0;
inline constexpr int16 kCurrentReadDescriptorProcsCount = 18;

// ---------------------------------------------------------------------------
// Key flags (ReadDescriptorProcs::getKeyProc). The low word uses the same bits
// as the parameter flags of the terminology resource.

inline constexpr int32 actionSimpleParameter = 0x00000000;
inline constexpr int32 actionEnumeratedParameter = 0x00002000;
inline constexpr int32 actionListParameter = 0x00004000;
inline constexpr int32 actionOptionalParameter = 0x00008000;
inline constexpr int32 actionObjectParameter = int32(0x80000000u);
inline constexpr int32 actionScopedParameter = 0x40000000;
inline constexpr int32 actionStringIDParameter = 0x20000000;

// ---------------------------------------------------------------------------
// Descriptor values

// Keys a reader expects, terminated by 0; the host zeroes the ones it returned.
// May be null.
using DescriptorKeyIDArray = DescriptorKeyID[];

struct PIDescriptorSimpleReference {
    struct KeyData {
        Str255 name;
        int32 index;
        DescriptorTypeID type;
        DescriptorEnumID value;
    };
    DescriptorTypeID desiredClass;
    DescriptorKeyID keyForm;
    KeyData keyData;
};

// ---------------------------------------------------------------------------
// Write procedures: build a descriptor, close it into a handle.

struct WriteDescriptorProcs {
    int16 writeDescriptorProcsVersion;
    int16 numWriteDescriptorProcs;
    PIWriteDescriptor (*openWriteDescriptorProc)();
    OSErr (*closeWriteDescriptorProc)(PIWriteDescriptor d, PIDescriptorHandle* newDescriptor);
    OSErr (*putIntegerProc)(PIWriteDescriptor d, DescriptorKeyID key, int32 value);
    OSErr (*putFloatProc)(PIWriteDescriptor d, DescriptorKeyID key, const real64* value);
    OSErr (*putUnitFloatProc)(PIWriteDescriptor d, DescriptorKeyID key, DescriptorUnitID unit,
                              const real64* value);
    OSErr (*putBooleanProc)(PIWriteDescriptor d, DescriptorKeyID key, Boolean value);
    OSErr (*putTextProc)(PIWriteDescriptor d, DescriptorKeyID key, Handle text);
    OSErr (*putAliasProc)(PIWriteDescriptor d, DescriptorKeyID key, Handle alias);
    OSErr (*putEnumeratedProc)(PIWriteDescriptor d, DescriptorKeyID key, DescriptorTypeID type,
                               DescriptorEnumID value);
    OSErr (*putClassProc)(PIWriteDescriptor d, DescriptorKeyID key, DescriptorTypeID value);
    OSErr (*putSimpleReferenceProc)(PIWriteDescriptor d, DescriptorKeyID key,
                                    const PIDescriptorSimpleReference* ref);
    OSErr (*putObjectProc)(PIWriteDescriptor d, DescriptorKeyID key, DescriptorTypeID type,
                           PIDescriptorHandle value);
    OSErr (*putCountProc)(PIWriteDescriptor d, DescriptorKeyID key, uint32 count);
    OSErr (*putStringProc)(PIWriteDescriptor d, DescriptorKeyID key, ConstStr255Param pascalString);
    OSErr (*putScopedClassProc)(PIWriteDescriptor d, DescriptorKeyID key, DescriptorTypeID value);
    OSErr (*putScopedObjectProc)(PIWriteDescriptor d, DescriptorKeyID key, DescriptorTypeID type,
                                 PIDescriptorHandle value);
};

// ---------------------------------------------------------------------------
// Read procedures: walk the keys of a descriptor. Errors are sticky; close
// returns the most serious one.

struct ReadDescriptorProcs {
    int16 readDescriptorProcsVersion;
    int16 numReadDescriptorProcs;
    PIReadDescriptor (*openReadDescriptorProc)(PIDescriptorHandle descriptor, DescriptorKeyIDArray keyArray);
    OSErr (*closeReadDescriptorProc)(PIReadDescriptor d);
    // FALSE when no keys remain.
    Boolean (*getKeyProc)(PIReadDescriptor d, DescriptorKeyID* key, DescriptorTypeID* type, int32* flags);
    OSErr (*getIntegerProc)(PIReadDescriptor d, int32* value);
    OSErr (*getFloatProc)(PIReadDescriptor d, real64* value);
    OSErr (*getUnitFloatProc)(PIReadDescriptor d, DescriptorUnitID* unit, real64* value);
    OSErr (*getBooleanProc)(PIReadDescriptor d, Boolean* value);
    OSErr (*getTextProc)(PIReadDescriptor d, Handle* text);
    OSErr (*getAliasProc)(PIReadDescriptor d, Handle* alias);
    OSErr (*getEnumeratedProc)(PIReadDescriptor d, DescriptorEnumID* value);
    OSErr (*getClassProc)(PIReadDescriptor d, DescriptorTypeID* value);
    OSErr (*getSimpleReferenceProc)(PIReadDescriptor d, PIDescriptorSimpleReference* ref);
    OSErr (*getObjectProc)(PIReadDescriptor d, DescriptorTypeID* type, PIDescriptorHandle* value);
    OSErr (*getCountProc)(PIReadDescriptor d, uint32* count);
    OSErr (*getStringProc)(PIReadDescriptor d, Str255* pascalString);
    OSErr (*getPinnedIntegerProc)(PIReadDescriptor d, int32 min, int32 max, int32* value);
    OSErr (*getPinnedFloatProc)(PIReadDescriptor d, const real64* min, const real64* max, real64* value);
    OSErr (*getPinnedUnitFloatProc)(PIReadDescriptor d, const real64* min, const real64* max,
                                    DescriptorUnitID* unit, real64* value);
};

// ---------------------------------------------------------------------------
// FilterRecord::descriptorParameters

struct PIDescriptorParameters {
    int16 descriptorParametersVersion;
    int16 playInfo;    // plugInDialogDontDisplay / Display / Silent
    int16 recordInfo;  // plugInDialogOptional / Required / None
    // Playback: the descriptor to read (may be null). Recording: the plug-in
    // stores here the handle made by closeWriteDescriptorProc.
    PIDescriptorHandle descriptor;
    WriteDescriptorProcs* writeDescriptorProcs;
    ReadDescriptorProcs* readDescriptorProcs;
};

// ---------------------------------------------------------------------------
// Descriptor registry suite: descriptors kept by the host under a text key.

struct PSDescriptorRegistryProcs {
    OSErr (*Register)(const char* key, PIActionDescriptor descriptor, Boolean isPersistent);
    OSErr (*Erase)(const char* key);
    // The caller frees the returned descriptor through the action descriptor suite.
    OSErr (*Get)(const char* key, PIActionDescriptor* descriptor);
};

// ---------------------------------------------------------------------------
// Action descriptor suite, version 2 (46 entries). Every entry returns OSErr.

struct PSActionDescriptorProcs {
    OSErr (*Make)(PIActionDescriptor* descriptor);
    OSErr (*Free)(PIActionDescriptor descriptor);
    OSErr (*GetType)(PIActionDescriptor d, DescriptorKeyID key, DescriptorTypeID* type);
    OSErr (*GetKey)(PIActionDescriptor d, uint32 index, DescriptorKeyID* key);
    OSErr (*HasKey)(PIActionDescriptor d, DescriptorKeyID key, Boolean* hasKey);
    OSErr (*GetCount)(PIActionDescriptor d, uint32* count);
    OSErr (*IsEqual)(PIActionDescriptor d, PIActionDescriptor other, Boolean* isEqual);
    OSErr (*Erase)(PIActionDescriptor d, DescriptorKeyID key);
    OSErr (*Clear)(PIActionDescriptor d);
    OSErr (*PutInteger)(PIActionDescriptor d, DescriptorKeyID key, int32 value);
    OSErr (*PutFloat)(PIActionDescriptor d, DescriptorKeyID key, real64 value);
    OSErr (*PutUnitFloat)(PIActionDescriptor d, DescriptorKeyID key, DescriptorUnitID unit, real64 value);
    OSErr (*PutString)(PIActionDescriptor d, DescriptorKeyID key, const char* cstr);
    OSErr (*PutBoolean)(PIActionDescriptor d, DescriptorKeyID key, Boolean value);
    OSErr (*PutList)(PIActionDescriptor d, DescriptorKeyID key, PIActionList value);
    OSErr (*PutObject)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID type,
                       PIActionDescriptor value);
    OSErr (*PutGlobalObject)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID type,
                             PIActionDescriptor value);
    OSErr (*PutEnumerated)(PIActionDescriptor d, DescriptorKeyID key, DescriptorEnumTypeID type,
                           DescriptorEnumID value);
    OSErr (*PutReference)(PIActionDescriptor d, DescriptorKeyID key, PIActionReference value);
    OSErr (*PutClass)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID value);
    OSErr (*PutGlobalClass)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID value);
    OSErr (*PutAlias)(PIActionDescriptor d, DescriptorKeyID key, Handle value);
    OSErr (*GetInteger)(PIActionDescriptor d, DescriptorKeyID key, int32* value);
    OSErr (*GetFloat)(PIActionDescriptor d, DescriptorKeyID key, real64* value);
    OSErr (*GetUnitFloat)(PIActionDescriptor d, DescriptorKeyID key, DescriptorUnitID* unit, real64* value);
    OSErr (*GetStringLength)(PIActionDescriptor d, DescriptorKeyID key, uint32* stringLength);
    OSErr (*GetString)(PIActionDescriptor d, DescriptorKeyID key, char* cstr, uint32 maxLength);
    OSErr (*GetBoolean)(PIActionDescriptor d, DescriptorKeyID key, Boolean* value);
    OSErr (*GetList)(PIActionDescriptor d, DescriptorKeyID key, PIActionList* value);
    OSErr (*GetObject)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* type,
                       PIActionDescriptor* value);
    OSErr (*GetGlobalObject)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* type,
                             PIActionDescriptor* value);
    OSErr (*GetEnumerated)(PIActionDescriptor d, DescriptorKeyID key, DescriptorEnumTypeID* type,
                           DescriptorEnumID* value);
    OSErr (*GetReference)(PIActionDescriptor d, DescriptorKeyID key, PIActionReference* value);
    OSErr (*GetClass)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* value);
    OSErr (*GetGlobalClass)(PIActionDescriptor d, DescriptorKeyID key, DescriptorClassID* value);
    OSErr (*GetAlias)(PIActionDescriptor d, DescriptorKeyID key, Handle* value);
    OSErr (*HasKeys)(PIActionDescriptor d, DescriptorKeyIDArray requiredKeys, Boolean* hasKeys);
    OSErr (*PutIntegers)(PIActionDescriptor d, DescriptorKeyID key, uint32 count, int32* values);
    OSErr (*GetIntegers)(PIActionDescriptor d, DescriptorKeyID key, uint32 count, int32* values);
    OSErr (*AsHandle)(PIActionDescriptor d, PIDescriptorHandle* value);
    OSErr (*HandleToDescriptor)(PIDescriptorHandle value, PIActionDescriptor* descriptor);
    OSErr (*PutZString)(PIActionDescriptor d, DescriptorKeyID key, ASZString zstring);
    OSErr (*GetZString)(PIActionDescriptor d, DescriptorKeyID key, ASZString* zstring);
    OSErr (*PutData)(PIActionDescriptor d, DescriptorKeyID key, int32 length, void* value);
    OSErr (*GetDataLength)(PIActionDescriptor d, DescriptorKeyID key, int32* value);
    OSErr (*GetData)(PIActionDescriptor d, DescriptorKeyID key, void* value);
};

// ---------------------------------------------------------------------------
// 64-bit layout

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(offsetof(PIDescriptorSimpleReference, desiredClass) == 0);
static_assert(offsetof(PIDescriptorSimpleReference, keyForm) == 4);
static_assert(offsetof(PIDescriptorSimpleReference, keyData) +
              offsetof(PIDescriptorSimpleReference::KeyData, name) == 8);
static_assert(offsetof(PIDescriptorSimpleReference, keyData) +
              offsetof(PIDescriptorSimpleReference::KeyData, index) == 264);
static_assert(offsetof(PIDescriptorSimpleReference, keyData) +
              offsetof(PIDescriptorSimpleReference::KeyData, type) == 268);
static_assert(offsetof(PIDescriptorSimpleReference, keyData) +
              offsetof(PIDescriptorSimpleReference::KeyData, value) == 272);
static_assert(sizeof(PIDescriptorSimpleReference) == 276);

static_assert(offsetof(WriteDescriptorProcs, writeDescriptorProcsVersion) == 0);
static_assert(offsetof(WriteDescriptorProcs, numWriteDescriptorProcs) == 2);
static_assert(offsetof(WriteDescriptorProcs, openWriteDescriptorProc) == 8);
static_assert(offsetof(WriteDescriptorProcs, closeWriteDescriptorProc) == 16);
static_assert(offsetof(WriteDescriptorProcs, putIntegerProc) == 24);
static_assert(offsetof(WriteDescriptorProcs, putFloatProc) == 32);
static_assert(offsetof(WriteDescriptorProcs, putUnitFloatProc) == 40);
static_assert(offsetof(WriteDescriptorProcs, putBooleanProc) == 48);
static_assert(offsetof(WriteDescriptorProcs, putTextProc) == 56);
static_assert(offsetof(WriteDescriptorProcs, putAliasProc) == 64);
static_assert(offsetof(WriteDescriptorProcs, putEnumeratedProc) == 72);
static_assert(offsetof(WriteDescriptorProcs, putClassProc) == 80);
static_assert(offsetof(WriteDescriptorProcs, putSimpleReferenceProc) == 88);
static_assert(offsetof(WriteDescriptorProcs, putObjectProc) == 96);
static_assert(offsetof(WriteDescriptorProcs, putCountProc) == 104);
static_assert(offsetof(WriteDescriptorProcs, putStringProc) == 112);
static_assert(offsetof(WriteDescriptorProcs, putScopedClassProc) == 120);
static_assert(offsetof(WriteDescriptorProcs, putScopedObjectProc) == 128);
static_assert(sizeof(WriteDescriptorProcs) == 136);

static_assert(offsetof(ReadDescriptorProcs, readDescriptorProcsVersion) == 0);
static_assert(offsetof(ReadDescriptorProcs, numReadDescriptorProcs) == 2);
static_assert(offsetof(ReadDescriptorProcs, openReadDescriptorProc) == 8);
static_assert(offsetof(ReadDescriptorProcs, closeReadDescriptorProc) == 16);
static_assert(offsetof(ReadDescriptorProcs, getKeyProc) == 24);
static_assert(offsetof(ReadDescriptorProcs, getIntegerProc) == 32);
static_assert(offsetof(ReadDescriptorProcs, getFloatProc) == 40);
static_assert(offsetof(ReadDescriptorProcs, getUnitFloatProc) == 48);
static_assert(offsetof(ReadDescriptorProcs, getBooleanProc) == 56);
static_assert(offsetof(ReadDescriptorProcs, getTextProc) == 64);
static_assert(offsetof(ReadDescriptorProcs, getAliasProc) == 72);
static_assert(offsetof(ReadDescriptorProcs, getEnumeratedProc) == 80);
static_assert(offsetof(ReadDescriptorProcs, getClassProc) == 88);
static_assert(offsetof(ReadDescriptorProcs, getSimpleReferenceProc) == 96);
static_assert(offsetof(ReadDescriptorProcs, getObjectProc) == 104);
static_assert(offsetof(ReadDescriptorProcs, getCountProc) == 112);
static_assert(offsetof(ReadDescriptorProcs, getStringProc) == 120);
static_assert(offsetof(ReadDescriptorProcs, getPinnedIntegerProc) == 128);
static_assert(offsetof(ReadDescriptorProcs, getPinnedFloatProc) == 136);
static_assert(offsetof(ReadDescriptorProcs, getPinnedUnitFloatProc) == 144);
static_assert(sizeof(ReadDescriptorProcs) == 152);

static_assert(offsetof(PIDescriptorParameters, descriptorParametersVersion) == 0);
static_assert(offsetof(PIDescriptorParameters, playInfo) == 2);
static_assert(offsetof(PIDescriptorParameters, recordInfo) == 4);
static_assert(offsetof(PIDescriptorParameters, descriptor) == 8);
static_assert(offsetof(PIDescriptorParameters, writeDescriptorProcs) == 16);
static_assert(offsetof(PIDescriptorParameters, readDescriptorProcs) == 24);
static_assert(sizeof(PIDescriptorParameters) == 32);

static_assert(offsetof(PSDescriptorRegistryProcs, Register) == 0);
static_assert(offsetof(PSDescriptorRegistryProcs, Erase) == 8);
static_assert(offsetof(PSDescriptorRegistryProcs, Get) == 16);
static_assert(sizeof(PSDescriptorRegistryProcs) == 24);

static_assert(offsetof(PSActionDescriptorProcs, Make) == 0);
static_assert(offsetof(PSActionDescriptorProcs, Free) == 8);
static_assert(offsetof(PSActionDescriptorProcs, GetType) == 16);
static_assert(offsetof(PSActionDescriptorProcs, GetKey) == 24);
static_assert(offsetof(PSActionDescriptorProcs, HasKey) == 32);
static_assert(offsetof(PSActionDescriptorProcs, GetCount) == 40);
static_assert(offsetof(PSActionDescriptorProcs, IsEqual) == 48);
static_assert(offsetof(PSActionDescriptorProcs, Erase) == 56);
static_assert(offsetof(PSActionDescriptorProcs, Clear) == 64);
static_assert(offsetof(PSActionDescriptorProcs, PutInteger) == 72);
static_assert(offsetof(PSActionDescriptorProcs, PutFloat) == 80);
static_assert(offsetof(PSActionDescriptorProcs, PutUnitFloat) == 88);
static_assert(offsetof(PSActionDescriptorProcs, PutString) == 96);
static_assert(offsetof(PSActionDescriptorProcs, PutBoolean) == 104);
static_assert(offsetof(PSActionDescriptorProcs, PutList) == 112);
static_assert(offsetof(PSActionDescriptorProcs, PutObject) == 120);
static_assert(offsetof(PSActionDescriptorProcs, PutGlobalObject) == 128);
static_assert(offsetof(PSActionDescriptorProcs, PutEnumerated) == 136);
static_assert(offsetof(PSActionDescriptorProcs, PutReference) == 144);
static_assert(offsetof(PSActionDescriptorProcs, PutClass) == 152);
static_assert(offsetof(PSActionDescriptorProcs, PutGlobalClass) == 160);
static_assert(offsetof(PSActionDescriptorProcs, PutAlias) == 168);
static_assert(offsetof(PSActionDescriptorProcs, GetInteger) == 176);
static_assert(offsetof(PSActionDescriptorProcs, GetFloat) == 184);
static_assert(offsetof(PSActionDescriptorProcs, GetUnitFloat) == 192);
static_assert(offsetof(PSActionDescriptorProcs, GetStringLength) == 200);
static_assert(offsetof(PSActionDescriptorProcs, GetString) == 208);
static_assert(offsetof(PSActionDescriptorProcs, GetBoolean) == 216);
static_assert(offsetof(PSActionDescriptorProcs, GetList) == 224);
static_assert(offsetof(PSActionDescriptorProcs, GetObject) == 232);
static_assert(offsetof(PSActionDescriptorProcs, GetGlobalObject) == 240);
static_assert(offsetof(PSActionDescriptorProcs, GetEnumerated) == 248);
static_assert(offsetof(PSActionDescriptorProcs, GetReference) == 256);
static_assert(offsetof(PSActionDescriptorProcs, GetClass) == 264);
static_assert(offsetof(PSActionDescriptorProcs, GetGlobalClass) == 272);
static_assert(offsetof(PSActionDescriptorProcs, GetAlias) == 280);
static_assert(offsetof(PSActionDescriptorProcs, HasKeys) == 288);
static_assert(offsetof(PSActionDescriptorProcs, PutIntegers) == 296);
static_assert(offsetof(PSActionDescriptorProcs, GetIntegers) == 304);
static_assert(offsetof(PSActionDescriptorProcs, AsHandle) == 312);
static_assert(offsetof(PSActionDescriptorProcs, HandleToDescriptor) == 320);
static_assert(offsetof(PSActionDescriptorProcs, PutZString) == 328);
static_assert(offsetof(PSActionDescriptorProcs, GetZString) == 336);
static_assert(offsetof(PSActionDescriptorProcs, PutData) == 344);
static_assert(offsetof(PSActionDescriptorProcs, GetDataLength) == 352);
static_assert(offsetof(PSActionDescriptorProcs, GetData) == 360);
static_assert(sizeof(PSActionDescriptorProcs) == 368);
#endif

}  // namespace ps
