// The class tables of the effects built into the plug-in.
#pragma once

#include "fx/effect.h"

const EffectClass& temperatureClass();
const EffectClass& warmCoolClass();
const EffectClass& fluorescentClass();
const EffectClass& blackAndWhiteClass();
const EffectClass& infraRedClass();
const EffectClass& bleachBypassClass();
const EffectClass& defocusClass();
const EffectClass& fastBlurClass();
const EffectClass& overexposeClass();
const EffectClass& colorCorrectClass();
const EffectClass& ozoneClass();
const EffectClass& lowContrastClass();
const EffectClass& matteGeneratorClass();
const EffectClass& centerSpotClass();
const EffectClass& selectiveColorClass();
const EffectClass& selectiveFocusClass();
const EffectClass& skinSmootherClass();
const EffectClass& colorGradClass();
const EffectClass& ndGradClass();
const EffectClass& combinedGradClass();
const EffectClass& selectiveGradClass();
const EffectClass& tintClass();
const EffectClass& dualTintClass();
const EffectClass& polarizerClass();
const EffectClass& grainClass();
const EffectClass& blackMistClass();
const EffectClass& coolMistClass();
const EffectClass& warmMistClass();
const EffectClass& mistClass();
const EffectClass& fogClass();
const EffectClass& glowClass();
const EffectClass& streaksClass();
const EffectClass& fauxFilmClass();
const EffectClass& starClass();
const EffectClass& nightVisionClass();
const EffectClass& diffusionClass();
const EffectClass& lightClass();
