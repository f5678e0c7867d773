#pragma once

void displayFrame();
