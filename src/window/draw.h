#pragma once

// The picture drawn into the window with GL: one pixel rectangle from the lower-left corner.

class screen;

// Every pixel of the picture in its colour, eight bits a channel; a picture not yet coloured is
// black.
void drawScreen(const screen& picture);
