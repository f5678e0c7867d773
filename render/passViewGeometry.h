#pragma once
// Where things of the scene land in the pass views: through the light's projection into the depth
// view, through the camera's into the window.

// Where a world point lands in the depth view: x right, y up, in window pixels (the depth view is
// the whole map shown in the window); false when it lies behind the light.
bool depthViewPoint(const float world[3], double out[2]);
// The camera's footprint in the depth view: the eye, then the four far corners of its view
// frustum cut off FOOTPRINT_DISTANCE in front of it (lower left, lower right, upper right, upper
// left); false when one of them lies behind the light.
const double FOOTPRINT_DISTANCE = 300.0; // units from the eye
bool cameraFootprint(double out[5][2]);

// The strips' close crop, in window pixels: CROP_WIDTH x CROP_HEIGHT centred on the girl's feet.
const int CROP_WIDTH = 136, CROP_HEIGHT = 102;
// The crop's lower left corner in window pixels (bottom row 0): centred on the point, kept inside
// the window.
void cropCorner(double centreX, double centreY, int windowW, int windowH, int& x, int& y);
// Where the camera shows a world point: window pixels, bottom row 0; false behind the eye.
bool windowPoint(const float world[3], double out[2]);
// The crop's corner for the scene as it stands, around the girl's feet (her object's origin).
void stripCrop(const float feet[3], int& x, int& y);
