// The 36 exported entry points, one per menu command. They differ only in the
// entry of the command table they pass on.
#include "host/dispatch.h"
#include "host/entry_table.h"
#include "host/export.h"
#include "sdk/pi_filter.h"

#define RAVO_ENTRY_POINT(name, index)                                                                       \
    RAVO_EXPORT void PIMAIN_##name(ps::int16 selector, ps::FilterRecord* record, intptr_t* data,             \
                                   ps::int16* result) {                                                      \
        pluginMain(kEntryPoints[index], selector, record, data, result);                                     \
    }

RAVO_ENTRY_POINT(BlackAndWhite, 0)
RAVO_ENTRY_POINT(BleachBypass, 1)
RAVO_ENTRY_POINT(ColorCorrect, 2)
RAVO_ENTRY_POINT(ColorGrad, 3)
RAVO_ENTRY_POINT(Defocus, 4)
RAVO_ENTRY_POINT(DualTint, 5)
RAVO_ENTRY_POINT(FauxFilm, 6)
RAVO_ENTRY_POINT(Fluorescent, 7)
RAVO_ENTRY_POINT(Fog, 8)
RAVO_ENTRY_POINT(Grain, 9)
RAVO_ENTRY_POINT(Glow, 10)
RAVO_ENTRY_POINT(Infrared, 11)
RAVO_ENTRY_POINT(LowContrast, 12)
RAVO_ENTRY_POINT(MatteGenerator, 13)
RAVO_ENTRY_POINT(Mist, 14)
RAVO_ENTRY_POINT(NightVision, 15)
RAVO_ENTRY_POINT(NDGrad, 16)
RAVO_ENTRY_POINT(Polarizer, 17)
RAVO_ENTRY_POINT(SelectiveColor, 18)
RAVO_ENTRY_POINT(SelectiveFocus, 19)
RAVO_ENTRY_POINT(SkinSmoother, 20)
RAVO_ENTRY_POINT(Star, 21)
RAVO_ENTRY_POINT(Temperature, 22)
RAVO_ENTRY_POINT(Tint, 23)
RAVO_ENTRY_POINT(BlackMist, 24)
RAVO_ENTRY_POINT(CenterSpot, 25)
RAVO_ENTRY_POINT(CombinedGrad, 26)
RAVO_ENTRY_POINT(CoolMist, 27)
RAVO_ENTRY_POINT(Diffusion, 28)
RAVO_ENTRY_POINT(Light, 29)
RAVO_ENTRY_POINT(SelectiveGrad, 30)
RAVO_ENTRY_POINT(Streaks, 31)
RAVO_ENTRY_POINT(WarmMist, 32)
RAVO_ENTRY_POINT(Overexpose, 33)
RAVO_ENTRY_POINT(Ozone, 34)
RAVO_ENTRY_POINT(WarmCool, 35)
