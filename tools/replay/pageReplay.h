#pragma once
// The page's replay mode (?mode=replay), the browser's twin of this folder's replay tool: the
// script at a steady 25 frames a second through the driven clock, each second's shot shrunk as
// the tool keeps its references and handed to the page (Module.onShot), then
// Module.onReplayDone. Needs the demo started and its window reshaped.
void runPageReplay();
