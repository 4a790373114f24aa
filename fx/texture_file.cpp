#include "fx/texture_file.h"

#include <cstring>

#include "fx/host.h"
#include "imaging/texture_image.h"

namespace fx {

bool isPlainFileName(const char* name) {
    if (!name || !*name) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    return std::strpbrk(name, "/\\:") == nullptr;
}

const Image* TextureFile::image(const char* name, bool sixteenBit) {
    if (!name || !*name) return nullptr;
    if (held_ && name_ == name && sixteenBit_ == sixteenBit) return image_.get();
    clear();
    ImagePtr read;
    char path[Host::kPathSize];
    Host* host = Host::instance();
    if (isPlainFileName(name) && host && host->resourcePath("QEL Ravo", "Textures", name, path))
        read = readTextureImage(path, sixteenBit);
    name_ = name;
    sixteenBit_ = sixteenBit;
    image_ = std::move(read);
    held_ = true;
    return image_.get();
}

void TextureFile::clear() {
    held_ = false;
    name_.clear();
    image_ = ImagePtr();
}

}  // namespace fx
