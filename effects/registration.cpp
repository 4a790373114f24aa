// Registers every effect built into the plug-in, in the suite's fixed order. An
// effect that is not built yet is not registered: its menu command reports that it
// is not available in this build.
#include "effects/effect_classes.h"
#include "fx/effect_registry.h"

namespace {

struct Registration {
    Registration(const char* key, const EffectClass& effectClass)
        : key(EffectRegistry::instance().add(key, &effectClass)) {}
    const char* key;
};

// BlackMist, BleachBypass, BlackAndWhite, CenterSpot, ColorCorrect, ColorGrad, CombinedGrad,
// CoolMist, Defocus, Diffusion, DualTint, FastBlur, FauxFilm, Fluorescent, Fog, Glow, Grain,
// InfraRed, Light, LowContrast, MatteGenerator, Mist, NDGrad, NightVision, Overexpose, Ozone,
// Polarizer, SelectiveColor, SelectiveFocus, SelectiveGrad, SkinSmoother, Star, Streaks,
// Temperature, Tint, WarmCool, WarmMist: the order of registration.
const Registration blackMist("BlackMist", blackMistClass());
const Registration bleachBypass("BleachBypass", bleachBypassClass());
const Registration blackAndWhite("BlackAndWhite", blackAndWhiteClass());
const Registration centerSpot("CenterSpot", centerSpotClass());
const Registration colorCorrect("ColorCorrect", colorCorrectClass());
const Registration colorGrad("ColorGrad", colorGradClass());
const Registration combinedGrad("CombinedGrad", combinedGradClass());
const Registration coolMist("CoolMist", coolMistClass());
const Registration defocus("Defocus", defocusClass());
const Registration diffusion("Diffusion", diffusionClass());
const Registration dualTint("DualTint", dualTintClass());
const Registration fastBlur("FastBlur", fastBlurClass());
const Registration fauxFilm("FauxFilm", fauxFilmClass());
const Registration fluorescent("Fluorescent", fluorescentClass());
const Registration fog("Fog", fogClass());
const Registration glow("Glow", glowClass());
const Registration grain("Grain", grainClass());
const Registration infraRed("InfraRed", infraRedClass());
const Registration light("Light", lightClass());
const Registration lowContrast("LowContrast", lowContrastClass());
const Registration matteGenerator("MatteGenerator", matteGeneratorClass());
const Registration mist("Mist", mistClass());
const Registration ndGrad("NDGrad", ndGradClass());
const Registration nightVision("NightVision", nightVisionClass());
const Registration overexpose("Overexpose", overexposeClass());
const Registration ozone("Ozone", ozoneClass());
const Registration polarizer("Polarizer", polarizerClass());
const Registration selectiveColor("SelectiveColor", selectiveColorClass());
const Registration selectiveFocus("SelectiveFocus", selectiveFocusClass());
const Registration selectiveGrad("SelectiveGrad", selectiveGradClass());
const Registration skinSmoother("SkinSmoother", skinSmootherClass());
const Registration star("Star", starClass());
const Registration streaks("Streaks", streaksClass());
const Registration temperature("Temperature", temperatureClass());
const Registration tint("Tint", tintClass());
const Registration warmCool("WarmCool", warmCoolClass());
const Registration warmMist("WarmMist", warmMistClass());

}  // namespace
