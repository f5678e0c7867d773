// modelCounts [--fit VERTICES POLYGONS] FILE.3ds...: each model's vertex and polygon counts, read
// by the demo's own loader at the desktop's capacities. With --fit it ends with status 1, naming
// the model, when one holds more than the given capacities: the web build's check that its
// smaller object table takes every packed model.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scene/load3ds.h"
#include "scene/sceneStore.h"

static SceneObject model; // one at a time; static, it is large

int main(int argc, char** argv) {
    long mostVertices = -1, mostPolygons = -1;
    int first = 1;
    if (argc > 3 && strcmp(argv[1], "--fit") == 0) {
        mostVertices = strtol(argv[2], nullptr, 10);
        mostPolygons = strtol(argv[3], nullptr, 10);
        first = 4;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: modelCounts [--fit VERTICES POLYGONS] FILE.3ds...\n");
        return 2;
    }
    int over = 0, largestVertices = 0, largestPolygons = 0;
    for (int i = first; i < argc; i++) {
        memset(&model, 0, sizeof model);
        if (!load3dsFile(&model, argv[i])) {
            fprintf(stderr, "modelCounts: cannot read %s\n", argv[i]);
            return 2;
        }
        bool fits = mostVertices < 0 ||
                    (model.vertexCount <= mostVertices && model.polygonCount <= mostPolygons);
        printf("%s: %d vertices, %d polygons%s\n", argv[i], model.vertexCount, model.polygonCount,
               fits ? "" : "  OVER THE WEB CAPACITY");
        if (!fits) // the build's log shows this even where the counts go to a file
            fprintf(stderr, "modelCounts: %s has %d vertices and %d polygons, over %ld and %ld\n",
                    argv[i], model.vertexCount, model.polygonCount, mostVertices, mostPolygons);
        over += !fits;
        if (model.vertexCount > largestVertices)
            largestVertices = model.vertexCount;
        if (model.polygonCount > largestPolygons)
            largestPolygons = model.polygonCount;
    }
    printf("largest: %d vertices, %d polygons\n", largestVertices, largestPolygons);
    if (over)
        fprintf(stderr, "modelCounts: %d model(s) over %ld vertices or %ld polygons\n", over,
                mostVertices, mostPolygons);
    return over ? 1 : 0;
}
