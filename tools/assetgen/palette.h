// The colours that tie the assets together: the distance bands shared by the
// overlays and their dark fonts, and the characters' colours shared by their
// textures and their drawings on the pictures.
#pragma once

#include "canvas.h"

namespace assetgen {

// One distance band of the HUD: vignette colour, the label's ink and the
// light panel the label is written on.
struct BandColors {
    const char* name;   // CLOSE, NORMAL, FAR
    Color accent;
    Color ink;
    Color panel;
};

inline const BandColors kBands[3] = {
    {"CLOSE", rgb(0xe01818), rgb(0x5a0808), rgb(0xffe2dc)},
    {"NORMAL", rgb(0xf09a00), rgb(0x4a2e00), rgb(0xfff0c8)},
    {"FAR", rgb(0x2a9ccc), rgb(0x073646), rgb(0xdcf4ff)},
};

// Tovik, plain and boosted.
struct TovikColors {
    Color skin, hoodie, hoodieTrim, emblem, pants, shoes, soles, cap, hair;
};
inline const TovikColors kTovik = {rgb(0xf3c7a1), rgb(0x2f6fd6), rgb(0xcfe0ff), rgb(0xffc83a), rgb(0x3b4150),
                                   rgb(0xe2483a), rgb(0xf4f4f4), rgb(0xe2483a), rgb(0x6b3d22)};
inline const TovikColors kTovikBoost = {rgb(0xffe6b0), rgb(0x10e0f0), rgb(0xffffff), rgb(0xff3ad0),
                                        rgb(0x7a2cff), rgb(0xfff23a), rgb(0xffffff), rgb(0xfff23a), rgb(0xff8a1a)};

// The ginger cat.
inline const Color kCatFur = rgb(0xe8923a);
inline const Color kCatStripe = rgb(0xb85d1c);
inline const Color kCatCream = rgb(0xfbe7cf);
inline const Color kCatPink = rgb(0xf49aa8);
inline const Color kCatEye = rgb(0x8fd14f);
inline const Color kInk = rgb(0x1d1b26);

} // namespace assetgen
