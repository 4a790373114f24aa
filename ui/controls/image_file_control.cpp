#include "ui/controls/image_file_control.h"

#include <string>

#include "fx/host.h"
#include "fx/texture_file.h"
#include "ui/adm/button.h"

namespace PSDriver {

namespace {

constexpr char kNoFile[] = "None";
constexpr char kBrowse[] = "Browse...";
constexpr char kPrompt[] = "Choose Texture...";
// Description and pattern pairs, all separated by '|', as the basic suite takes them.
constexpr char kFileTypes[] =
    "Supported Image Files|*.jpeg;*.jpg;*.png|JPEG files (*.jpeg)|*.jpeg;*.jpg|PNG files (*.png)|*.png";
// Room for the chosen path, more than hosts hand out; the suite refuses a path that does not fit.
constexpr ps::int32 kChosenPathSize = 1024;

// The file name of a chosen path: what follows its last backslash, and also its last '/'
// (hosts on Windows answer with '\' paths, the stand-in host on Linux with '/' ones).
std::string fileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    return name;
}

}  // namespace

ImageFileControl::ImageFileControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter,
                                   int parameterIndex)
    : LabelledControl(dialog, bounds, parameter, parameterIndex),
      name_(addPart<ADM::Label>(ps::kRavoControlValue, valueLineBefore(ADM::Button::widthForText(kBrowse)), kNoFile)) {
    auto& browseButton =
        addPart<ADM::Button>(ps::kRavoControlSecond, valueLineEnd(ADM::Button::widthForText(kBrowse)), kBrowse);
    browseButton.connect(ADM::kSelect, this, &ImageFileControl::browse);
    update();
}

void ImageFileControl::update() { name_.setText(parameter->path.empty() ? kNoFile : parameter->path.c_str()); }

void ImageFileControl::browse(ADM::CallbackObject&, void*) {
    const auto* basic = AdmHost::currentSuites().basic;
    if (!basic || !basic->StandardGetFileDialog) return;
    // The dialog starts in the parameter's folder beside the plug-in file, at the current file.
    char folder[fx::Host::kPathSize] = {};
    fx::Host* host = fx::Host::instance();
    const bool haveFolder = host && parameter->folder && host->resourcePath(parameter->group, parameter->folder, nullptr, folder);
    const char* current = parameter->path.empty() ? nullptr : parameter->path.c_str();
    char chosen[kChosenPathSize] = {};
    if (!basic->StandardGetFileDialog(kPrompt, kFileTypes, haveFolder ? folder : nullptr, current, chosen,
                                      kChosenPathSize))
        return;
    chosen[kChosenPathSize - 1] = '\0';
    const std::string name = fileNameOf(chosen);
    // A path that names a folder, not a file, chooses nothing.
    if (!fx::isPlainFileName(name.c_str())) return;
    parameter->path = name;
    update();
    changed();
}

}  // namespace PSDriver
