// The Textures folder beside the plug-in file, as the command line offers it to the
// parameters that name a texture or shape image: the picture files in it, and what is wrong
// with a name that is not one of them.
//
// The plug-in reads a named file of that folder as PNG when it starts with the PNG signature
// and as JPEG otherwise, and renders with an all-black texture when it cannot; so only a
// regular file directly in the folder that starts like a PNG or JPEG file counts as a picture.
#pragma once

#include <string>
#include <vector>

namespace editor {

// The Textures folder beside the plug-in file at pluginPath.
std::string texturesFolderOf(const std::string& pluginPath);

// The names of the picture files in folder, in byte order; none when the folder is missing.
std::vector<std::string> textureFileNames(const std::string& folder);

// Why name cannot name a texture of folder ("no such file", ...); empty when it can.
std::string textureNameProblem(const std::string& folder, const std::string& name);

}  // namespace editor
