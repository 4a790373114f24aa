// A texture or shape image that an effect names by file: found in the "Textures" folder beside
// the plug-in file, read as one grey channel in the render's sample size, and kept while the
// name and the sample size stay the same, so that the tiles of a run and the renders that
// follow read the file once.
//
// A name is only ever a file of that folder: one that holds a path separator, a drive or
// stream colon, or is "." or ".." (stored parameters come from anywhere) is not looked up.
// Such a name, a file that is missing or cannot be decoded give no image, which is kept too:
// the next render with the same name and size does not try again.
#pragma once

#include <string>

#include "imaging/image.h"

namespace fx {

class TextureFile {
public:
    // The image of `name` (one channel, 8 or 16 bits), or null when name is null or empty or
    // the file cannot be read. The image stays valid until the next call with another name
    // or size. Out of memory for the image escapes as the out-of-memory exception.
    const Image* image(const char* name, bool sixteenBit);

    // Drops what was read, so that the next call reads the file again.
    void clear();

private:
    bool held_ = false;
    std::string name_;
    bool sixteenBit_ = false;
    ImagePtr image_;
};

// Whether name can only denote a file directly inside a folder.
bool isPlainFileName(const char* name);

}  // namespace fx
