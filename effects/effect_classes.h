// The class tables of the effects built into the plug-in.
#pragma once

#include "fx/effect.h"

const EffectClass& temperatureClass();
const EffectClass& warmCoolClass();
const EffectClass& fluorescentClass();
