#pragma once

// The whole per-frame work; registered as display and idle callback.
void displayFrame();
