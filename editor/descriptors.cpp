#include "editor/descriptors.h"

#include <cstring>
#include <memory>

namespace editor {

DescriptorServices* DescriptorServices::current_ = nullptr;

namespace {

struct ActionDescriptor {
    DescriptorContents contents;
};
struct Reader {
    DescriptorContents contents;
    size_t next = 0;
    const DescriptorItem* item = nullptr;
};
struct Writer {
    DescriptorContents contents;
};

DescriptorServices& services() { return *DescriptorServices::current(); }

template <class T>
void deleteObject(void* object) {
    delete static_cast<T*>(object);
}

template <class T>
T* live(void* object) {
    return DescriptorServices::current() && services().isLive(object) ? static_cast<T*>(object) : nullptr;
}

DescriptorItem* findItem(DescriptorContents& contents, uint32_t key) {
    for (DescriptorItem& item : contents)
        if (item.key == key) return &item;
    return nullptr;
}

void putItem(DescriptorContents& contents, uint32_t key, uint32_t type, const uint8_t* bytes, size_t size) {
    DescriptorItem* item = findItem(contents, key);
    if (!item) item = &contents.emplace_back();
    item->key = key;
    item->type = type;
    item->bytes.assign(bytes, bytes + size);
}

// Action descriptor suite.
ps::OSErr makeDescriptor(ps::PIActionDescriptor* descriptor) {
    if (!descriptor) return ps::paramErr;
    *descriptor = static_cast<ps::PIActionDescriptor>(services().track(new ActionDescriptor, deleteObject<ActionDescriptor>));
    return ps::noErr;
}
ps::OSErr freeDescriptor(ps::PIActionDescriptor descriptor) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!d) return ps::paramErr;
    services().untrack(d);
    delete d;
    return ps::noErr;
}
ps::OSErr putData(ps::PIActionDescriptor descriptor, ps::DescriptorKeyID key, ps::int32 length, void* value) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!d || length < 0 || (length > 0 && !value)) return ps::paramErr;
    putItem(d->contents, key, kDataType, static_cast<const uint8_t*>(value), size_t(length));
    return ps::noErr;
}
ps::OSErr getDataLength(ps::PIActionDescriptor descriptor, ps::DescriptorKeyID key, ps::int32* length) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!d || !length) return ps::paramErr;
    const DescriptorItem* item = findItem(d->contents, key);
    if (!item) return ps::errMissingParameter;
    *length = ps::int32(item->bytes.size());
    return ps::noErr;
}
ps::OSErr getData(ps::PIActionDescriptor descriptor, ps::DescriptorKeyID key, void* value) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!d || !value) return ps::paramErr;
    const DescriptorItem* item = findItem(d->contents, key);
    if (!item) return ps::errMissingParameter;
    if (!item->bytes.empty()) std::memcpy(value, item->bytes.data(), item->bytes.size());
    return ps::noErr;
}
ps::OSErr hasKey(ps::PIActionDescriptor descriptor, ps::DescriptorKeyID key, ps::Boolean* result) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!d || !result) return ps::paramErr;
    *result = findItem(d->contents, key) ? 1 : 0;
    return ps::noErr;
}
ps::OSErr countKeys(ps::PIActionDescriptor descriptor, ps::uint32* count) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!d || !count) return ps::paramErr;
    *count = ps::uint32(d->contents.size());
    return ps::noErr;
}

// Descriptor registry suite.
ps::OSErr registerDescriptor(const char* key, ps::PIActionDescriptor descriptor, ps::Boolean persistent) {
    auto* d = live<ActionDescriptor>(descriptor);
    if (!key || !d) return ps::paramErr;
    services().registry()[key] = RegistryEntry{d->contents, persistent != 0};
    return ps::noErr;
}
ps::OSErr eraseDescriptor(const char* key) {
    if (!key) return ps::paramErr;
    services().registry().erase(key);
    return ps::noErr;
}
ps::OSErr getDescriptor(const char* key, ps::PIActionDescriptor* descriptor) {
    if (!key || !descriptor) return ps::paramErr;
    *descriptor = nullptr;
    auto found = services().registry().find(key);
    if (found == services().registry().end()) return ps::noErr;
    auto* d = new ActionDescriptor{found->second.contents};
    *descriptor = static_cast<ps::PIActionDescriptor>(services().track(d, deleteObject<ActionDescriptor>));
    return ps::noErr;
}

// Descriptor read procedures.
ps::PIReadDescriptor openReader(ps::PIDescriptorHandle descriptor, ps::DescriptorKeyIDArray) {
    auto reader = std::make_unique<Reader>();
    if (!services().readDescriptorHandle(descriptor, reader->contents)) return nullptr;
    return static_cast<ps::PIReadDescriptor>(services().track(reader.release(), deleteObject<Reader>));
}
ps::OSErr closeReader(ps::PIReadDescriptor descriptor) {
    auto* reader = live<Reader>(descriptor);
    if (!reader) return ps::paramErr;
    services().untrack(reader);
    delete reader;
    return ps::noErr;
}
ps::Boolean nextKey(ps::PIReadDescriptor descriptor, ps::DescriptorKeyID* key, ps::DescriptorTypeID* type,
                    ps::int32* flags) {
    auto* reader = live<Reader>(descriptor);
    if (!reader || reader->next >= reader->contents.size()) return 0;
    reader->item = &reader->contents[reader->next++];
    if (key) *key = reader->item->key;
    if (type) *type = reader->item->type;
    if (flags) *flags = 0;
    return 1;
}
ps::OSErr getText(ps::PIReadDescriptor descriptor, ps::Handle* text) {
    auto* reader = live<Reader>(descriptor);
    if (!reader || !reader->item || !text) return ps::paramErr;
    *text = services().handles().createWith(reader->item->bytes.data(), reader->item->bytes.size());
    return *text ? ps::noErr : ps::memFullErr;
}

// Descriptor write procedures.
ps::PIWriteDescriptor openWriter() {
    return static_cast<ps::PIWriteDescriptor>(services().track(new Writer, deleteObject<Writer>));
}
ps::OSErr closeWriter(ps::PIWriteDescriptor descriptor, ps::PIDescriptorHandle* result) {
    auto* writer = live<Writer>(descriptor);
    if (!writer) return ps::paramErr;
    ps::Handle handle = services().makeDescriptorHandle(writer->contents);
    services().untrack(writer);
    delete writer;
    if (result) *result = handle;
    return handle ? ps::noErr : ps::memFullErr;
}
ps::OSErr putText(ps::PIWriteDescriptor descriptor, ps::DescriptorKeyID key, ps::Handle text) {
    auto* writer = live<Writer>(descriptor);
    if (!writer || !services().handles().isLive(text)) return ps::paramErr;
    const std::vector<uint8_t> bytes = services().handles().bytes(text);
    putItem(writer->contents, key, kTextType, bytes.data(), bytes.size());
    return ps::noErr;
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}
bool getU32(const std::vector<uint8_t>& in, size_t& at, uint32_t& value) {
    if (in.size() - at < 4 || at > in.size()) return false;
    value = uint32_t(in[at]) | uint32_t(in[at + 1]) << 8 | uint32_t(in[at + 2]) << 16 | uint32_t(in[at + 3]) << 24;
    at += 4;
    return true;
}

}  // namespace

DescriptorServices::DescriptorServices(HostHandles& handles) : handles_(handles) {
    actions_.Make = makeDescriptor;
    actions_.Free = freeDescriptor;
    actions_.HasKey = hasKey;
    actions_.GetCount = countKeys;
    actions_.PutData = putData;
    actions_.GetDataLength = getDataLength;
    actions_.GetData = getData;
    registrySuite_.Register = registerDescriptor;
    registrySuite_.Erase = eraseDescriptor;
    registrySuite_.Get = getDescriptor;
    reader_.readDescriptorProcsVersion = ps::kCurrentReadDescriptorProcsVersion;
    reader_.numReadDescriptorProcs = 18;
    reader_.openReadDescriptorProc = openReader;
    reader_.closeReadDescriptorProc = closeReader;
    reader_.getKeyProc = nextKey;
    reader_.getTextProc = getText;
    writer_.writeDescriptorProcsVersion = ps::kCurrentWriteDescriptorProcsVersion;
    writer_.numWriteDescriptorProcs = 16;
    writer_.openWriteDescriptorProc = openWriter;
    writer_.closeWriteDescriptorProc = closeWriter;
    writer_.putTextProc = putText;
    current_ = this;
}

DescriptorServices::~DescriptorServices() {
    // Objects the plug-in left behind are the host's to free.
    for (auto& [object, deleter] : liveObjects_) deleter(object);
    if (current_ == this) current_ = nullptr;
}

DescriptorServices* DescriptorServices::current() { return current_; }

ps::Handle DescriptorServices::makeDescriptorHandle(const DescriptorContents& contents) {
    std::vector<uint8_t> bytes;
    putU32(bytes, uint32_t(contents.size()));
    for (const DescriptorItem& item : contents) {
        putU32(bytes, item.key);
        putU32(bytes, item.type);
        putU32(bytes, uint32_t(item.bytes.size()));
        bytes.insert(bytes.end(), item.bytes.begin(), item.bytes.end());
    }
    return handles_.createWith(bytes.data(), bytes.size());
}

bool DescriptorServices::readDescriptorHandle(ps::Handle handle, DescriptorContents& contents) const {
    if (!handles_.isLive(handle)) return false;
    const std::vector<uint8_t> bytes = handles_.bytes(handle);
    size_t at = 0;
    uint32_t count = 0;
    if (!getU32(bytes, at, count)) return false;
    contents.clear();
    for (uint32_t i = 0; i < count; ++i) {
        DescriptorItem item;
        uint32_t length = 0;
        if (!getU32(bytes, at, item.key) || !getU32(bytes, at, item.type) || !getU32(bytes, at, length)) return false;
        if (bytes.size() - at < length) return false;
        item.bytes.assign(bytes.begin() + long(at), bytes.begin() + long(at + length));
        at += length;
        contents.push_back(std::move(item));
    }
    return true;
}

}  // namespace editor
