#pragma once
// The page's bench mode (?mode=bench), the browser's twin of frameBench's stage times: the
// frame's stages at the start view without the script, glFinish between them, median of the
// measured frames handed to the page (Module.onBench). Needs the demo started and its window
// reshaped; runs in the browser's frame loop.
void runPageBench();
