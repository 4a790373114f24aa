// The output file of each input in a run over many pictures: an output folder, or
// a pattern whose fields take each input's parts.
//
//   {name}  the input's file name without its extension ("IMG_0042")
//   {ext}   the output format's extension: the input's own (as written) or the one
//           --format names ("png", "tif", "jpg")
//   {{ }}   a brace
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editor/picture_file.h"

namespace editor {

// The format a --format value names: png, tif or tiff, jpg or jpeg (any case).
// Throws UsageError listing them for anything else.
FileFormat formatNamed(const std::string& name);

// The output of each input, in order. `out` is a pattern when it holds a brace,
// else a folder that takes "{name}.{ext}". Without a format each output keeps its
// input's format, told by the input's extension. Throws UsageError for an unknown
// field, an unclosed brace, or an input whose format its name does not tell.
std::vector<std::string> outputNames(const std::vector<std::string>& inputs, const std::string& out,
                                     std::optional<FileFormat> format);

// Refuses (UsageError) two inputs that would write one file, and an output that is
// one of the inputs, naming them. Files are compared as sameFile compares them.
void checkOutputsDistinct(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);

}  // namespace editor
