#include "editor/dialog_snapshot.h"

#include <algorithm>
#include <cstdio>

#include "editor/font_face.h"
#include "editor/picture_codecs.h"
#include "editor/replacing_file.h"

namespace editor {

namespace {

// Says once per process that dialog text is left out, and where a font was looked for.
void warnIfNoFont() {
    static bool warned = false;
    if (warned || FontFace::shared()) return;
    warned = true;
    std::string places;
    for (const std::string& path : FontFace::searchPaths()) places += (places.empty() ? "" : ", ") + path;
    std::fprintf(stderr, "dialog text not drawn: no font found (looked for %s; RAVO_FONT names another)\n",
                 places.c_str());
}

}  // namespace

void writeDialogSnapshot(DialogManager& manager, ps::ADMDialogRef dialog, const std::string& path) {
    warnIfNoFont();
    const std::optional<DialogCanvas> canvas = manager.draw(dialog);
    if (!canvas) throw FileError::writing(path, "the dialog no longer exists");
    const std::string sizeProblem = codecs::pictureSizeProblem(uint64_t(canvas->width()), uint64_t(canvas->height()));
    if (!sizeProblem.empty()) throw FileError::writing(path, sizeProblem);
    Picture picture = Picture::unfilled(canvas->width(), canvas->height(), 4, 8);
    std::copy(canvas->rgba().begin(), canvas->rgba().end(), picture.data.begin());
    ReplacingFile file(path);
    codecs::writePng(picture, file.stream(), path, Compression::standard);
    file.commit();
}

}  // namespace editor
