#pragma once

// What the flame editors (Apophysis, Fractorium, JWildfire, the Houdini editor, flam3-genome)
// write beside what is drawn here, each attribute by its meaning: known not to change a still
// picture (names, editor state, animation, render settings of no visible effect), read without a
// word; or changing the picture in a way this program does not draw, accepted only at the value
// that changes nothing (a curve that is the identity, a symmetry of type NONE). What neither
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
