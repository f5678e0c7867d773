#pragma once
// The page's lesson (?lesson): the frame of the "How it works" page, live. The page's script
// (platform/web/lesson.js) sets what is shown through the functions below, which the page calls
// as Module._lessonSeek and so on; the frame loop draws the chosen view of the frame it stopped
// on, and the user steers the camera, paused or playing.

// Starts the lesson's frame loop in place of the show's; the scene must be initialised.
void runLesson();

extern "C" {
// Replays the script from its start with the driven clock at `framesPerSecond`, without
// drawing, up to the last frame of `second` (0 .. REPLAY_LAST_SECOND), and stops there.
void lessonSeek(int second, int framesPerSecond);
// 1: the script runs on, one frame per page frame, at the rate of the last seek; 0: it stands.
void lessonPlay(int playing);
// A PassView (render/passViews.h).
void lessonShowView(int view);
// The shadow program's setting: the bias times `biasScale` (0 .. 4, in steps of 0.25), one tap
// when `oneTap` is 1, the 4 x 4 grid when 0.
void lessonShadows(double biasScale, int oneTap);
// 1: the light's frustum over the camera's views, the camera's footprint over the depth map.
void lessonLines(int on);
// The script second of the frame shown.
int lessonSecond();
// The strips' crop for the frame shown (render/passViewGeometry.h: stripCrop): coordinate 0 its
// left column, 1 its bottom row, in window pixels.
int lessonCropCorner(int coordinate);
}
