#pragma once

const int ANGLE_STEPS = 3600;

extern float sinTable[ANGLE_STEPS];
extern float cosTable[ANGLE_STEPS];

void buildAngleTables();
