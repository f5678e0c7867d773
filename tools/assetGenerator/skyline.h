#pragma once
// Mesas and buttes ringing the horizon, part of the desert model.
#include "modelMesh.h"

// Adds the landforms to a world-frame mesh (+y up), each sunk into the sand where it stands.
void addSkyline(ModelMesh& world);
