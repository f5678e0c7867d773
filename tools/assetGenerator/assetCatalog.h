#pragma once
// Every file the generator writes under res/, and the function that makes it.
#include "modelMesh.h"
#include "image.h"

// Scenery, authored z up (turned upright by their rows' 2700 turn about x).
void buildDesertModel(ModelMesh& mesh);
void buildRockModel(ModelMesh& mesh);
void buildBigRockModel(ModelMesh& mesh);
void buildWagonModel(ModelMesh& mesh);
void buildHouseModel(ModelMesh& mesh);
void buildFenceModel(ModelMesh& mesh);
void buildLyreModel(ModelMesh& mesh);
// Authored y up.
void buildCactusModel(ModelMesh& mesh);
void buildRakeModel(ModelMesh& mesh);
void buildGirlModel(ModelMesh& mesh);
void buildGuyModel(ModelMesh& mesh);
void buildHeroModel(ModelMesh& mesh);
void buildCockatooModel(ModelMesh& mesh);

void paintDesertTexture(Image& image);
void paintRockTexture(Image& image);
void paintWoodTexture(Image& image);
void paintGirlTexture(Image& image);
void paintGuyTexture(Image& image);
void paintHeroTexture(Image& image);
void paintCactusTexture(Image& image);
void paintPlanksTexture(Image& image);
void paintHouseRoofTexture(Image& image);
void paintFenceTexture(Image& image);
void paintCockatooTexture(Image& image);
void paintLyreTexture(Image& image);

void paintParticleMask(Image& image);
void paintParticleGlow(Image& image);
