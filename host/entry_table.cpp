#include "host/entry_table.h"

#include <cstring>

// clang-format off
const EntryPoint kEntryPoints[kEntryCount] = {
    {"PIMAIN_BlackAndWhite",   "BlackAndWhite",  "d6591f3d-f5f6-4281-89a6-f77d7ac00044", true,  16000, "Black and White"},
    {"PIMAIN_BleachBypass",    "BleachBypass",   "ed5ed834-1b55-4406-b711-4429ef1eba81", false, 16001, "Bleach Bypass"},
    {"PIMAIN_ColorCorrect",    "ColorCorrect",   "2acb8d6e-48b7-4cb0-b454-02b5ee290275", false, 16002, "Color Correct"},
    {"PIMAIN_ColorGrad",       "ColorGrad",      "d9a056f6-1a54-4c82-bcad-077ccda07518", false, 16003, "Color Grad"},
    {"PIMAIN_Defocus",         "Defocus",        "00069a12-510a-4aad-bf1f-5f432f136309", false, 16004, "Defocus"},
    {"PIMAIN_DualTint",        "DualTint",       "485d352d-ba00-4391-8fb4-3d0c42e79330", false, 16005, "Dual Tint"},
    {"PIMAIN_FauxFilm",        "FauxFilm",       "bbefc676-287a-416e-ad18-80b6f8a5b5f9", false, 16006, "Faux Film"},
    {"PIMAIN_Fluorescent",     "Fluorescent",    "d5daa40f-83e4-421e-8697-c9efb63d0312", false, 16007, "Fluorescent"},
    {"PIMAIN_Fog",             "Fog",            "2f2a5be6-1f00-4b1d-b04a-987c8cdd9e33", false, 16008, "Fog"},
    {"PIMAIN_Grain",           "Grain",          "4521b321-c1e7-4b2f-b609-1351bf8564cb", false, 16009, "Grain"},
    {"PIMAIN_Glow",            "Glow",           "3d2558ff-dca7-4767-a132-5332685922f5", false, 16010, "Glow"},
    {"PIMAIN_Infrared",        "InfraRed",       "4cab169e-b63d-4bd0-aa6a-fda8dddaef43", false, 16011, "Infrared"},
    {"PIMAIN_LowContrast",     "LowContrast",    "17def52f-8204-4bf6-9365-ac67dddaffc8", false, 16012, "Low Contrast"},
    {"PIMAIN_MatteGenerator",  "MatteGenerator", "a0cc41f7-fd7b-498c-80bb-0f09421105dc", false, 16013, "Matte Generator"},
    {"PIMAIN_Mist",            "Mist",           "90858f9e-d7e1-4b82-a833-075b36cbc2c7", false, 16014, "Mist"},
    {"PIMAIN_NightVision",     "NightVision",    "637845e0-c9af-489e-89e2-ac67f3c30eb3", false, 16015, "Night Vision"},
    {"PIMAIN_NDGrad",          "NDGrad",         "fcd85703-ea40-4f0f-923b-a24b356d3ac5", false, 16016, "ND Grad"},
    {"PIMAIN_Polarizer",       "Polarizer",      "313704a1-b5bd-4cc1-bb4b-25466a52f5c0", false, 16017, "Polarizer"},
    {"PIMAIN_SelectiveColor",  "SelectiveColor", "8c475be5-a00d-4e92-8990-43c3c4afb7ad", false, 16018, "Selective Color"},
    {"PIMAIN_SelectiveFocus",  "SelectiveFocus", "3c5a5a43-ef0a-485a-bb34-041360955718", false, 16019, "Selective Focus"},
    {"PIMAIN_SkinSmoother",    "SkinSmoother",   "39cbf70e-73cd-412b-9fba-89df0d72bdf2", false, 16020, "Skin Smoother"},
    {"PIMAIN_Star",            "Star",           "f5d66421-961f-47eb-8227-f9c5ae859112", false, 16021, "Star"},
    {"PIMAIN_Temperature",     "Temperature",    "e0ca313d-a8ca-4d30-b52b-335e185f026d", false, 16022, "Temperature"},
    {"PIMAIN_Tint",            "Tint",           "59d9b3b3-e007-4f2b-95a1-18a707cf8669", false, 16023, "Tint"},
    {"PIMAIN_BlackMist",       "BlackMist",      "BAC2C053-88DB-45b7-9530-38C78D47881D", false, 16024, "Black Mist"},
    {"PIMAIN_CenterSpot",      "CenterSpot",     "19FAB747-6F96-4772-9ADF-604C189B4D64", false, 16025, "Center Spot"},
    {"PIMAIN_CombinedGrad",    "CombinedGrad",   "5B73EA54-13FA-4a28-8575-4E7359BA847B", false, 16026, "Combined Grad"},
    {"PIMAIN_CoolMist",        "CoolMist",       "7AE1C52E-385F-4d82-B8DB-F4D7BCBAFF67", false, 16027, "Cool Mist"},
    {"PIMAIN_Diffusion",       "Diffusion",      "AF3371FC-D189-44de-AA56-B593605FCE81", false, 16028, "Diffusion"},
    {"PIMAIN_Light",           "Light",          "7374BE67-A7ED-4f01-9CD8-BF279F6A8E1E", false, 16029, "Light!"},
    {"PIMAIN_SelectiveGrad",   "SelectiveGrad",  "6ECE3756-D7D4-46b1-88FC-8BFDE6B5A30A", false, 16030, "Selective Grad"},
    {"PIMAIN_Streaks",         "Streaks",        "44C6AD87-6554-42a8-B68C-7700F3A090CE", false, 16031, "Streaks"},
    {"PIMAIN_WarmMist",        "WarmMist",       "F8358A33-0A2A-4b6d-B0F7-4CBF57CE39F9", false, 16032, "Warm Mist"},
    {"PIMAIN_Overexpose",      "Overexpose",     "47170EDE-DA41-4113-9572-024155C6AE39", false, 16033, "Overexpose"},
    {"PIMAIN_Ozone",           "Ozone",          "B99ACD2A-0FD6-4209-AF5F-AD19D257ADAC", false, 16034, "Ozone"},
    {"PIMAIN_WarmCool",        "WarmCool",       "9A90E0BC-05CB-4cdc-8A0B-4D8F020F8102", false, 16035, "Warm/Cool"},
};
// clang-format on

const EntryPoint* findEntryByExport(const char* exportName) {
    for (const EntryPoint& entry : kEntryPoints)
        if (std::strcmp(entry.exportName, exportName) == 0) return &entry;
    return nullptr;
}

const EntryPoint* findEntryByKey(const char* registryKey) {
    for (const EntryPoint& entry : kEntryPoints)
        if (std::strcmp(entry.registryKey, registryKey) == 0) return &entry;
    return nullptr;
}
