#include "xml/editor_attributes.h"

#include "genome_parts/numbers.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

bool cameraZoomOf(const char* sValue, double& dZoom) {
    return readNumber(sValue, dZoom) && dZoom > 0 && std::isfinite(dZoom);
}

bool paletteAdjustmentOf(const char* sValue, double& dSaturation, double& dValue) {
    double dHsv[3];
    if (!readNumbers(sValue, 3, dHsv) || dHsv[0] != 1) return false;
    dSaturation = dHsv[1], dValue = dHsv[2];
    return dSaturation >= 0 && dValue >= 0 && std::isfinite(dSaturation + dValue);
}

namespace {

// Whether a value is the one that changes nothing.
using FNeutral = bool (*)(const char* sValue);

bool isZero(const char* sValue) {
    double dValue;
    return readNumber(sValue, dValue) && dValue == 0;
}
bool isOne(const char* sValue) {
    double dValue;
    return readNumber(sValue, dValue) && dValue == 1;
}
bool isNone(const char* sValue) { return std::strcmp(sValue, "NONE") == 0; }
bool isZeroColour(const char* sValue) {
    double dColour[3];
    return readNumbers(sValue, 3, dColour) && dColour[0] == 0 && dColour[1] == 0 &&
           dColour[2] == 0;
}

bool drawnZoom(const char* sValue) {
    double dZoom;
    return cameraZoomOf(sValue, dZoom);
}

bool drawnAdjustment(const char* sValue) {
    double dSaturation, dValue;
    return paletteAdjustmentOf(sValue, dSaturation, dValue);
}

// One name, or every name that a '*' at either end or both stands for (what comes after, before,
// around the rest); with no neutral check, an attribute of no effect on a still picture.
struct SEditorRow {
    const char* sName;
    FNeutral    pfNeutral;
};

bool nameMatches(const char* sPattern, const char* sName) {
    const std::string sWhole(sPattern);
    const bool bAnyStart = sWhole.front() == '*', bAnyEnd = sWhole.back() == '*';
    const std::string sCore = sWhole.substr(bAnyStart, sWhole.size() - bAnyStart - bAnyEnd);
    const std::string sText(sName);
    const size_t uFound = sText.find(sCore);
    if (bAnyStart && bAnyEnd) return uFound != std::string::npos;
    if (bAnyEnd) return uFound == 0;
    if (bAnyStart)
        return sText.size() >= sCore.size() &&
               sText.compare(sText.size() - sCore.size(), sCore.size(), sCore) == 0;
    return sText == sCore;
}

template <size_t iRows>
EEditorAttribute verdictOf(const SEditorRow (&rows)[iRows], const char* sName,
                           const char* sValue) {
    for (const SEditorRow& row : rows) {
        if (!nameMatches(row.sName, sName)) continue;
        if (!row.pfNeutral) return eNoEffect;
        return row.pfNeutral(sValue) ? eNeutral : eNotDrawn;
    }
    return eUnknownAttribute;
}

constexpr SEditorRow flameRows[] = {
    // Who wrote it, and when.
    {"nick", nullptr}, {"url", nullptr}, {"notes", nullptr},
    {"brood", nullptr}, {"genebank", nullptr}, {"plugins", nullptr}, {"new_linear", nullptr},
    {"grad_edit_*", nullptr}, {"filter_indicator", nullptr},
    // The editors' animation and the frames of their sequences.
    {"frame", nullptr},
    {"frame_count", nullptr}, {"fps", nullptr}, {"rotations", nullptr},
    {"seconds_per_rotation", nullptr}, {"rotations_per_blend", nullptr},
    {"blend_rotate_xforms_cw", nullptr}, {"rotate_xforms_cw", nullptr},
    {"linear_blend", nullptr}, {"blend_seconds", nullptr}, {"stagger", nullptr},
    // How an editor's renderer samples and filters: the same flame, another grain.
    {"sub_batch_size", nullptr}, {"fuse", nullptr}, {"rand_range", nullptr},
    {"antialias_amount", nullptr}, {"antialias_radius", nullptr}, {"filter_kernel", nullptr},
    {"filter_type", nullptr}, {"filter_sharpness", nullptr}, {"filter_low_density", nullptr},
    {"ai_post_denoiser_only_for_cpu", nullptr}, {"post_optix_denoiser_blend", nullptr},
    // Outputs beside the picture, and a transparent background, which a PNG of colours drops.
    {"zbuffer_*", nullptr}, {"bg_transparency", nullptr},
    // Settings that matter only where another one is not at its neutral value.
    {"post_blur_fade", nullptr}, {"post_blur_falloff", nullptr},
    {"post_symmetry_rotation", nullptr}, {"post_symmetry_order", nullptr},
    {"post_symmetry_distance", nullptr}, {"post_symmetry_centre_*", nullptr},
    {"background_type", nullptr}, {"cam_dof_*", nullptr}, {"cam_xfocus", nullptr},
    {"cam_yfocus", nullptr}, {"cam_zfocus", nullptr}, {"new_dof", nullptr},
    // Changes the picture; accepted at the value that changes nothing.
    {"logscale_k2", isZero}, {"blur_curve", isZero},
    // The older curves as points other than four of each curve, which the table reads only on
    // the diagonal: no editor's curve this program knows how to draw.
    {"curves", [](const char*) { return false; }},
    {"cam_pos_*", isZero},
    {"post_blur_radius", isZero}, {"post_symmetry_type", isNone},
    {"ai_post_denoiser", isNone}, {"mixer_mode", [](const char* s) {
         return std::strcmp(s, "OFF") == 0;
     }},
    {"smooth_gradient", isZero}, {"motion_blur_*", isZero},
    {"background_ul", isZeroColour}, {"background_ur", isZeroColour},
    {"background_ll", isZeroColour}, {"background_lr", isZeroColour},
    {"background_cc", isZeroColour},
    {"flam3h_f3c", isOne},
    // Read by their meaning where the flame is read: 0 turns density estimation off; the others
    // accepted at the values drawn there.
    {"enable_de", nullptr}, {"cam_zoom", drawnZoom}, {"flam3h_hsv", drawnAdjustment},
};

constexpr SEditorRow xformRows[] = {
    // Names, animation, and the curves an editor animates the coefs along.
    {"name", nullptr}, {"animate_origin", nullptr},
    {"*Curve_*", nullptr},
    // Changes the picture; accepted at the value that changes nothing.
    {"color_type", [](const char* s) {
         return std::strcmp(s, "DIFFUSION") == 0;
     }},
    {"material", isZero}, {"material_speed", isZero}, {"mod_*", isZero},
    {"*_fx_priority", isZero},
    {"*colorshift", isZero},
    {"wfield_*", [](const char* s) { return isZero(s) || isNone(s); }},
};

}  // namespace

EEditorAttribute flameEditorAttribute(const char* sName, const char* sValue) {
    return verdictOf(flameRows, sName, sValue);
}

EEditorAttribute xformEditorAttribute(const char* sName, const char* sValue) {
    return verdictOf(xformRows, sName, sValue);
}
