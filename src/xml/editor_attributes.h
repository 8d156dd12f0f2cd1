#pragma once

// What the flame editors (Apophysis, Fractorium, JWildfire, the Houdini editor, flam3-genome)
// write beside what is drawn here, each attribute by its meaning: known not to change a still
// picture (names, editor state, animation, render settings of no visible effect), read without a
// word; or changing the picture in a way this program does not draw, accepted only at the value
// that changes nothing (a contrast of 1, a symmetry of type NONE). What neither
// table knows is unknown: on a <flame> ignored, as flam3 ignores it; on an xform, a variation
// this program does not draw.

enum EEditorAttribute {
    eUnknownAttribute,
    eNoEffect,      // read without a word
    eNeutral,       // would change the picture, but its value changes nothing
    eNotDrawn,      // changes the picture in a way not drawn here
};

EEditorAttribute flameEditorAttribute(const char* sName, const char* sValue);
EEditorAttribute xformEditorAttribute(const char* sName, const char* sValue);

// Two the editors write that are drawn here, folded into the genome as it is read (a genome
// written back draws the same without them); each true for a value drawn here, which the tables
// accept. JWildfire's camera zoom, above 0, enlarges as the scale does. The Houdini editor keeps
// its palette as chosen and its HSV adjustment beside it: saturation and value multipliers, at
// least 0, drawn with a hue of 1 (unchanged).
bool cameraZoomOf(const char* sValue, double& dZoom);
bool paletteAdjustmentOf(const char* sValue, double& dSaturation, double& dValue);
